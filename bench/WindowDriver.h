#pragma once

#include "BenchTargets.h"

#include <QStringList>
#include <functional>

class frmMain;
class QTreeWidget;
class QTreeWidgetItem;

// Drives the shown window through the actions the benchmark times, with real mouse clicks on
// the lists and the tree where the action is a click. Each action is timed from the first event
// to the end of the repaint it causes, records the statements it ran, and is checked
// afterwards: an action that did not do its work raises std::runtime_error instead of
// counting as fast.
class WindowDriver {
public:
    WindowDriver(frmMain& form, const BenchTargets& targets);

    // Each returns the elapsed milliseconds of one action.
    double refresh();
    double clickGroup();
    double clickAuthor();
    double doubleClickModule();
    double clearOperationChecks();
    double clickUser();
    // A letter typed into cmbPers that completes to its last person: the completion walks every
    // person. The first letter after a refresh, so it includes reading the items' texts.
    double typeInPerson();

    // The statements run by the last action, in order.
    const QStringList& lastStatements() const { return m_statements; }

private:
    double measure(const std::function<void()>& action);
    void showPage(int index);
    void click(QTreeWidget* list, QTreeWidgetItem* item, bool twice);
    static void check(bool condition, const char* what);

    frmMain& m_form;
    BenchTargets m_targets;
    QStringList m_statements;
};
