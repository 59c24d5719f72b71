#include "ui/main/RightsCommands.h"

#include "session/LoginComponent.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ShowErrors.h"
#include "ui/common/TabControl.h"
#include "ui/groups/OperationTree.h"
#include "ui/main/frmMain.h"
#include "ui/rights/EffectiveRightsDialog.h"
#include "ui/rights/ReportCommands.h"
#include "ui/rights/WhoCanDialog.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace mainwindow {

using rights::RightsReport;
using store::ReportScope;

namespace {

rights::Suite suiteOf(const frmMain& form) {
    return {form.login().ServerName(), form.login().DatabaseName()};
}

QString userText(const QTreeWidgetItem* user) {
    return user->text(1).isEmpty() ? user->text(0) : QStringLiteral("%1 (%2)").arg(user->text(0), user->text(1));
}

// The report of a user item of lstUsers, a group item of lstGroupsConfig, or (null) the suite.
RightsReport reportOf(const frmMain& form, const QTreeWidget* list, const QTreeWidgetItem* item) {
    const int id = KeyedTreeWidget::tagOf(item).toInt();
    if (item && list == form.lstUsers)
        return RightsReport(ReportScope::User, id, QStringLiteral("user ") + userText(item), suiteOf(form));
    if (item) {
        const QString name = item->toolTip(0);
        return RightsReport(ReportScope::Group, id,
                            QStringLiteral("group ") + item->text(0) +
                                (name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(name)),
                            suiteOf(form));
    }
    return RightsReport(ReportScope::Suite, 0, QStringLiteral("the whole suite"), suiteOf(form));
}

// Adds the three ways to a report: CSV, print preview, PDF. item is found again when the action
// runs (null: the list's selected item; no list: the suite).
void addReportActions(QMenu* menu, frmMain& form, KeyedTreeWidget* list, QTreeWidgetItem* item, const QString& what,
                      const QString& name) {
    const auto report = [&form, list, item] {
        QTreeWidgetItem* of = !list ? nullptr : item ? item : list->selectedItem();
        return reportOf(form, list, of);
    };
    const auto add = [&](const QString& text, const QString& suffix, void (*command)(QWidget*, const RightsReport&)) {
        QAction* action = menu->addAction(text.arg(what));
        action->setObjectName(name + suffix);
        // Without a selected item there is no report of one.
        action->setEnabled(!list || item || list->selectedItem());
        QObject::connect(action, &QAction::triggered, &form, [&form, report, command] {
            common::showErrors(QStringLiteral("RightsReport()"), [&] { command(&form, report()); });
        });
    };
    add(QStringLiteral("Rights report of %1 as CSV..."), QStringLiteral("Csv"), &rights::ExportCsvAsked);
    add(QStringLiteral("Print preview of the rights of %1..."), QStringLiteral("Preview"), &rights::PrintPreview);
    add(QStringLiteral("Rights report of %1 as PDF..."), QStringLiteral("Pdf"), &rights::ExportPdfAsked);
}

void addSuiteActions(QMenu* menu, frmMain& form) {
    menu->addSeparator();
    addReportActions(menu, form, nullptr, nullptr, QStringLiteral("the whole suite"), QStringLiteral("mnuSuiteReport"));
}

// The button's menu is made anew as it opens, so that it names the selected item.
void attachMenu(QToolButton* button, const std::function<void(QMenu*)>& fill) {
    auto* menu = new QMenu(button);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, fill] {
        menu->clear();
        fill(menu);
    });
}

void connectContextMenu(frmMain& form, QTreeWidget* list) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, &form, [&form, list](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(RightsMenu(form, list, list->itemAt(at)));
        if (menu)
            menu->exec(list->viewport()->mapToGlobal(at));
    });
}

QAction* windowKey(frmMain& form, const char* name, const QKeySequence& key, const std::function<void()>& run) {
    auto* action = new QAction(&form);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    form.addAction(action);
    QObject::connect(action, &QAction::triggered, &form, run);
    return action;
}

} // namespace

