#include "ui/common/KeyedComboBox.h"

#include "db/DbError.h"
#include "ui/common/ItemRoles.h"

#include <QStandardItemModel>
#include <utility>

KeyedComboBox::KeyedComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

KeyedComboBox::~KeyedComboBox() {
    qDeleteAll(m_pending);
}

void KeyedComboBox::addKeyed(const QString& key, const QString& text, const QVariant& tag) {
    if (m_index.contains(key))
        throw db::DbError(db::DbError::KeyNotUnique, QStringLiteral("Key is not unique in collection"), objectName());
    // One item carries text, key and tag, so the model announces it once; during a fill the
    // items are added together by endFill().
    auto* item = new QStandardItem(text);
    item->setData(key, common::KeyRole);
    item->setData(tag, common::TagRole);
    m_index.insert(key, count() + static_cast<int>(m_pending.size()));
    if (m_filling)
        m_pending.append(item);
    else
        standardModel()->appendRow(item);
}

void KeyedComboBox::beginFill() {
    m_filling = true;
}

void KeyedComboBox::endFill() {
    m_filling = false;
    if (m_pending.isEmpty())
        return;
    const QList<QStandardItem*> items = std::exchange(m_pending, {});
    standardModel()->invisibleRootItem()->appendRows(items);
}

QStandardItemModel* KeyedComboBox::standardModel() const {
    return static_cast<QStandardItemModel*>(model());
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
    qDeleteAll(std::exchange(m_pending, {}));
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
