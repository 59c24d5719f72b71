#include "ui/common/KeyedComboModel.h"

#include "ui/common/ItemRoles.h"

KeyedComboModel::KeyedComboModel(QObject* parent) : QAbstractListModel(parent) {}

KeyedComboModel::Key KeyedComboModel::stored(const QString& key) {
    if (const std::optional<PackedKey> packed = PackedKey::from(key))
        return *packed;
    return key;
}

QString KeyedComboModel::textOf(const Key& key) {
    if (const PackedKey* packed = std::get_if<PackedKey>(&key))
        return packed->text();
    return std::get<QString>(key);
}

void KeyedComboModel::stage(const QString& key, const QString& text, const QVariant& tag) {
    m_texts.append(text);
    m_keys.append(stored(key));
    m_tags.append(tag);
}

void KeyedComboModel::show() {
    if (size() == m_shown)
        return;
    beginInsertRows(QModelIndex(), m_shown, size() - 1);
    m_shown = size();
    endInsertRows();
}

void KeyedComboModel::dropStaged() {
    m_texts.resize(m_shown);
    m_keys.resize(m_shown);
    m_tags.resize(m_shown);
}

int KeyedComboModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shown;
}

QVariant KeyedComboModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_shown)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_texts.at(index.row());
    case common::KeyRole:
        return textOf(m_keys.at(index.row()));
    case common::TagRole:
        return m_tags.at(index.row());
    default:
        return QVariant();
    }
}

bool KeyedComboModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= m_shown)
        return false;
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        m_texts[row] = value.toString();
        break;
    case common::KeyRole:
        m_keys[row] = stored(value.toString());
        break;
    case common::TagRole:
        m_tags[row] = value;
        break;
    default:
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

bool KeyedComboModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > m_shown || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    m_texts.insert(row, count, QString());
    m_keys.insert(row, count, Key(QString()));
    m_tags.insert(row, count, QVariant());
    m_shown += count;
    endInsertRows();
    return true;
}

bool KeyedComboModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_shown)
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_texts.remove(row, count);
    m_keys.remove(row, count);
    m_tags.remove(row, count);
    m_shown -= count;
    endRemoveRows();
    return true;
}
