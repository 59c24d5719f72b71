#pragma once

#include <QHash>
#include <QTabWidget>

// A tab control whose pages are containers placed freely on the control itself. Each tab holds
// an empty placeholder page; the container of a tab is a direct child of the control at its own
// rectangle, shown and raised while its tab is selected and hidden otherwise. Every change of the
// selected tab then emits Click with the index that was selected before.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TabControl(QWidget* parent = nullptr);

    // Adds a tab with a picture and a caption (kept exactly, blanks included). Returns its index.
    int addPage(const QIcon& picture, const QString& caption);
    // Makes container (reparented to this control) the page shown for tab.
    void setContainer(int tab, QWidget* container);
    QWidget* container(int tab) const { return m_containers.value(tab); }

signals:
    void Click(int previousTab);

private:
    void showSelected(int tab);

    QHash<int, QWidget*> m_containers;
    int m_previous = -1;
};
