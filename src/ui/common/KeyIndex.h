#pragma once

#include "ui/common/PackedKey.h"

#include <QHash>
#include <QString>

// Values found by list key through a hash. Keys of the common shapes (PackedKey) are held as
// numbers, any other key as its text; a key is found the same way whichever it is.
template <typename T> class KeyIndex {
public:
    T value(const QString& key, T none) const {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            return m_packed.value(*packed, none);
        return m_named.value(key, none);
    }
    bool contains(const QString& key) const {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            return m_packed.contains(*packed);
        return m_named.contains(key);
    }
    void insert(const QString& key, T value) {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            m_packed.insert(*packed, value);
        else
            m_named.insert(key, value);
    }
    void remove(const QString& key) {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            m_packed.remove(*packed);
        else
            m_named.remove(key);
    }
    // The same for a key held as numbers already.
    void insert(const PackedKey& key, T value) { m_packed.insert(key, value); }
    void remove(const PackedKey& key) { m_packed.remove(key); }

    qsizetype size() const { return m_packed.size() + m_named.size(); }
    void clear() {
        m_packed.clear();
        m_named.clear();
    }
    // Room for count keys of the common shapes.
    void reserve(qsizetype count) { m_packed.reserve(count); }

private:
    QHash<PackedKey, T> m_packed;
    QHash<QString, T> m_named;
};
