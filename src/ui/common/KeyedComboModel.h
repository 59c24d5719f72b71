#pragma once

#include "ui/common/PackedKey.h"
#include "ui/common/TextList.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <variant>

// The items of a keyed combo box in flat lists: texts (Qt::DisplayRole and EditRole), keys and
// tags (the roles of ItemRoles). Rows can be staged at the end and shown all at once, so that a
// fill of many items is announced to the combo box once.
//
// A box of 100,000 persons holds a text and a number per person, the texts one after the other in
// one string (TextList): while every tag is an int and
// every key is common::ItemKey of its tag, as the fillers make them, only the tags are held, as
// ints, and the keys are made from them when asked for. The first tag or key of another kind
// makes the model hold every tag (or key) as such from then on.
class KeyedComboModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit KeyedComboModel(QObject* parent = nullptr);

    // Adds a row after every other; it is not shown (nor counted by rowCount) before show(). packed
    // is PackedKey::from(key), made by the caller (key may then be empty).
    void stage(const QString& key, const std::optional<PackedKey>& packed, const QString& text, const QVariant& tag);
    // Shows every staged row, in one insertion.
    void show();
    // Gives up the room the lists hold beyond their rows.
    void squeeze();
    // Drops the staged rows.
    void dropStaged();
    // Shown and staged rows.
    int size() const { return static_cast<int>(m_texts.size()); }
    QString keyAt(int row) const;
    // Whether the row holds exactly this key (packed as for stage), text and tag.
    bool sameItem(int row, const QString& key, const std::optional<PackedKey>& packed, const QString& text,
                  const QVariant& tag) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Rows inserted with empty texts and keys and no tag; they are shown at once.
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    using Key = std::variant<QString, PackedKey>;
    static Key stored(const QString& key);
    static Key stored(const QString& key, const std::optional<PackedKey>& packed);
    static QString textOf(const Key& key);
    // The key made from an int tag, as common::ItemKey makes it.
    static PackedKey keyOfTag(int tag);

    Key storedKeyAt(int row) const;
    QVariant tagAt(int row) const;
    // From now on every key (every tag, and then every key too) is held as such.
    void holdKeys();
    void holdTags();
    // Stores the key and tag of row, which every list in use has room for.
    void store(int row, const Key& key, const QVariant& tag);
    // An empty model holds its tags as ints and makes its keys again.
    void compactWhenEmpty();

    TextList m_texts;
    QList<int> m_intTags; // while the tags are not held as such
    QList<QVariant> m_tags;
    QList<Key> m_keys;
    bool m_holdTags = false;
    bool m_holdKeys = false;
    int m_shown = 0;
};
