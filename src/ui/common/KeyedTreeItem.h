#pragma once

#include "ui/common/PackedKey.h"

#include <QIcon>
#include <QString>
#include <QStringView>
#include <QTreeWidgetItem>
#include <QVariant>
#include <initializer_list>

// The item of a keyed list or tree. What the fillers give every item is kept in plain fields
// rather than in one variant per role and column: the texts of the columns and, in column 0,
// the key (as numbers when it has a common shape, see PackedKey), tag, check state, check image index, icon and bold
// text. data() and setData() answer those roles from the fields (texts are kept as text, an int tag as an int); any
// other role or column, and a tag of another type, is kept by QTreeWidgetItem as usual. A list of 100,000 users holds
// 100,000 items: every byte of an item counts, so the texts of an item with more than one column are held in one
// string (see textAt). A change of data made while the item is in a view reaches the view and raises the tree's
// itemChanged, as any item's change does. QTreeWidgetItem announces a change of flags only for the columns it holds
// values for, so flags are best set before the item is added.
class KeyedTreeItem : public QTreeWidgetItem {
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 1;

    KeyedTreeItem(const QString& key, const QString& text);
    KeyedTreeItem(const PackedKey& key, const QString& text);
    ~KeyedTreeItem() override;
    KeyedTreeItem(const KeyedTreeItem&) = delete;
    KeyedTreeItem& operator=(const KeyedTreeItem&) = delete;

    // The item as a keyed item, or null when it is another kind of item (a header item, say).
    static KeyedTreeItem* cast(QTreeWidgetItem* item) {
        return item && item->type() == Type ? static_cast<KeyedTreeItem*>(item) : nullptr;
    }
    static const KeyedTreeItem* cast(const QTreeWidgetItem* item) {
        return item && item->type() == Type ? static_cast<const KeyedTreeItem*>(item) : nullptr;
    }

    QString key() const { return m_keyPacked ? m_packedKey.text() : *m_textKey; }
    // Whether the item's key is key, given as text and, when it has a common shape, as numbers
    // (PackedKey::from(key)): no text is made for the comparison. A key given as numbers is compared
    // as numbers alone (key may then be empty).
    bool hasKey(const QString& key, const std::optional<PackedKey>& packed) const {
        return m_keyPacked ? packed && *packed == m_packedKey : !packed && *m_textKey == key;
    }
    // The key as numbers, or null when it is held as text.
    const PackedKey* packedKey() const { return m_keyPacked ? &m_packedKey : nullptr; }
    // The first character of the key (a null character for an empty key).
    QChar keyPrefix() const {
        return m_keyPacked ? QChar(m_packedKey.prefix) : m_textKey->isEmpty() ? QChar() : m_textKey->front();
    }
    QVariant tag() const;
    void setTag(const QVariant& tag);
    // The text of column, read in place (the view lasts until a text changes); empty beyond the
    // columns that have one. An item holds texts for its first 32 columns.
    QStringView textAt(int column) const;
    // Sets the texts of the columns from 0 on in one change (and empties those after them), with
    // one string made for them all rather than one per column.
    void setTexts(std::initializer_list<QStringView> texts);
    // Sets the icon of column 0.
    using QTreeWidgetItem::setIcon;
    void setIcon(const QIcon& icon);
    // The check image index, -1 while the item has none.
    int image() const { return m_image; }
    // Sets the check image index and the icon that shows it in one change.
    void setImage(int index, const QIcon& icon);
    // Column 0 in the bold version of the view's font.
    void setBold(bool bold);

    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;
    // The order of QTreeWidgetItem (the texts of the sort column, compared as the locale
    // orders them), read from the fields when both items are keyed items.
    bool operator<(const QTreeWidgetItem& other) const override;

    // How many times the text of any keyed item has changed: an owner that saw the same count
    // before knows that no text, and so no sorted order, has changed since.
    static quint64 textChanges() { return s_textChanges; }
    // While one is alive, keyed items compare as equal, so a (stable) sort leaves them in the order
    // they are in; it is for sorts in which every item is a keyed item. Switching a view's sorting back on sorts every
    // item again, comparing texts as the locale orders them: some 70 ms for 100,000 users. Items known to be in the
    // view's sorted order already need none of that.
    class OrderKept {
    public:
        OrderKept() { ++s_orderKept; }
        ~OrderKept() { --s_orderKept; }
        OrderKept(const OrderKept&) = delete;
        OrderKept& operator=(const OrderKept&) = delete;
    };

private:
    static inline quint64 s_textChanges = 0;
    static inline int s_orderKept = 0;

    enum TagKind : quint8 { NoTag, IntTag, OtherTag };

    // Tells the view that role (with EditRole for DisplayRole) and alsoRole of column changed, as
    // QTreeWidgetItem::setData does.
    void announce(int column, int role, int alsoRole = -1) const;
    bool storeText(int column, const QString& text);
    // Holds texts as the texts of columns 0, 1, ...; whether any changed. The views may point
    // into the texts held now.
    bool storeTexts(QStringView* texts, qsizetype count);
    // How many columns m_text holds.
    int columnsHeld() const { return m_columns == 0 ? 1 : m_columns; }
    // Whether the tag changed; a tag of another type than int is stored (and announced) by
    // QTreeWidgetItem.
    bool storeTag(const QVariant& tag);
    int checkState() const { return int(m_check) - 1; }
    void setFontRole(const QVariant& value);
    // Whether the key changed.
    bool storeKey(const QString& key);
    void destroyKey();

    // Column 0's text while no other column has one (m_columns is 0). Otherwise the texts of
    // m_columns columns one after the other, behind the lengths of all but the last (each in two
    // characters, low half first).
    QString m_text;
    // The key, held as numbers while m_keyPacked is set and as text otherwise (the rare key of
    // another shape takes an allocation of its own, so that the common ones take less room).
    union {
        PackedKey m_packedKey;
        QString* m_textKey;
    };
    QIcon m_icon;
    int m_intTag = 0;
    qint16 m_image = -1;
    quint8 m_columns = 0;
    quint8 m_check : 3 = 0; // the check state + 1, 0 while the item has none
    quint8 m_tagKind : 2 = NoTag;
    bool m_bold : 1 = false;
    bool m_keyPacked : 1 = false;
};
