#include "ui/common/KeyedComboBox.h"

#include "db/DbError.h"
#include "ui/common/ItemRoles.h"

#include <QLineEdit>

KeyedComboBox::KeyedComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void KeyedComboBox::addKeyed(const QString& key, const QString& text, const QVariant& tag) {
    if (m_index.contains(key))
        throw db::DbError(db::DbError::KeyNotUnique, QStringLiteral("Key is not unique in collection"),
                          objectName());
    const int row = count();
    addItem(text);
    setItemData(row, key, ItemRoles::Key);
    setItemData(row, tag, ItemRoles::Tag);
    m_index.insert(key, row);
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
    clear();
}

QString KeyedComboBox::selectedKey() const {
    return currentIndex() < 0 ? QString() : itemData(currentIndex(), ItemRoles::Key).toString();
}

QVariant KeyedComboBox::selectedTag() const {
    return currentIndex() < 0 ? QVariant() : itemData(currentIndex(), ItemRoles::Tag);
}

void KeyedComboBox::showPopup() {
    emit dropDown();
    QComboBox::showPopup();
}
