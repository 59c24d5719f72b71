#include "ui/common/KeyedComboBox.h"

#include "db/DbError.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboModel.h"

KeyedComboBox::KeyedComboBox(QWidget* parent) : QComboBox(parent), m_items(new KeyedComboModel(this)) {
    // The box deletes the item model it made itself when it is given another.
    setModel(m_items);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

int KeyedComboBox::shownIndex(int row) const {
    // A kept item not taken yet is not the box's item for now.
    return m_keeping && row >= m_keptTaken ? -1 : row;
}

int KeyedComboBox::indexOfKey(const QString& key) const {
    return shownIndex(m_index.value(key, -1));
}

int KeyedComboBox::indexOfKey(const PackedKey& key) const {
    return shownIndex(m_index.value(key, -1));
}

void KeyedComboBox::addKeyed(const QString& key, const QString& text, const QVariant& tag) {
    // The key is read once, for the index and the model alike.
    add(key, PackedKey::from(key), text, tag);
}

void KeyedComboBox::addKeyed(const PackedKey& key, const QString& text, const QVariant& tag) {
    add(QString(), key, text, tag);
}

void KeyedComboBox::add(const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                        const QVariant& tag) {
    if (m_keeping && takeKept(key, packed, text, tag))
        return;
    if (m_index.contains(key, packed))
        throw db::DbError(db::DbError::KeyNotUnique, QStringLiteral("Key is not unique in collection"), objectName());
    // Text, key and tag arrive together, so the model announces the item once; during a fill
    // the items are announced together by endFill().
    m_index.insert(key, packed, m_items->size());
    m_items->stage(key, packed, text, tag);
    if (!m_filling)
        m_items->show();
}

bool KeyedComboBox::takeKept(const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                             const QVariant& tag) {
    // Only the kept items from the first on are taken: once one differs, the fill adds anew.
    if (m_keptTaken < m_items->size() && m_items->sameItem(m_keptTaken, key, packed, text, tag)) {
        ++m_keptTaken;
        return true;
    }
    dropUntaken();
    return false;
}

void KeyedComboBox::dropUntaken() {
    m_keeping = false;
    const int count = m_items->size() - m_keptTaken;
    if (count <= 0)
        return;
    for (int row = m_keptTaken; row < m_items->size(); ++row)
        m_index.remove(m_items->keyAt(row));
    m_items->removeRows(m_keptTaken, count);
}

void KeyedComboBox::beginFill() {
    m_filling = true;
}

void KeyedComboBox::endFill() {
    m_filling = false;
    if (m_keeping)
        dropUntaken();
    m_items->show();
    // The lists grew item by item to what the fill read: the room beyond it goes.
    m_items->squeeze();
}

void KeyedComboBox::selectKey(const QString& key) {
    const int row = m_index.value(key, -1);
    if (row < 0)
        throw db::DbError(db::DbError::KeyNotFound, QStringLiteral("Element not found"), objectName());
    setCurrentIndex(row);
}

void KeyedComboBox::clearSelection() {
    setCurrentIndex(-1);
    setEditText(QString());
}

void KeyedComboBox::clearKeyed() {
    // Items staged by a fill that never ended are no one's.
    for (int row = m_items->rowCount(); row < m_items->size(); ++row)
        m_index.remove(m_items->keyAt(row));
    m_items->dropStaged();
    if (m_filling && !m_keeping && m_items->size() > 0) {
        m_keeping = true;
        m_keptTaken = 0;
        return;
    }
    if (m_keeping) {
        m_keptTaken = 0;
        dropUntaken();
    }
    m_index.clear();
    clear();
}

QString KeyedComboBox::selectedKey() const {
    return currentIndex() < 0 ? QString() : itemData(currentIndex(), common::KeyRole).toString();
}

QVariant KeyedComboBox::selectedTag() const {
    return currentIndex() < 0 ? QVariant() : itemData(currentIndex(), common::TagRole);
}

void KeyedComboBox::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}
