#include "WindowDriver.h"

#include "RawFloor.h"
#include "SuiteGenerator.h"
#include "db/StatementLog.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/groups/BulkImageChange.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <stdexcept>

namespace {

QString key(int id) {
    return QStringLiteral("k") + QString::number(id);
}

constexpr int SavedOperations = 2000;
constexpr int SavedWorkPoints = 50;
constexpr int DeletedGrants = 10000;
constexpr int DeletedGroupCompanies = 5;

} // namespace

WindowDriver::WindowDriver(frmMain& form, const BenchTargets& targets) : m_form(form), m_targets(targets) {}

void WindowDriver::setAround(std::function<void()> start, std::function<void()> end) {
    m_start = std::move(start);
    m_end = std::move(end);
}

void WindowDriver::check(bool condition, const char* what) {
    if (!condition)
        throw std::runtime_error(std::string("the window did not do its work: ") + what);
}

double WindowDriver::measure(const std::function<void()>& action, bool settled) {
    // Whatever an earlier step left pending is not part of this action.
    QApplication::processEvents();
    db::StatementLog::startRecording();
    if (m_start)
        m_start();
    QElapsedTimer timer;
    timer.start();
    action();
    // The action is over once the window has laid out and painted what it changed.
    if (settled)
        QApplication::sendPostedEvents();
    else
        QApplication::processEvents();
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    if (m_end)
        m_end();
    db::StatementLog::stopRecording();
    m_statements = db::StatementLog::recorded();
    m_values = db::StatementLog::recordedValues();
    m_writes = false;
    return elapsed;
}

double WindowDriver::floorOfLastAction() {
    if (!m_writes)
        return RawFloor::read(m_targets.directory, m_targets.database, m_statements, m_values);
    // The Delete's floor removes the group again: it is made anew first, as for the window.
    if (m_statements.join(QLatin1Char('\n')).contains(QLatin1String("Delete From admGrup Where")))
        makeDeletedGroup();
    else if (!m_restoreBeforeFloor.isEmpty())
        RawFloor::exec(m_targets.directory, m_targets.database, m_restoreBeforeFloor);
    m_restoreBeforeFloor.clear();
    return RawFloor::run(m_targets.directory, m_targets.database, m_statements, m_values);
}

void WindowDriver::makeDeletedGroup() {
    const int id = m_targets.spareGroup;
    RawFloor::exec(m_targets.directory, m_targets.database,
                   QStringLiteral("BEGIN;"
                                  "INSERT INTO AdmGrup (grID, grCod, grDenumire, grobs, IdOperator, DataAct) "
                                  "VALUES (%1, 'BENCH_DELETE', 'Sters de benchmark', '', 55, '2025-03-07');"
                                  "INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct) "
                                  "SELECT IdAuthor, %1, 55, '2025-03-07' FROM Authors ORDER BY IdAuthor LIMIT %2;"
                                  "INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct) "
                                  "SELECT a.auID, %1, o.opID, o.Id, 55, '2025-03-07' FROM admGrupAutor a "
                                  "CROSS JOIN (SELECT opID, Id FROM admOperatiiModul ORDER BY mdID, opID LIMIT %3) o "
                                  "WHERE a.grID = %1;"
                                  "COMMIT;")
                       .arg(id)
                       .arg(DeletedGroupCompanies)
                       .arg(DeletedGrants / DeletedGroupCompanies));
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
    check(groups::hasCheckedNode(m_form.twOperations), "the company click checks the group's operations");
    return ms;
}

double WindowDriver::doubleClickModule() {
    showPage(0);
    QTreeWidgetItem* module = m_form.twOperations->item(groups::moduleKey(m_targets.module));
    m_form.twOperations->scrollToItem(module, QAbstractItemView::PositionAtTop);
    QApplication::processEvents();
    // The double click ticks the module when it shows unchecked; make sure it does.
    if (groups::imageOf(module) != CheckImage::Unchecked)
        m_form.ClearOperationChecks();
    const double ms = measure([&] { click(m_form.twOperations, module, true); });
    check(groups::imageOf(module) == CheckImage::Checked, "the double click ticks the module");
    return ms;
}

