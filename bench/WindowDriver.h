#pragma once

#include "BenchTargets.h"

#include <QList>
#include <QStringList>
#include <QVariant>
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

    // start runs as each timed action begins and end once it has ended; the network benchmark
    // counts the server's requests there and runs the action as one command of the window.
    void setAround(std::function<void()> start, std::function<void()> end);

    // Each returns the elapsed milliseconds of one action.
    double refresh();
    double clickGroup();
    double clickAuthor();
    double doubleClickModule();
    // The double click on the module of 9,000 operations (the same at every suite size); the tree
    // is cleared again afterwards.
    double doubleClickLargeModule();
    double clearOperationChecks();
    double clickUser();
    // A click on the user in 20 groups right after the user of clickUser() was loaded, as an
    // administrator goes from user to user: the selection moves across the list and 20 of the
    // groups list's boxes are ticked; clickUser()'s user is shown again afterwards.
    double clickUserInManyGroups();
    // A letter typed into cmbPers that completes to its last person: the completion walks every
    // person. The first letter after a refresh, so it includes reading the items' texts.
    double typeInPerson();
    // Save of saveGroup for the company with 2,000 operations and 50 work points ticked (the
    // user shown is saved with it, as Save does).
    double saveGroup();
    // Delete of a group holding 10,000 operation grants, made before each run, with the
    // question answered Yes; timed up to the removal of its item from the list, before the
    // refresh that the command runs last (timed on its own as RefreshMe).
    double deleteGroup();

    // The floor of the last action: its statements and values raw on SQLite (RawFloor::read), or,
    // for the actions that write, in one transaction (RawFloor::run).
    double floorOfLastAction();

    // The statements run by the last action, in order.
    const QStringList& lastStatements() const { return m_statements; }
    // Whether the last action wrote to the suite (its statements carry bound values).
    bool lastActionWrites() const { return m_writes; }

protected:
    // Times action and the events it left (layout and painting); settled: those events end with
    // the action's own frame (it sends the posted events itself), and no slice of later work counts.
    double measure(const std::function<void()>& action, bool settled = false);
    void showPage(int index);
    static void check(bool condition, const char* what);

private:
    void click(QTreeWidget* list, QTreeWidgetItem* item, bool twice);
    // Makes the group that deleteGroup() deletes: spareGroup with 10,000 operation grants over
    // five companies, written straight into the suite.
    void makeDeletedGroup();

protected:
    frmMain& m_form;
    BenchTargets m_targets;

private:
    QStringList m_statements;
    QList<QList<QVariant>> m_values;
    bool m_writes = false;
    // Statements that give the saved group back the work points it held before the Save, run
    // before the Save's floor.
    QString m_restoreBeforeFloor;
    std::function<void()> m_start;
    std::function<void()> m_end;
};
