#pragma once

#include "ui/common/KeyIndex.h"

#include <QComboBox>
#include <QHash>
#include <QString>
#include <QVariant>

class KeyedComboModel;

// An editable (image) combo box whose items are found by key through a hash. Each item keeps
// its key and tag in the roles of ItemRoles.h, in a KeyedComboModel.
class KeyedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit KeyedComboBox(QWidget* parent = nullptr);

    // Adds an item at the end; raises KeyNotUnique when the key is taken.
    void addKeyed(const QString& key, const QString& text, const QVariant& tag);
    // The same for a key of a common shape given as its numbers.
    void addKeyed(const PackedKey& key, const QString& text, const QVariant& tag);
    // The index of the item with key, or -1.
    int indexOfKey(const QString& key) const;
    int indexOfKey(const PackedKey& key) const;
    // Selects the item with key (showing its text); raises KeyNotFound when there is none.
    void selectKey(const QString& key);
    // No selected item and an empty text.
    void clearSelection();
    // Removes every item. During a fill the items are kept out of reach instead: a fill that adds
    // the same keys, texts and tags in the same order from the first on takes them again, so the
    // box's items do not change at all (a refresh mostly finds what the box showed), and endFill()
    // removes those it did not take.
    void clearKeyed();

    // Items added between beginFill() and endFill() are shown together at endFill().
    void beginFill();
    void endFill();

    QString selectedKey() const;
    QVariant selectedTag() const;

signals:
    // Raised when the drop-down list is about to open.
    void dropDown();

protected:
    void showPopup() override;

private:
    // Adds the item of the key, given as numbers when packed is set (PackedKey::from(key)).
    void add(const QString& key, const std::optional<PackedKey>& packed, const QString& text, const QVariant& tag);
    // The index the hash gives for a key, or -1, as indexOfKey tells it.
    int shownIndex(int row) const;
    // Takes the kept item at the next position when it is the one added; false when it is not,
    // and then removes it and every kept item after it.
    bool takeKept(const QString& key, const std::optional<PackedKey>& packed, const QString& text, const QVariant& tag);
    void dropUntaken();

    KeyedComboModel* m_items;
    KeyIndex<int> m_index;
    bool m_filling = false;
    bool m_keeping = false;
    int m_keptTaken = 0; // while keeping: the items from here on are kept, not yet taken
};