double WindowDriver::doubleClickLargeModule() {
    showPage(0);
    QTreeWidgetItem* module = m_form.twOperations->item(groups::moduleKey(m_targets.largeModule));
    m_form.twOperations->scrollToItem(module, QAbstractItemView::PositionAtTop);
    QApplication::processEvents();
    if (groups::imageOf(module) != CheckImage::Unchecked)
        m_form.ClearOperationChecks();
    const double ms = measure([&] { click(m_form.twOperations, module, true); });
    check(groups::imageOf(module) == CheckImage::Checked &&
              groups::imageOf(module->child(module->childCount() - 1)) == CheckImage::Checked,
          "the double click ticks the module of 9,000 operations");
    m_form.ClearOperationChecks();
    return ms;
}

double WindowDriver::clearOperationChecks() {
    const double ms = measure([this] { m_form.ClearOperationChecks(); });
    check(!groups::hasCheckedNode(m_form.twOperations), "ClearOperationChecks unchecks every node");
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

double WindowDriver::clickUserInManyGroups() {
    showPage(1);
    QTreeWidgetItem* before = m_form.lstUsers->item(key(m_targets.user));
    m_form.lstUsers->scrollToItem(before);
    QApplication::processEvents();
    click(m_form.lstUsers, before, false);
    QTreeWidgetItem* user = m_form.lstUsers->item(key(m_targets.rightsUser));
    m_form.lstUsers->scrollToItem(user);
    QApplication::processEvents();
    const double ms = measure([&] { click(m_form.lstUsers, user, false); });
    check(m_form.lstUsers->selectedItem() == user &&
              m_form.txtUserName->text() == QLatin1String(SuiteGenerator::RightsUserCode),
          "the click loads the user in 20 groups");
    check(m_form.lstGroups->tickedItems().size() == SuiteGenerator::RightsUserGroups,
          "the click ticks the user's 20 groups");
    m_form.lstUsers->scrollToItem(before);
    QApplication::processEvents();
    click(m_form.lstUsers, before, false);
    check(m_form.txtUserName->text() == m_targets.userCode, "the user of the other clicks is shown again");
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
    // The user's own person is put back afterwards: the Save that follows saves the user shown,
    // and must not tie the user to the typed person (each run would then pick another user).
    const QString shownPerson = combo->selectedKey();
    combo->clearSelection();
    combo->lineEdit()->setText(head);
    combo->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    const double ms =
        measure([&] { QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, last.right(1), Qt::NoModifier); });
    check(combo->currentIndex() >= 0 && combo->currentText().startsWith(last, Qt::CaseInsensitive),
          "the typed letter completes to the last person");
    if (shownPerson.isEmpty())
        combo->clearSelection();
    else
        combo->selectKey(shownPerson);
    showPage(0);
    return ms;
}

