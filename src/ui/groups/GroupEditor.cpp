#include "ui/groups/GroupEditor.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/ImageList.h"
#include "ui/common/ItemKey.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/MessageBox.h"
#include "ui/common/ShowControl.h"
#include "ui/common/ShowErrors.h"
#include "ui/groups/BulkImageChange.h"
#include "ui/groups/GroupListFillers.h"
#include "ui/groups/GroupsPage.h"
#include "ui/groups/OperationTree.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QSet>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <optional>

namespace {

// Shows a text whole: a text box cuts what it is given to its maximum length, so a code, name or
// notes longer than the box takes (written by another program) would be shown, and saved, cut
// short. The box takes the text's length until its text fits the designed length again.
void showWhole(QLineEdit* box, const QString& text) {
    if (text.size() > box->maxLength())
        box->setMaxLength(int(text.size()));
    box->setText(text);
}

void clearFields(GroupsPage& f) {
    f.txtGrpName->clear();
    f.txtFullName->clear();
    f.txtNotes->clear();
}

// Empties the work point list and the tree's checks: what the editor shows of one company.
void clearCompany(GroupsPage& f, const ImageList& images) {
    f.lstPuncteLucru->clearKeyed();
    groups::ClearOperationChecks(f.twOperations, images);
}

} // namespace

GroupEditor::GroupEditor(GroupsPage& page, ImageList& images, QObject* parent)
    : QObject(parent), m_form(page), m_images(images) {
    m_form.twOperations->setExpandsOnDoubleClick(false);
    // Every node is one line with a 16-pixel picture; with rows of one height the view finds the
    // row under the pointer without measuring every row above it, which in a large tree would
    // make each click slow.
    m_form.twOperations->setUniformRowHeights(true);
    connect(m_form.lstAuthors, &QTreeWidget::itemDoubleClicked, this, [this] { lstAuthors_DblClick(); });
    connect(m_form.twOperations, &QTreeWidget::itemDoubleClicked, this, [this] { twOperations_DblClick(); });
    m_form.twOperations->installEventFilter(this);
    m_form.twOperations->viewport()->installEventFilter(this);
    // Typing stays bounded by the designed length once the text fits it (emptied, say).
    for (QLineEdit* box : {m_form.txtGrpName, m_form.txtFullName, m_form.txtNotes}) {
        const int designed = box->maxLength();
        connect(box, &QLineEdit::textChanged, box, [box, designed](const QString& text) {
            if (text.size() <= designed)
                box->setMaxLength(designed);
        });
    }
}

QTreeWidgetItem* GroupEditor::checkImageAt(const QPoint& position) const {
    QTreeWidget* tree = m_form.twOperations;
    QTreeWidgetItem* node = tree->itemAt(position);
    if (!node || node->icon(0).isNull())
        return nullptr;
    QStyleOptionViewItem option;
    option.initFrom(tree);
    option.rect = tree->visualItemRect(node);
    option.features = QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasDisplay;
    option.decorationSize = tree->iconSize();
    option.icon = node->icon(0);
    option.text = node->text(0);
    option.font = tree->font();
    const QRect image = tree->style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, tree);
    return image.contains(position) ? node : nullptr;
}

