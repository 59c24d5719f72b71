#pragma once

#include "ui/common/PackedKey.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <variant>

// The items of a keyed combo box in three flat lists: texts (Qt::DisplayRole and EditRole),
// keys and tags (the roles of ItemRoles). A key of a common shape is held as numbers
// (PackedKey): a box of 100,000 persons then holds no text per key. Rows can be staged at the end and shown all at
// once, so that a fill of many items is announced to the combo box once.
class KeyedComboModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit KeyedComboModel(QObject* parent = nullptr);

    // Adds a row after every other; it is not shown (nor counted by rowCount) before show().
    void stage(const QString& key, const QString& text, const QVariant& tag);
    // Shows every staged row, in one insertion.
    void show();
    // Drops the staged rows.
    void dropStaged();
    // Shown and staged rows.
    int size() const { return static_cast<int>(m_texts.size()); }
    QString keyAt(int row) const { return textOf(m_keys.at(row)); }
    // Whether the row holds exactly this key, text and tag.
    bool sameItem(int row, const QString& key, const QString& text, const QVariant& tag) const {
        return m_keys.at(row) == stored(key) && m_texts.at(row) == text && m_tags.at(row) == tag;
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Rows inserted with empty texts and keys and no tag; they are shown at once.
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    using Key = std::variant<QString, PackedKey>;
    static Key stored(const QString& key);
    static QString textOf(const Key& key);

    QList<QString> m_texts;
    QList<Key> m_keys;
    QList<QVariant> m_tags;
    int m_shown = 0;
};
