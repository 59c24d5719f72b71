#include "ui/common/KeyedTreeItem.h"

#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedTreeWidget.h"

#include <QFont>
#include <QTreeWidget>
#include <new>
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

} // namespace

KeyedTreeItem::KeyedTreeItem(const QString& key, const QString& text, int columns)
    : QTreeWidgetItem(Type), m_text(text), m_textKey() {
    storeKey(key);
    if (columns > 1) {
        m_moreCount = quint8(qMin(columns - 1, 255));
        m_moreTexts = std::make_unique<QString[]>(m_moreCount);
    }
}

KeyedTreeItem::~KeyedTreeItem() {
    destroyKey();
}

void KeyedTreeItem::destroyKey() {
    if (!m_keyPacked)
        m_textKey.~QString();
}

bool KeyedTreeItem::storeKey(const QString& key) {
    const std::optional<PackedKey> packed = PackedKey::from(key);
    if (hasKey(key, packed))
        return false;
    destroyKey();
    if (packed)
        new (&m_packedKey) PackedKey(*packed);
    else
        new (&m_textKey) QString(key);
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

const QString& KeyedTreeItem::textAt(int column) const {
    static const QString none;
    if (column == 0)
        return m_text;
    return column > 0 && column <= m_moreCount ? m_moreTexts[column - 1] : none;
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
    if (column == 0)
        return assign(m_text, text);
    if (column > m_moreCount) {
        // A list shows a few columns; no text goes beyond what the count can hold.
        if (text.isEmpty() || column > 255)
            return false;
        auto more = std::make_unique<QString[]>(column);
        for (int i = 0; i < m_moreCount; ++i)
            more[i] = std::move(m_moreTexts[i]);
        m_moreTexts = std::move(more);
        m_moreCount = quint8(column);
    }
    return assign(m_moreTexts[column - 1], text);
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
        if (column == 0)
            return m_text;
        return column > 0 && column <= m_moreCount ? QVariant(m_moreTexts[column - 1]) : QVariant();
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
    return textAt(column).localeAwareCompare(keyed->textAt(column)) < 0;
}