bool GroupEditor::eventFilter(QObject* watched, QEvent* event) {
    KeyedTreeWidget* tree = m_form.twOperations;
    if (watched == tree && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && tree->selectedItem()) {
        twOperations_DblClick();
        return true;
    }
    if (watched != tree->viewport())
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A click on a check image toggles it, like a check box; the node is selected first.
        if (QTreeWidgetItem* node =
                mouse->button() == Qt::LeftButton ? checkImageAt(mouse->position().toPoint()) : nullptr) {
            tree->selectItem(node);
            tree->setFocus(Qt::MouseFocusReason);
            twOperations_DblClick();
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        // The press of a double click on a check image has toggled it already.
        if (checkImageAt(mouse->position().toPoint()))
            return true;
        if (!tree->itemAt(mouse->position().toPoint()))
            twOperations_DblClick();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void GroupEditor::LoadGrp(int grID) {
    GroupsPage& f = m_form;
    bool complete = true;
    db::RecordSet group;
    complete &= passOver([&] { group = store::GetGroups(grID); });
    // A group that is gone is compared with nothing: its save finds it gone.
    m_version.grID = 0;
    if (group.isOpen() && !group.eof()) {
        complete &= passOver([&] { showWhole(f.txtGrpName, group.field(QStringLiteral("grCod")).toString()); });
        complete &= passOver([&] { showWhole(f.txtFullName, group.field(QStringLiteral("grDenumire")).toString()); });
        complete &= passOver([&] { showWhole(f.txtNotes, group.field(QStringLiteral("grobs")).toString()); });
        m_version.grID = grID;
        m_version.grCod = f.txtGrpName->text();
        m_version.grDenumire = f.txtFullName->text();
        m_version.grobs = f.txtNotes->text();
    } else if (group.isOpen()) {
        // The group is gone: the fields on screen are the group's shown before, and a save as a
        // new group would copy them.
        clearFields(f);
    }
    group.close();

    f.lstAuthors->untickAll();
    m_listedAuthors.clear();

    db::RecordSet authors;
    complete &= passOver([&] { authors = store::GetGroupAuthors(grID); });
    if (authors.isOpen()) {
        // A set that cannot move on would otherwise be read forever.
        while (!authors.eof()) {
            complete &= passOver([&] {
                const int auID = authors.field(QStringLiteral("auID")).toInt();
                m_listedAuthors.insert(auID);
                if (QTreeWidgetItem* author = f.lstAuthors->find(common::ItemKey(auID)))
                    author->setCheckState(0, Qt::Checked);
            });
            if (!passOver([&] { authors.moveNext(); })) {
                complete = false;
                break;
            }
        }
        authors.close();
    }
    m_groupLoaded = complete;

    if (QTreeWidgetItem* author = f.lstAuthors->selectedItem())
        lstAuthors_ItemClick(author);
    else
        showNoCompany();
    // A tree that lacks operations leaves the group's own fields and ticks true.
    if (!m_groupLoaded || !m_companyLoaded)
        emptyEditor();
    emit groupLoaded();
}

void GroupEditor::emptyEditor() {
    GroupsPage& f = m_form;
    // What was read is only part of the group: shown, it would look like a group without rights.
    clearFields(f);
    f.lstAuthors->untickAll();
    clearCompany(f, m_images);
}

void GroupEditor::showNoCompany() {
    // The work points and checks on screen are those of the group shown before (the company
    // list, filled empty, selects nothing to load): they are not this group's.
    clearCompany(m_form, m_images);
    m_version.auID = 0;
    m_version.operations.clear();
    m_version.workPoints.clear();
    m_version.listedWorkPoints.clear();
    m_workPointsError.clear();
    m_grantsShown = true;
    m_companyLoaded = true;
}

void GroupEditor::lstAuthors_ItemClick(QTreeWidgetItem* item) {
    if (!item)
        return;
    const auto loaded = qScopeGuard([this] { emit companyLoaded(); });
    GroupsPage& f = m_form;
    m_companyLoaded = false;
    m_grantsShown = true;
    m_workPointsError.clear();
    int auID = 0;
    bool pointsRead = false;
    const bool read = common::showErrors(QStringLiteral("lstAuthors_ItemClick"), [&] {
        auID = KeyedTreeWidget::tagOf(item).toInt();
        int grID = 0;
        if (QTreeWidgetItem* group = f.lstGroupsConfig->selectedItem())
            grID = KeyedTreeWidget::keyOf(group).mid(1).toInt();

        // Cleared within the fill: the work points of the company shown already are taken back
        // rather than made anew (a click on another group mostly keeps the company).
        f.lstPuncteLucru->beginFill();
        const auto endFill = qScopeGuard([&] { f.lstPuncteLucru->endFill(); });
        f.lstPuncteLucru->clearKeyed();
        m_version.auID = auID;
        m_version.operations.clear();
        m_version.workPoints.clear();
        m_version.listedWorkPoints.clear();
        std::optional<db::DbError> pointsFailure;
        db::RecordSet points = store::GetWorkPoints(auID, grID, &pointsFailure);
        if (pointsFailure)
            m_workPointsError = pointsFailure->description();
        if (points.isOpen()) {
            for (; !points.eof(); points.moveNext()) {
                const int id = points.field(QStringLiteral("idpctLucru")).toInt();
                const QString name = points.field(QStringLiteral("Name")).toString();
                // A Null grID reads as 0: the group does not hold the work point.
                const bool held = points.field(QStringLiteral("grID")).toInt() != 0;
                // A work point the group holds twice comes once per grant row: it is listed once.
                // Two work points sharing an id still stop the list at the second.
                if (QTreeWidgetItem* listed = f.lstPuncteLucru->find(common::ItemKey(id));
                    listed && listed->text(0) == name) {
                    if (held) {
                        listed->setCheckState(0, Qt::Checked);
                        m_version.workPoints.insert(id);
                    }
                    continue;
                }
                QTreeWidgetItem* point = f.lstPuncteLucru->addKeyed(common::ItemKey(id), name);
                KeyedTreeWidget::setTag(point, id);
                if (!(point->flags() & Qt::ItemIsUserCheckable))
                    point->setFlags(point->flags() | Qt::ItemIsUserCheckable);
                point->setCheckState(0, held ? Qt::Checked : Qt::Unchecked);
                m_version.listedWorkPoints.insert(id);
                if (held)
                    m_version.workPoints.insert(id);
            }
            points.close();
            pointsRead = true;
        }
        groups::ClearOperationChecks(f.twOperations, m_images);
    });
    if (!read)
        return;

    // From here on a failing statement is passed over: the tree keeps the checks set so far.
    QTreeWidgetItem* group = f.lstGroupsConfig->selectedItem();
    if (!group) {
        m_companyLoaded = pointsRead;
        return;
    }
    // The grants are read also for a company whose box is off, which shows none of them, so that
    // they are not taken for a change someone else made. When the administrator unticked the box
    // of a company the group lists, a save removes them knowingly; when the database holds grants
    // of a company it does not list, the box was never on and a save keeps them.
    const bool shown = item->checkState(0) == Qt::Checked;
    m_grantsShown = shown || m_listedAuthors.contains(auID);
    bool complete = pointsRead;
    db::RecordSet granted;
    complete &= passOver([&] { granted = store::GetGroupOperations(auID, KeyedTreeWidget::tagOf(group).toInt()); });
    if (!granted.isOpen()) {
        m_companyLoaded = false;
        return;
    }
    const BulkImageChange bulk(f.twOperations);
    QSet<int> modules;
    while (!granted.eof()) {
        // An operation that has no node, or a parent operation (no check image), is not shown
        // and is no failure.
        complete &= passOver([&] {
            const int mdID = granted.field(QStringLiteral("mdID")).toInt();
            const QString key = groups::operationKey(granted.field(QStringLiteral("opID")).toInt(), mdID,
                                                     granted.field(QStringLiteral("Id")).toInt());
            m_version.operations.insert(
                {granted.field(QStringLiteral("opID")).toInt(), granted.field(QStringLiteral("Id")).toInt()});
            QTreeWidgetItem* node = shown ? f.twOperations->find(key) : nullptr;
            if (node && groups::imageOf(node) != CheckImage::None) {
                groups::setImage(node, CheckImage::Checked, m_images);
                modules.insert(mdID);
            }
        });
        if (!passOver([&] { granted.moveNext(); })) {
            complete = false;
            break;
        }
    }
    granted.close();
    // Each module shows what its operations add up to, as after a double click.
    for (const int mdID : std::as_const(modules))
        groups::UpdateModuleImage(f.twOperations, mdID, m_images);
    m_companyLoaded = complete;
}

void GroupEditor::lstAuthors_DblClick() {
    if (QTreeWidgetItem* item = m_form.lstAuthors->selectedItem())
        KeyedTreeWidget::invertCheck(item);
}

void GroupEditor::twOperations_DblClick() {
    GroupsPage& f = m_form;
    QTreeWidgetItem* author = f.lstAuthors->selectedItem();
    if (!author) {
        common::MsgBox(QStringLiteral("Selectati authorul!"), 48, common::AppTitle(), f.picUserGroups->window());
        common::showControl(f.lstAuthors);
        return;
    }
    if (QTreeWidgetItem* node = f.twOperations->selectedItem())
        groups::toggleNode(f.twOperations, node, m_images);
    author->setCheckState(0, groups::hasCheckedNode(f.twOperations) ? Qt::Checked : Qt::Unchecked);
}
