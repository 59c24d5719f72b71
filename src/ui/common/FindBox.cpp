#include "ui/common/FindBox.h"

#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/SearchText.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <array>

namespace {

// The folds of the Latin letters, read once from common::searchFolded: a list of 100,000 users is
// compared character by character on a key, and a table is cheaper than a call per character.
constexpr char16_t Quick = 0x0250;

const std::array<char16_t, Quick> QuickFolds = [] {
    std::array<char16_t, Quick> folds{};
    for (char16_t code = 0; code < Quick; ++code)
        folds[code] = common::searchFolded(QChar(code)).unicode();
    return folds;
}();

inline char16_t folded(char16_t c) {
    return c < Quick ? QuickFolds[c] : common::searchFolded(QChar(c)).unicode();
}

// Whether text contains needle (folded already), each character of text folded as it is met.
bool containsFolded(QStringView text, QStringView needle) {
    const qsizetype length = needle.size();
    if (length == 0)
        return true;
    if (text.size() < length)
        return false;
    const char16_t* at = text.utf16();
    const char16_t* const last = at + text.size() - length;
    const char16_t* const wanted = needle.utf16();
    for (; at <= last; ++at) {
        if (folded(*at) != wanted[0])
            continue;
        qsizetype k = 1;
        while (k < length && folded(at[k]) == wanted[k])
            ++k;
        if (k == length)
            return true;
    }
    return false;
}

} // namespace

FindBox::FindBox(QWidget* parent) : QLineEdit(parent) {
    setClearButtonEnabled(true);
    setPlaceholderText(QStringLiteral("Find (Ctrl+F)"));
    connect(this, &QLineEdit::textChanged, this, &FindBox::textEdited);
}

void FindBox::attach(QTreeWidget* list, const QList<int>& columns, const QList<int>& roles) {
    m_list = list;
    m_columns = columns;
    m_roles = roles;
    if (auto* keyed = qobject_cast<KeyedTreeWidget*>(list)) {
        // A fill cleared the filter: the new items are tested once it has ended.
        connect(keyed, &KeyedTreeWidget::filled, this, [this] {
            m_applied.clear();
            later(false);
        });
        // An item added after a key (a saved record) is tested as well.
        connect(keyed->model(), &QAbstractItemModel::rowsInserted, this, [this, keyed](const QModelIndex& parent) {
            if (!m_applying && !keyed->isFilterShowing() && !parent.isValid() && !m_needle.isEmpty())
                later(true);
        });
    }
}

bool FindBox::matches(const QTreeWidgetItem* item) const {
    const KeyedTreeItem* keyed = KeyedTreeItem::cast(item);
    for (const int column : m_searched) {
        // A keyed item's text is read in place, without a copy.
        const bool found =
            keyed ? containsFolded(keyed->textAt(column), m_needle) : containsFolded(item->text(column), m_needle);
        if (found)
            return true;
    }
    for (const int role : m_roles)
        if (containsFolded(item->data(0, role).toString(), m_needle))
            return true;
    return false;
}

void FindBox::textEdited(const QString& text) {
    m_needle = common::foldedForSearch(text);
    // Added letters can only narrow what the last text showed.
    apply(!m_applied.isEmpty() && m_needle.contains(m_applied));
}

void FindBox::refilter() {
    apply(false);
}

void FindBox::later(bool narrowing) {
    m_pendingNarrowing = m_pending ? m_pendingNarrowing && narrowing : narrowing;
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        apply(m_pendingNarrowing && !m_applied.isEmpty());
    });
}

void FindBox::apply(bool narrowing) {
    if (!m_list)
        return;
    m_applying = true;
    m_searched = m_columns;
    if (m_searched.isEmpty())
        for (int column = 0; column < m_list->columnCount(); ++column)
            m_searched.append(column);
    auto* keyed = qobject_cast<KeyedTreeWidget*>(m_list);
    const bool flat = keyed && (keyed->isFiltered() || keyed->keyedCount() == keyed->topLevelItemCount());
    if (flat && m_needle.isEmpty())
        keyed->clearFilter(false);
    else if (flat)
        // The list may test the rest of a large change after this call, from the event loop: a box
        // gone by then keeps every row.
        keyed->filterTopLevel(
            [box = QPointer<FindBox>(this)](const QTreeWidgetItem* item) { return !box || box->matches(item); },
            narrowing);
    else
        hideInTree(m_list->invisibleRootItem(), m_needle.isEmpty());
    m_applied = m_needle;
    m_applying = false;
}

bool FindBox::hideInTree(QTreeWidgetItem* parent, bool parentMatches) {
    bool anyShown = false;
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* item = parent->child(i);
        const bool self = parentMatches || matches(item);
        const bool below = hideInTree(item, self);
        const bool shown = self || below;
        if (item->isHidden() == shown)
            item->setHidden(!shown);
        // A match below a collapsed node is brought into sight.
        if (below && !m_needle.isEmpty() && !item->isExpanded())
            item->setExpanded(true);
        anyShown = anyShown || shown;
    }
    return anyShown;
}

void FindBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Down && m_list) {
        m_list->setFocus(Qt::TabFocusReason);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
