#include "WindowDriver.h"

#include "db/StatementLog.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/TabControl.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <stdexcept>

namespace {

QString key(int id) {
    return QStringLiteral("k") + QString::number(id);
}

} // namespace

WindowDriver::WindowDriver(frmMain& form, const BenchTargets& targets) : m_form(form), m_targets(targets) {}

void WindowDriver::check(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("the window did not do its work: ") + what);
}

double WindowDriver::measure(const std::function<void()>& action) {
    // Whatever an earlier step left pending is not part of this action.
    QApplication::processEvents();
    db::StatementLog::startRecording();
    QElapsedTimer timer;
    timer.start();
    action();
    // The action is over once the window has laid out and painted what it changed.
    QApplication::processEvents();
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    db::StatementLog::stopRecording();
    m_statements = db::StatementLog::recorded();
    return elapsed;
}

void WindowDriver::showPage(int index) {
    m_form.SSTab1->setCurrentIndex(index);
    m_form.SSTab1_Click(1 - index);
    QApplication::processEvents();
}

// A click on the item's text (clear of a check box), or a double click there: press, release,
// then the double-click event and its release, as a window system delivers them to a widget.
void WindowDriver::click(QTreeWidget* list, QTreeWidgetItem* item, bool twice) {
    const QRect rect = list->visualItemRect(item);
    const QPoint at(rect.left() + std::min(60, rect.width() / 2), rect.center().y());
    QWidget* viewport = list->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    if (twice) {
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
    }
}

double WindowDriver::refresh() {
    const double ms = measure([this] { m_form.RefreshMe(); });
    check(m_form.lstUsers->topLevelItemCount() == m_targets.users, "RefreshMe lists every user");
    check(m_form.lstGroupsConfig->topLevelItemCount() == m_targets.groups, "RefreshMe lists every group");
    check(m_form.twOperations->keyedCount() == m_targets.treeNodes, "RefreshMe fills the operations tree");
    return ms;
}

double WindowDriver::clickGroup() {
    showPage(0);
    QTreeWidgetItem* group = m_form.lstGroupsConfig->item(key(m_targets.group));
    m_form.lstGroupsConfig->scrollToItem(group);
    // The company must be the selected one, so that the group's load ends with its work points.
    m_form.lstAuthors->selectItem(m_form.lstAuthors->item(key(m_targets.author)));
    const double ms = measure([&] { click(m_form.lstGroupsConfig, group, false); });
    check(m_form.lstGroupsConfig->selectedItem() == group, "the click selects the group");
    check(m_form.txtGrpName->text() == m_targets.groupCode, "the group click loads the group");
    check(m_form.lstAuthors->item(key(m_targets.author))->checkState(0) == Qt::Checked,
          "the group click ticks its companies");
    return ms;
}

double WindowDriver::clickAuthor() {
    showPage(0);
    QTreeWidgetItem* author = m_form.lstAuthors->item(key(m_targets.author));
    m_form.lstAuthors->scrollToItem(author);
    const double ms = measure([&] { click(m_form.lstAuthors, author, false); });
    check(author->checkState(0) == Qt::Checked, "the click on the company's text leaves its box on");
    check(m_form.lstPuncteLucru->topLevelItemCount() == m_targets.authorWorkPoints,
          "the company click lists its work points");
    check(OperationTree::hasCheckedNode(m_form.twOperations), "the company click checks the group's operations");
    return ms;
}

double WindowDriver::doubleClickModule() {
    showPage(0);
    QTreeWidgetItem* module = m_form.twOperations->item(OperationTree::moduleKey(m_targets.module));
    m_form.twOperations->scrollToItem(module, QAbstractItemView::PositionAtTop);
    QApplication::processEvents();
    // The double click ticks the module when it shows unchecked; make sure it does.
    if (OperationTree::imageOf(module) != CheckImage::Unchecked)
        m_form.ClearOperationChecks();
    const double ms = measure([&] { click(m_form.twOperations, module, true); });
    check(OperationTree::imageOf(module) == CheckImage::Checked, "the double click ticks the largest module");
    return ms;
}

double WindowDriver::clearOperationChecks() {
    const double ms = measure([this] { m_form.ClearOperationChecks(); });
    check(!OperationTree::hasCheckedNode(m_form.twOperations), "ClearOperationChecks unchecks every node");
    return ms;
}

double WindowDriver::clickUser() {
    showPage(1);
    QTreeWidgetItem* user = m_form.lstUsers->item(key(m_targets.user));
    m_form.lstUsers->scrollToItem(user);
    const double ms = measure([&] { click(m_form.lstUsers, user, false); });
    check(m_form.lstUsers->selectedItem() == user, "the click selects the user");
    check(m_form.txtUserName->text() == m_targets.userCode, "the user click loads the user");
    showPage(0);
    return ms;
}

double WindowDriver::typeInPerson() {
    showPage(1);
    m_form.tabDetalii->setCurrentIndex(0);
    KeyedComboBox* combo = m_form.cmbPers;
    check(combo->count() > 0, "cmbPers lists the persons");
    // Every letter of the last person's name but the last is in the box already; the last one
    // leaves (nearly) only that person to match, after a walk over all the others.
    const QString last = combo->itemText(combo->count() - 1).trimmed();
    const QString head = last.chopped(1);
    combo->clearSelection();
    combo->lineEdit()->setText(head);
    combo->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    const double ms =
        measure([&] { QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, last.right(1), Qt::NoModifier); });
    check(combo->currentIndex() >= 0 && combo->currentText().startsWith(last, Qt::CaseInsensitive),
          "the typed letter completes to the last person");
    combo->clearSelection();
    showPage(0);
    return ms;
}
