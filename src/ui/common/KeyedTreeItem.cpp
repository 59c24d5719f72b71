#include "ui/common/KeyedTreeItem.h"

#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeWidget.h"

#include <QFont>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

namespace {

template <typename T> bool assign(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

// Icons have no equality; copies of one icon share its cache key.
bool assignIcon(QIcon& field, const QIcon& icon) {
    if (field.cacheKey() == icon.cacheKey())
        return false;
    field = icon;
    return true;
}

QFont boldFont() {
    QFont font;
    font.setBold(true);
    return font;
}

// Bold and nothing else: what setBold() keeps as a flag (the view's font, made bold).
bool isPlainBold(const QVariant& value) {
    if (value.userType() != QMetaType::QFont)
        return false;
    const QFont font = value.value<QFont>();
    return font.resolveMask() == QFont::WeightResolved && font.weight() == QFont::Bold;
}

// The most columns an item holds texts for; a list shows a few.
constexpr int MaxColumns = 32;
// The characters that hold the length of one column's text in a joined string.
constexpr qsizetype LengthChars = 2;

qsizetype lengthAt(const QString& joined, int column) {
    const QChar* length = joined.constData() + column * LengthChars;
    return qsizetype(length[0].unicode()) | (qsizetype(length[1].unicode()) << 16);
}

} // namespace

// A list item is 96 bytes of QTreeWidgetItem and these fields: at 152 bytes it takes a 160-byte
// block of the allocator rather than a 176-byte one, for each of 100,000s of items.
static_assert(sizeof(KeyedTreeItem) <= 152);

KeyedTreeItem::KeyedTreeItem(const QString& key, const QString& text) : QTreeWidgetItem(Type), m_text(text) {
    if (const std::optional<PackedKey> packed = PackedKey::from(key)) {
        m_packedKey = *packed;
        m_keyPacked = true;
    } else {
        m_textKey = new QString(key);
    }
}

KeyedTreeItem::KeyedTreeItem(const PackedKey& key, const QString& text)
    : QTreeWidgetItem(Type), m_text(text), m_packedKey(key), m_keyPacked(true) {}

KeyedTreeItem::~KeyedTreeItem() {
    destroyKey();
}

void KeyedTreeItem::destroyKey() {
    if (!m_keyPacked)
        delete m_textKey;
}

bool KeyedTreeItem::storeKey(const QString& key) {
    const std::optional<PackedKey> packed = PackedKey::from(key);
    if (hasKey(key, packed))
        return false;
    // The new key is made before the old one goes, so that a failed allocation leaves the old.
    QString* text = packed ? nullptr : new QString(key);
    destroyKey();
    if (packed)
        m_packedKey = *packed;
    else
        m_textKey = text;
    m_keyPacked = packed.has_value();
    return true;
}

void KeyedTreeItem::announce(int column, int role, int alsoRole) const {
    const QTreeWidget* view = treeWidget();
    if (!view)
        return;
    // QTreeWidgetItem::emitDataChanged() spans the columns QTreeWidgetItem holds values for,
    // which are none here; the view would then neither re-sort nor repaint just this row.
    QAbstractItemModel* model = view->model();
    // Finding the item's row costs a search; a model that tells no one needs none.
    if (model->signalsBlocked())
        return;
    QList<int> roles{role};
    if (role == Qt::DisplayRole)
        roles.append(Qt::EditRole);
    if (alsoRole >= 0)
        roles.append(alsoRole);
    QModelIndex index = view->indexFromItem(this, column);
    emit model->dataChanged(index, index, roles);
    if (role != Qt::CheckStateRole)
        return;
    for (const QTreeWidgetItem* up = parent(); up && (up->flags() & Qt::ItemIsAutoTristate); up = up->parent()) {
        index = view->indexFromItem(up, column);
        emit model->dataChanged(index, index, roles);
    }
}

QVariant KeyedTreeItem::tag() const {
    switch (m_tagKind) {
    case IntTag:
        return m_intTag;
    case OtherTag:
        return QTreeWidgetItem::data(0, common::TagRole);
    default:
        return QVariant();
    }
}

bool KeyedTreeItem::storeTag(const QVariant& tag) {
    if (tag.userType() == QMetaType::Int || !tag.isValid()) {
        const int number = tag.isValid() ? tag.toInt() : 0;
        const quint8 kind = tag.isValid() ? IntTag : NoTag;
        if (m_tagKind == OtherTag)
            QTreeWidgetItem::setData(0, common::TagRole, QVariant());
        else if (m_tagKind == kind && m_intTag == number)
            return false;
        m_tagKind = kind;
        m_intTag = number;
        return true;
    }
    if (m_tagKind == OtherTag && QTreeWidgetItem::data(0, common::TagRole) == tag)
        return false;
    m_tagKind = OtherTag;
    QTreeWidgetItem::setData(0, common::TagRole, tag);
    return false;
}

void KeyedTreeItem::setTag(const QVariant& tag) {
    if (storeTag(tag))
        announce(0, common::TagRole);
}

QStringView KeyedTreeItem::textAt(int column) const {
    if (m_columns == 0)
        return column == 0 ? QStringView(m_text) : QStringView();
    if (column < 0 || column >= m_columns)
        return {};
    qsizetype start = (m_columns - 1) * LengthChars;
    for (int c = 0; c < column; ++c)
        start += lengthAt(m_text, c);
    const qsizetype length = column == m_columns - 1 ? m_text.size() - start : lengthAt(m_text, column);
    return QStringView(m_text).sliced(start, length);
}

void KeyedTreeItem::setIcon(const QIcon& icon) {
    if (assignIcon(m_icon, icon))
        announce(0, Qt::DecorationRole);
}

void KeyedTreeItem::setImage(int index, const QIcon& icon) {
    const bool newImage = assign(m_image, qint16(index));
    if (assignIcon(m_icon, icon) || newImage)
        announce(0, Qt::DecorationRole, common::ImageRole);
}

void KeyedTreeItem::setBold(bool bold) {
    if (m_bold == bold)
        return;
    m_bold = bold;
    announce(0, Qt::FontRole);
}

bool KeyedTreeItem::storeText(int column, const QString& text) {
    // A single text is held as it is given, shared with the caller's copy.
    if (column == 0 && m_columns == 0)
        return assign(m_text, text);
    if (column >= MaxColumns)
        return false;
    QStringView texts[MaxColumns];
    const int count = qMax(columnsHeld(), column + 1);
    for (int c = 0; c < count; ++c)
        texts[c] = textAt(c);
    texts[column] = text;
    return storeTexts(texts, count);
}

bool KeyedTreeItem::storeTexts(QStringView* texts, qsizetype count) {
    // Empty texts after the last column that has one take no room.
    while (count > 1 && texts[count - 1].isEmpty())
        --count;
    count = qMin(count, qsizetype(MaxColumns));
    bool same = count == columnsHeld();
    for (int c = 0; c < count && same; ++c)
        same = textAt(c) == texts[c];
    if (same)
        return false;
    if (count <= 1) {
        m_text = count == 0 ? QString() : texts[0].toString();
        m_columns = 0;
        return true;
    }
    qsizetype size = (count - 1) * LengthChars;
    for (qsizetype c = 0; c < count; ++c)
        size += texts[c].size();
    QString joined(size, Qt::Uninitialized);
    QChar* out = joined.data();
    for (qsizetype c = 0; c + 1 < count; ++c) {
        const quint32 length = quint32(texts[c].size());
        *out++ = QChar(char16_t(length & 0xFFFF));
        *out++ = QChar(char16_t(length >> 16));
    }
    for (qsizetype c = 0; c < count; ++c)
        out = std::copy(texts[c].begin(), texts[c].end(), out);
    // The views may point into the texts held until now: they are let go only once copied.
    m_text = std::move(joined);
    m_columns = quint8(count);
    return true;
}

void KeyedTreeItem::setTexts(std::initializer_list<QStringView> texts) {
    QStringView all[MaxColumns];
    const int before = columnsHeld();
    const qsizetype count = qMin(qsizetype(texts.size()), qsizetype(MaxColumns));
    std::copy_n(texts.begin(), count, all);
    if (!storeTexts(all, count))
        return;
    ++s_textChanges;
    for (int c = 0; c < qMax(qsizetype(before), count); ++c)
        announce(c, Qt::DisplayRole);
}

void KeyedTreeItem::setFontRole(const QVariant& value) {
    const bool bold = isPlainBold(value);
    const bool wasBold = m_bold;
    m_bold = bold;
    if (bold) {
        if (!wasBold)
            announce(0, Qt::FontRole);
        return;
    }
    QTreeWidgetItem::setData(0, Qt::FontRole, value);
    if (wasBold)
        announce(0, Qt::FontRole);
}

QVariant KeyedTreeItem::data(int column, int role) const {
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (m_columns == 0)
            return column == 0 ? QVariant(m_text) : QVariant();
        return column >= 0 && column < m_columns ? QVariant(textAt(column).toString()) : QVariant();
    }
    if (column == 0) {
        switch (role) {
        case common::KeyRole:
            return key();
        case common::TagRole:
            return tag();
        case common::ImageRole:
            return m_image < 0 ? QVariant() : QVariant(int(m_image));
        case Qt::CheckStateRole:
            // An automatic tristate box is worked out from the children by QTreeWidgetItem.
            if (!(flags() & Qt::ItemIsAutoTristate))
                return m_check == 0 ? QVariant() : QVariant(checkState());
            break;
        case Qt::DecorationRole:
            if (!m_icon.isNull())
                return m_icon;
            break;
        case Qt::FontRole:
            if (m_bold)
                return boldFont();
            break;
        default:
            break;
        }
    }
    return QTreeWidgetItem::data(column, role);
}

