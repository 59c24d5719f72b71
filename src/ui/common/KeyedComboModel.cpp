#include "ui/common/KeyedComboModel.h"

#include "ui/common/ItemRoles.h"

KeyedComboModel::KeyedComboModel(QObject* parent) : QAbstractListModel(parent) {}

KeyedComboModel::Key KeyedComboModel::stored(const QString& key) {
    return stored(key, PackedKey::from(key));
}

KeyedComboModel::Key KeyedComboModel::stored(const QString& key, const std::optional<PackedKey>& packed) {
    if (packed)
        return *packed;
    return key;
}

QString KeyedComboModel::textOf(const Key& key) {
    if (const PackedKey* packed = std::get_if<PackedKey>(&key))
        return packed->text();
    return std::get<QString>(key);
}

PackedKey KeyedComboModel::keyOfTag(int tag) {
    PackedKey key;
    key.prefix = u'k';
    key.count = 1;
    key.numbers[0] = tag;
    return key;
}

KeyedComboModel::Key KeyedComboModel::storedKeyAt(int row) const {
    return m_holdKeys ? m_keys.at(row) : Key(keyOfTag(m_intTags.at(row)));
}

QVariant KeyedComboModel::tagAt(int row) const {
    return m_holdTags ? m_tags.at(row) : QVariant(m_intTags.at(row));
}

QString KeyedComboModel::keyAt(int row) const {
    return textOf(storedKeyAt(row));
}

bool KeyedComboModel::sameItem(int row, const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                               const QVariant& tag) const {
    return m_texts.at(row) == text && tagAt(row) == tag && storedKeyAt(row) == stored(key, packed);
}

void KeyedComboModel::holdKeys() {
    if (m_holdKeys)
        return;
    m_keys.reserve(m_intTags.capacity());
    for (const int tag : std::as_const(m_intTags))
        m_keys.emplaceBack(std::in_place_type<PackedKey>, keyOfTag(tag));
    m_holdKeys = true;
}

void KeyedComboModel::holdTags() {
    if (m_holdTags)
        return;
    // The keys are made from the int tags: they are held before the tags change.
    holdKeys();
    m_tags.reserve(m_intTags.capacity());
    for (const int tag : std::as_const(m_intTags))
        m_tags.append(tag);
    m_intTags = QList<int>();
    m_holdTags = true;
}

void KeyedComboModel::store(int row, const Key& key, const QVariant& tag) {
    const bool intTag = tag.userType() == QMetaType::Int;
    if (!intTag)
        holdTags();
    if (!(intTag && key == Key(keyOfTag(tag.toInt()))))
        holdKeys();
    if (m_holdTags)
        m_tags[row] = tag;
    else
        m_intTags[row] = tag.toInt();
    if (m_holdKeys)
        m_keys[row] = key;
}

void KeyedComboModel::compactWhenEmpty() {
    if (!m_texts.isEmpty())
        return;
    m_intTags = QList<int>();
    m_tags = QList<QVariant>();
    m_keys = QList<Key>();
    m_holdTags = false;
    m_holdKeys = false;
}

void KeyedComboModel::stage(const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                            const QVariant& tag) {
    m_texts.append(text);
    if (m_holdTags)
        m_tags.append(QVariant());
    else
        m_intTags.append(0);
    if (m_holdKeys)
        m_keys.append(Key());
    store(size() - 1, stored(key, packed), tag);
}

void KeyedComboModel::show() {
    if (size() == m_shown)
        return;
    beginInsertRows(QModelIndex(), m_shown, size() - 1);
    m_shown = size();
    endInsertRows();
}

void KeyedComboModel::squeeze() {
    m_texts.squeeze();
    m_intTags.squeeze();
    m_tags.squeeze();
    m_keys.squeeze();
}

void KeyedComboModel::dropStaged() {
    m_texts.truncate(m_shown);
    if (m_holdTags)
        m_tags.resize(m_shown);
    else
        m_intTags.resize(m_shown);
    if (m_holdKeys)
        m_keys.resize(m_shown);
    compactWhenEmpty();
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
        return m_texts.at(index.row()).toString();
    case common::KeyRole:
        return keyAt(index.row());
    case common::TagRole:
        return tagAt(index.row());
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
        m_texts.replace(row, value.toString());
        break;
    case common::KeyRole:
        store(row, stored(value.toString()), tagAt(row));
        break;
    case common::TagRole:
        store(row, storedKeyAt(row), value);
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
    // The rows have no tag and an empty key, which is no int tag's key.
    holdTags();
    beginInsertRows(parent, row, row + count - 1);
    m_texts.insertEmpty(row, count);
    m_tags.insert(row, count, QVariant());
    m_keys.insert(row, count, Key(QString()));
    m_shown += count;
    endInsertRows();
    return true;
}

bool KeyedComboModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_shown)
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_texts.remove(row, count);
    if (m_holdTags)
        m_tags.remove(row, count);
    else
        m_intTags.remove(row, count);
    if (m_holdKeys)
        m_keys.remove(row, count);
    m_shown -= count;
    compactWhenEmpty();
    endRemoveRows();
    return true;
}
