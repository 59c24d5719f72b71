#pragma once

#include <QComboBox>
#include <QHash>
#include <QString>
#include <QVariant>

class KeyedComboModel;

// An editable (image) combo box whose items are found by key through a hash. Each item keeps
// its key and tag in the roles of ItemRoles.h, in a KeyedComboModel.
class KeyedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit KeyedComboBox(QWidget* parent = nullptr);

    // Adds an item at the end; raises KeyNotUnique when the key is taken.
    void addKeyed(const QString& key, const QString& text, const QVariant& tag);
    // The index of the item with key, or -1.
    int indexOfKey(const QString& key) const { return m_index.value(key, -1); }
    // Selects the item with key (showing its text); raises KeyNotFound when there is none.
    void selectKey(const QString& key);
    // No selected item and an empty text.
    void clearSelection();
    void clearKeyed();

    // Items added between beginFill() and endFill() are shown together at endFill().
    void beginFill();
    void endFill();

    QString selectedKey() const;
    QVariant selectedTag() const;

signals:
    // Raised when the drop-down list is about to open.
    void dropDown();

protected:
    void showPopup() override;

private:
    KeyedComboModel* m_items;
    QHash<QString, int> m_index;
    bool m_filling = false;
};