void KeyedTreeItem::setData(int column, int role, const QVariant& value) {
    if (column < 0)
        return;
    bool changed = false;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        changed = storeText(column, value.toString());
        if (changed)
            ++s_textChanges;
    } else if (column != 0) {
        QTreeWidgetItem::setData(column, role, value);
    } else if (role == common::KeyRole) {
        changed = storeKey(value.toString());
    } else if (role == common::TagRole) {
        changed = storeTag(value);
    } else if (role == common::ImageRole) {
        changed = assign(m_image, qint16(value.isValid() ? value.toInt() : -1));
    } else if (role == Qt::CheckStateRole && !(flags() & Qt::ItemIsAutoTristate)) {
        const int check = value.isValid() ? qBound(-1, value.toInt(), 6) : -1;
        changed = checkState() != check;
        m_check = quint8(check + 1);
        if (changed)
            if (auto* list = qobject_cast<KeyedTreeWidget*>(treeWidget()))
                list->noteCheck(this, check > 0);
    } else if (role == Qt::DecorationRole && (!value.isValid() || value.userType() == QMetaType::QIcon)) {
        changed = assignIcon(m_icon, value.value<QIcon>());
    } else if (role == Qt::FontRole) {
        setFontRole(value);
    } else {
        // A pixmap or colour as decoration, say: QTreeWidgetItem keeps it, and it shows while the
        // item has no icon of its own.
        if (role == Qt::DecorationRole)
            changed = assignIcon(m_icon, QIcon());
        QTreeWidgetItem::setData(column, role, value);
    }
    if (!changed)
        return;
    announce(column, role == Qt::EditRole ? Qt::DisplayRole : role);
}

bool KeyedTreeItem::operator<(const QTreeWidgetItem& other) const {
    // Whoever keeps the order has made sure that every item compared is a keyed item.
    if (s_orderKept)
        return false;
    const KeyedTreeItem* keyed = cast(&other);
    if (!keyed)
        return QTreeWidgetItem::operator<(other);
    const QTreeWidget* view = treeWidget();
    const int column = view ? view->sortColumn() : 0;
    return QString::localeAwareCompare(textAt(column), keyed->textAt(column)) < 0;
}
