#include "ui/groups/GroupListFillers.h"

#include "db/RecordSet.h"
#include "store/RecordQueries.h"
#include "ui/common/ImageList.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"

namespace groups {

using common::addRecord;

void FillGroupList(KeyedTreeWidget* list, bool withDescription) {
    db::RecordSet groups = store::GetGroups(0);
    common::FillGuard fill(list);
    list->clearKeyed();
    const QIcon icon = common::listIcon(list, ImageList::Group);
    for (; !groups.eof(); groups.moveNext()) {
        QTreeWidgetItem* item = addRecord(list, groups.field("grID"), groups.field("grCod"), icon);
        if (withDescription)
            item->setText(1, groups.field("grDenumire").toString());
    }
    groups.close();
}

void FillAuthorList(KeyedTreeWidget* list) {
    db::RecordSet authors = store::GetAuthors();
    common::FillGuard fill(list);
    list->clearKeyed();
    for (; !authors.eof(); authors.moveNext()) {
        QTreeWidgetItem* item = addRecord(list, authors.field("IdAuthor"), authors.field("Name"));
        item->setText(1, authors.field("NickName").toString());
    }
    authors.close();
}

} // namespace groups
