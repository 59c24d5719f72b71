#pragma once

#include "support/MainWindowFixture.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QList>
#include <QSize>
#include <QString>
#include <QStyle>
#include <memory>

class KeyedTreeWidget;
class QTreeWidget;
class QTreeWidgetItem;

// The real main window, opened on a temporary suite's login, shown and waited on until it is the
// active window, as a user meets it. GUI tests reach its controls either as members
// (`window->lstUsers`) or by objectName (`window.control<QLineEdit>("txtUserName")`) and trigger
// toolbar commands by their key (`window.press("keySave")`). A name the window does not have
// stops the test at once, naming it. The free functions below read back and drive what several
// tests check, also on a window a test builds itself.
class WindowFixture {
public:
    // An empty size keeps the size the window gives itself.
    explicit WindowFixture(MainWindowFixture& suite, const QSize& size = {}) { open(suite, size); }
    // For a test class that opens a window per test: open() in init(), reset() in cleanup().
    WindowFixture() = default;
    // Opens a new window; false when it did not become active.
    bool open(MainWindowFixture& suite, const QSize& size = {});
    void reset() { m_form.reset(); }

    frmMain* operator->() const { return m_form.get(); }
    frmMain& operator*() const { return *m_form; }

    template <class T = QWidget> T* control(const char* name) const { return control<T>(*m_form, name); }
    template <class T = QWidget> static T* control(const frmMain& form, const char* name) {
        T* found = form.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("WindowFixture: the window has no child named %s", name);
        return found;
    }
    // Triggers the toolbar action whose objectName is key.
    void press(const char* key) const { control<QAction>(key)->trigger(); }

private:
    std::unique_ptr<frmMain> m_form;
};

// The key of the list's selected item, empty when nothing is selected.
QString selectedKey(const KeyedTreeWidget* list);
// The check states of the list's top-level items, in order.
QList<Qt::CheckState> checks(const QTreeWidget* list);
// The check image of the operations tree's node with key, -1 when there is no such node.
int image(const frmMain& form, const QString& key);
// Selects the operations tree's node with key and runs the tree's double-click handler.
void doubleClickNode(frmMain& form, const QString& key);
// The rectangle the style gives part of an item's column 0: its check box, image or text.
QRect itemPart(QTreeWidget* list, QTreeWidgetItem* item, QStyle::SubElement part);
// Scrolls the item into sight and clicks the middle of its part with the mouse.
void clickItem(QTreeWidget* list, QTreeWidgetItem* item, QStyle::SubElement part = QStyle::SE_ItemViewItemText);
