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

void KeyedComboBox::addKeyed(const QString& key, const QString& text, const QVariant& tag) {
    if (m_index.contains(key))
        throw db::DbError(db::DbError::KeyNotUnique, QStringLiteral("Key is not unique in collection"), objectName());
    // Text, key and tag arrive together, so the model announces the item once; during a fill
    // the items are announced together by endFill().
    m_index.insert(key, m_items->size());
    m_items->stage(key, text, tag);
    if (!m_filling)
        m_items->show();
}

void KeyedComboBox::beginFill() {
    m_filling = true;
}

void KeyedComboBox::endFill() {
    m_filling = false;
    m_items->show();
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
    m_index.clear();
    m_items->dropStaged();
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
