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
    const int id = groups.fieldIndex("grID");
    const int code = groups.fieldIndex("grCod");
    const int name = groups.fieldIndex("grDenumire");
    for (; !groups.eof(); groups.moveNext()) {
        QTreeWidgetItem* item = addRecord(list, groups.field(id), groups.field(code), icon);
        if (withDescription)
            item->setText(1, groups.field(name).toString());
        else
            item->setToolTip(0, groups.field(name).toString());
    }
    groups.close();
}

void FillAuthorList(KeyedTreeWidget* list) {
    db::RecordSet authors = store::GetAuthors();
    common::FillGuard fill(list);
    list->clearKeyed();
    const int id = authors.fieldIndex("IdAuthor");
    const int name = authors.fieldIndex("Name");
    const int nickName = authors.fieldIndex("NickName");
    for (; !authors.eof(); authors.moveNext()) {
        QTreeWidgetItem* item = addRecord(list, authors.field(id), authors.field(name));
        item->setText(1, authors.field(nickName).toString());
    }
    authors.close();
}

} // namespace groups