double WindowDriver::saveGroup() {
    showPage(0);
    m_form.lstAuthors->selectItem(m_form.lstAuthors->item(key(m_targets.author)));
    m_form.lstGroupsConfig->selectItem(m_form.lstGroupsConfig->item(key(m_targets.saveGroup)));
    m_form.LoadGrp(m_targets.saveGroup);
    int ticked = 0;
    {
        const BulkImageChange bulk(m_form.twOperations);
        for (QTreeWidgetItemIterator it(m_form.twOperations); *it; ++it) {
            if (groups::isModuleNode(*it) || groups::imageOf(*it) == CheckImage::None)
                continue;
            const bool tick = ticked < SavedOperations;
            groups::setImage(*it, tick ? CheckImage::Checked : CheckImage::Unchecked, *m_form.ImageList1);
            ticked += tick ? 1 : 0;
        }
    }
    // The Save replaces the work points the group held among those listed; its floor must find them
    // as the Save did, not as the Save left them (the ticked points need not be the held ones).
    QStringList listed;
    QStringList held;
    for (int i = 0; i < m_form.lstPuncteLucru->topLevelItemCount(); ++i) {
        QTreeWidgetItem* point = m_form.lstPuncteLucru->topLevelItem(i);
        const QString id = KeyedTreeWidget::tagOf(point).toString();
        listed << id;
        if (point->checkState(0) == Qt::Checked)
            held << QStringLiteral("(%1, %2)").arg(m_targets.saveGroup).arg(id);
        point->setCheckState(0, i < SavedWorkPoints ? Qt::Checked : Qt::Unchecked);
    }
    m_restoreBeforeFloor =
        QStringLiteral("BEGIN; DELETE FROM admGrupPuncteLucru WHERE grID = %1 AND IdPctLucru IN (%2);")
            .arg(m_targets.saveGroup)
            .arg(listed.join(QLatin1Char(',')));
    if (!held.isEmpty())
        m_restoreBeforeFloor += QStringLiteral("INSERT INTO admGrupPuncteLucru (grID, IdPctLucru) VALUES %1;")
                                    .arg(held.join(QLatin1Char(',')));
    m_restoreBeforeFloor += QStringLiteral("COMMIT;");
    // Save writes only what changed: the group's notes alternate from run to run (and from the
    // notes an earlier benchmark left), so that every Save writes the group, its 2,000 operations
    // and its work points.
    const QString notes = QStringLiteral("Salvat de benchmark");
    m_form.txtNotes->setText(m_form.txtNotes->text() == notes ? notes + QLatin1Char('.') : notes);
    check(ticked == SavedOperations && m_form.lstPuncteLucru->topLevelItemCount() >= SavedWorkPoints,
          "the suite has 2,000 operations and 50 work points of the company to tick");

    bool saved = false;
    const double ms = measure([&] { saved = m_form.Save(); });
    m_writes = true;
    check(saved, "Save saves the group");
    check(m_statements.filter(QStringLiteral("Insert Into admGrupOperatii")).size() == SavedOperations,
          "Save grants the 2,000 ticked operations");
    return ms;
}

double WindowDriver::deleteGroup() {
    makeDeletedGroup();
    showPage(0);
    const QString deleted = key(m_targets.spareGroup);
    QTreeWidgetItem* item = m_form.lstGroupsConfig->addKeyed(deleted, QStringLiteral("BENCH_DELETE"));
    KeyedTreeWidget::setTag(item, m_targets.spareGroup);
    m_form.lstGroupsConfig->selectItem(item);
    QApplication::processEvents();

    QElapsedTimer sinceStart;
    double removedAfter = -1;
    qsizetype statementsBeforeRemoval = 0;
    const QMetaObject::Connection removal =
        QObject::connect(m_form.lstGroupsConfig->model(), &QAbstractItemModel::rowsAboutToBeRemoved, [&] {
            if (removedAfter < 0) {
                removedAfter = double(sinceStart.nsecsElapsed()) / 1e6;
                statementsBeforeRemoval = db::StatementLog::recorded().size();
            }
        });
    measure([&] {
        sinceStart.start();
        // The question is answered as soon as it is shown.
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(QMessageBox::Yes)->click();
        });
        m_form.Delete();
    });
    QObject::disconnect(removal);
    m_statements = m_statements.mid(0, statementsBeforeRemoval);
    m_values = m_values.mid(0, statementsBeforeRemoval);
    m_writes = true;
    check(removedAfter >= 0 && !m_form.lstGroupsConfig->find(deleted), "Delete removes the group's item");
    check(m_statements.contains(QStringLiteral("Delete From admGrupOperatii Where grID = ") +
                                QString::number(m_targets.spareGroup)),
          "Delete deletes the group's grants");
    return removedAfter;
}
