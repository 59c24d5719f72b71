#include "RightsDriver.h"

#include "ui/common/FindBox.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/SearchText.h"
#include "ui/main/RightsCommands.h"
#include "ui/main/frmMain.h"
#include "ui/rights/EffectiveRightsDialog.h"
#include "ui/rights/WhoCanDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <utility>

namespace {

void typeKey(QWidget* box, const QString& text, Qt::Key key = Qt::Key_unknown) {
    QTest::sendKeyEvent(QTest::Click, box, key, text, Qt::NoModifier);
}

// Notes that a widget was painted.
class PaintSpy : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

RightsDriver::RightsDriver(frmMain& form, const BenchTargets& targets) : WindowDriver(form, targets) {}

double RightsDriver::timeKey(const QString& text, Qt::Key key) {
    // The key's frame: from the key until the list has painted what it changed (its posted events,
    // then passes of the event loop until a paint), before the loop goes on to the rest.
    PaintSpy spy;
    m_form.lstUsers->viewport()->installEventFilter(&spy);
    const double first = measure(
        [&] {
            typeKey(m_form.txtFindUsers, text, key);
            QApplication::sendPostedEvents();
            for (int pass = 0; !spy.painted && pass < 100; ++pass)
                QApplication::processEvents();
        },
        true);
    m_form.lstUsers->viewport()->removeEventFilter(&spy);
    double whole = first;
    while (m_form.lstUsers->isFilterPending()) {
        QElapsedTimer slice;
        slice.start();
        QApplication::processEvents();
        const double ms = double(slice.nsecsElapsed()) / 1e6;
        m_longestSlice = std::max(m_longestSlice, ms);
        whole += ms;
    }
    m_slowestWhole = std::max(m_slowestWhole, whole);
    return first;
}

double RightsDriver::findLongestSlice() {
    return std::exchange(m_longestSlice, 0.0);
}

double RightsDriver::findSlowestWhole() {
    return std::exchange(m_slowestWhole, 0.0);
}

int RightsDriver::shownUsers() const {
    return m_form.lstUsers->topLevelItemCount();
}

double RightsDriver::findFirstLetter() {
    showPage(1);
    QTreeWidgetItem* user = m_form.lstUsers->item(common::ItemKey(m_targets.user));
    // The person's surname, as an administrator types it: without diacritics.
    m_typed = common::foldedForSearch(user->text(2).section(QLatin1Char(' '), 0, 0));
    check(m_typed.size() > 1 && m_form.txtFindUsers->text().isEmpty(), "the user has a surname to type");
    m_form.txtFindUsers->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    const double ms = timeKey(m_typed.left(1));
    check(shownUsers() > 0 && shownUsers() < m_targets.users, "the first letter keeps some users");
    return ms;
}

double RightsDriver::findFirstLetterSorted() {
    showPage(1);
    if (!m_form.lstUsers->isSortingEnabled())
        emit m_form.lstUsers->header()->sectionClicked(1);
    check(m_form.lstUsers->isSortingEnabled(), "a header click sorts lstUsers");
    return findFirstLetter();
}

double RightsDriver::findNextLetters() {
    double slowest = 0;
    for (qsizetype i = 1; i < m_typed.size(); ++i)
        slowest = std::max(slowest, timeKey(m_typed.mid(i, 1)));
    const QTreeWidgetItem* user = m_form.lstUsers->find(common::ItemKey(m_targets.user));
    check(m_form.txtFindUsers->text() == m_typed && user && user->treeWidget() == m_form.lstUsers,
          "the typed surname keeps its user in view");
    return slowest;
}

double RightsDriver::findEscape() {
    const double ms = timeKey(QString(), Qt::Key_Escape);
    check(m_form.txtFindUsers->text().isEmpty() && shownUsers() == m_targets.users, "Esc shows every user again");
    if (m_form.lstUsers->isSortingEnabled()) {
        const int column = m_form.lstUsers->sortColumn();
        const int sign = m_form.lstUsers->header()->sortIndicatorOrder() == Qt::AscendingOrder ? 1 : -1;
        bool ordered = true;
        for (int i = 1; i < shownUsers() && ordered; ++i)
            ordered = sign * m_form.lstUsers->topLevelItem(i - 1)->text(column).localeAwareCompare(
                                 m_form.lstUsers->topLevelItem(i)->text(column)) <=
                      0;
        check(ordered, "Esc shows the sorted list in its order");
    }
    showPage(0);
    return ms;
}

QTreeWidgetItem* RightsDriver::selectCompany(int company) {
    QTreeWidgetItem* before = m_form.lstAuthors->selectedItem();
    m_form.lstAuthors->selectItem(m_form.lstAuthors->item(common::ItemKey(company)));
    return before;
}

double RightsDriver::effectiveRights() {
    showPage(1);
    QTreeWidgetItem* before = selectCompany(m_targets.rightsUserCompany);
    QTreeWidgetItem* user = m_form.lstUsers->item(common::ItemKey(m_targets.rightsUser));
    rights::EffectiveRightsDialog* dialog = nullptr;
    const double ms = measure([&] { dialog = mainwindow::ShowEffectiveRights(m_form, user); });
    check(dialog && dialog->isVisible(), "frmEffectiveRights opens");
    int operations = 0;
    for (QTreeWidgetItemIterator it(dialog->twEffective); *it; ++it)
        operations += KeyedTreeWidget::keyOf(*it).startsWith(QLatin1Char('k')) ? 1 : 0;
    check(operations == m_targets.rightsUserOperations, "frmEffectiveRights shows the user's operations");
    delete dialog;
    m_form.lstAuthors->selectItem(before);
    showPage(0);
    return ms;
}

double RightsDriver::whoCanDoThis() {
    showPage(0);
    QTreeWidgetItem* before = selectCompany(m_targets.rightsCompany);
    QTreeWidgetItem* node = m_form.twOperations->item(m_targets.rightsOperationKey);
    rights::WhoCanDialog* dialog = nullptr;
    const double ms = measure([&] { dialog = mainwindow::ShowWhoCan(m_form, node); });
    check(dialog && dialog->lstWhoCan->topLevelItemCount() == m_targets.rightsOperationUsers,
          "frmWhoCan lists every user the operation is given to");
    delete dialog;
    m_form.lstAuthors->selectItem(before);
    return ms;
}
