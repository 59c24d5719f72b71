#pragma once

#include "ui/common/PackedKey.h"

#include <QHash>
#include <QString>

// Values found by list key through a hash. Keys of the common shapes (PackedKey) are held as
// numbers, any other key as its text; a key is found the same way whichever it is. The commonest
// shape, a letter and one number ("k17"), is held in a hash of its own as one 64-bit number: its
// entries take two thirds of the room of the others, and a list holds 100,000 of them.
template <typename T> class KeyIndex {
public:
    T value(const QString& key, T none) const {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            return value(*packed, none);
        return m_named.value(key, none);
    }
    T value(const PackedKey& key, T none) const {
        return single(key) ? m_single.value(code(key), none) : m_packed.value(key, none);
    }
    bool contains(const QString& key) const {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            return contains(*packed);
        return m_named.contains(key);
    }
    bool contains(const PackedKey& key) const {
        return single(key) ? m_single.contains(code(key)) : m_packed.contains(key);
    }
    void insert(const QString& key, T value) {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            insert(*packed, value);
        else
            m_named.insert(key, value);
    }
    void remove(const QString& key) {
        if (const std::optional<PackedKey> packed = PackedKey::from(key))
            remove(*packed);
        else
            m_named.remove(key);
    }
    // The same for a key read already: packed is PackedKey::from(key) (key may then be empty).
    bool contains(const QString& key, const std::optional<PackedKey>& packed) const {
        return packed ? contains(*packed) : m_named.contains(key);
    }
    void insert(const QString& key, const std::optional<PackedKey>& packed, T value) {
        if (packed)
            insert(*packed, value);
        else
            m_named.insert(key, value);
    }
    // The same for a key held as numbers already.
    void insert(const PackedKey& key, T value) {
        if (single(key))
            m_single.insert(code(key), value);
        else
            m_packed.insert(key, value);
    }
    void remove(const PackedKey& key) {
        if (single(key))
            m_single.remove(code(key));
        else
            m_packed.remove(key);
    }

    qsizetype size() const { return m_single.size() + m_packed.size() + m_named.size(); }
    // Removes every key; keepRoom: each hash keeps room for as many keys as it held, as a list
    // filled again mostly holds about as many of each shape.
    void clear(bool keepRoom = false) {
        const qsizetype singles = m_single.size();
        const qsizetype packed = m_packed.size();
        m_single.clear();
        m_packed.clear();
        m_named.clear();
        if (!keepRoom)
            return;
        m_single.reserve(singles);
        m_packed.reserve(packed);
    }

private:
    static bool single(const PackedKey& key) { return key.count == 1; }
    static quint64 code(const PackedKey& key) { return (quint64(key.prefix) << 32) | quint32(key.numbers[0]); }

    QHash<quint64, T> m_single;
    QHash<PackedKey, T> m_packed;
    QHash<QString, T> m_named;
};