QMenu* RightsMenu(frmMain& form, QTreeWidget* list, QTreeWidgetItem* item) {
    if (!item)
        return nullptr;
    auto menu = std::make_unique<QMenu>(&form);
    if (list == form.lstUsers) {
        QAction* rightsOf = menu->addAction(QStringLiteral("Effective rights of %1...").arg(item->text(0)));
        rightsOf->setObjectName(QStringLiteral("mnuEffectiveRights"));
        QObject::connect(rightsOf, &QAction::triggered, &form, [&form, item] { ShowEffectiveRights(form, item); });
        menu->addSeparator();
        addReportActions(menu.get(), form, form.lstUsers, item, item->text(0), QStringLiteral("mnuUserReport"));
    } else if (list == form.lstGroupsConfig) {
        addReportActions(menu.get(), form, form.lstGroupsConfig, item, item->text(0), QStringLiteral("mnuGroupReport"));
    } else if (list == form.twOperations && !groups::isModuleNode(item)) {
        QTreeWidgetItem* company = form.lstAuthors->selectedItem();
        QAction* whoCan =
            menu->addAction(company ? QStringLiteral("Who can run %1 in %2...").arg(item->text(0), company->text(0))
                                    : QStringLiteral("Who can run %1 (select a company first)").arg(item->text(0)));
        whoCan->setObjectName(QStringLiteral("mnuWhoCanRun"));
        whoCan->setEnabled(company != nullptr);
        QObject::connect(whoCan, &QAction::triggered, &form, [&form, item] { ShowWhoCan(form, item); });
    } else if (list == form.lstPuncteLucru) {
        QAction* whoCan = menu->addAction(QStringLiteral("Who can use %1...").arg(item->text(0)));
        whoCan->setObjectName(QStringLiteral("mnuWhoCanUse"));
        QObject::connect(whoCan, &QAction::triggered, &form, [&form, item] { ShowWhoCan(form, item); });
    } else {
        return nullptr;
    }
    return menu.release();
}

rights::EffectiveRightsDialog* ShowEffectiveRights(frmMain& form, QTreeWidgetItem* user) {
    if (!user)
        return nullptr;
    auto* dialog = new rights::EffectiveRightsDialog(KeyedTreeWidget::tagOf(user).toInt(), userText(user),
                                                     *form.ImageList1, suiteOf(form), &form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const int company = KeyedTreeWidget::tagOf(form.lstAuthors->selectedItem()).toInt();
    if (!common::showErrors(QStringLiteral("EffectiveRights()"), [&] { dialog->load(company); })) {
        delete dialog;
        return nullptr;
    }
    dialog->show();
    return dialog;
}

rights::WhoCanDialog* ShowWhoCan(frmMain& form, QTreeWidgetItem* item) {
    QTreeWidgetItem* company = form.lstAuthors->selectedItem();
    if (!item || !company)
        return nullptr;
    const bool operation = item->treeWidget() == form.twOperations;
    QString subject;
    if (operation) {
        const QTreeWidgetItem* module = item;
        while (module->parent())
            module = module->parent();
        subject = QStringLiteral("%1 (module %2) in %3").arg(item->text(0), module->text(0), company->text(0));
    } else {
        subject = QStringLiteral("work point %1 of %2").arg(item->text(0), company->text(0));
    }
    auto* dialog = new rights::WhoCanDialog(subject, &form);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const bool loaded = common::showErrors(QStringLiteral("WhoCan()"), [&] {
        if (!operation) {
            dialog->loadWorkPoint(KeyedTreeWidget::tagOf(item).toInt());
            return;
        }
        // An operation's key is "k" + opID + "#$#" + mdID + "#$#" + Id.
        const QStringList fields = KeyedTreeWidget::keyOf(item).mid(1).split(groups::Separator);
        dialog->loadOperation(KeyedTreeWidget::tagOf(company).toInt(), fields.value(0).toInt(),
                              fields.value(2).toInt());
    });
    if (!loaded) {
        delete dialog;
        return nullptr;
    }
    dialog->show();
    return dialog;
}

void ConnectRights(frmMain& form) {
    QAction* effective = windowKey(form, "keyEffectiveRights", QKeySequence(Qt::CTRL | Qt::Key_E),
                                   [&form] { ShowEffectiveRights(form, form.lstUsers->selectedItem()); });
    effective->setText(QStringLiteral("Effective rights of the selected user..."));
    windowKey(form, "keyReportPreview", QKeySequence::Print, [&form] {
        KeyedTreeWidget* list = form.SSTab1->currentIndex() == 1 ? form.lstUsers : form.lstGroupsConfig;
        if (QTreeWidgetItem* item = list->selectedItem())
            common::showErrors(QStringLiteral("RightsReport()"),
                               [&] { rights::PrintPreview(&form, reportOf(form, list, item)); });
    });
    attachMenu(form.cbutUserRights, [&form, effective](QMenu* menu) {
        menu->addAction(effective);
        menu->addSeparator();
        addReportActions(menu, form, form.lstUsers, nullptr, QStringLiteral("the selected user"),
                         QStringLiteral("mnuUserReport"));
        addSuiteActions(menu, form);
    });
    attachMenu(form.cbutGroupReport, [&form](QMenu* menu) {
        addReportActions(menu, form, form.lstGroupsConfig, nullptr, QStringLiteral("the selected group"),
                         QStringLiteral("mnuGroupReport"));
        addSuiteActions(menu, form);
    });
    for (QTreeWidget* list :
         {static_cast<QTreeWidget*>(form.lstUsers), static_cast<QTreeWidget*>(form.lstGroupsConfig),
          static_cast<QTreeWidget*>(form.twOperations), static_cast<QTreeWidget*>(form.lstPuncteLucru)})
        connectContextMenu(form, list);
}

} // namespace mainwindow
