#include "db/DbError.h"
#include "support/WindowFixture.h"
#include "ui/common/ItemKey.h"
#include "ui/common/ItemRoles.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeItem.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/ListFill.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

// The items of keyed lists and combo boxes as a view and a user see them: what changes after an
// item is shown reaches the view, sorting orders them as plain tree items are ordered, and a
// combo box finds its items by key after it is filled again.
namespace {

// Rows of texts (column 0, column 1); an empty second text means the column has none.
const QList<QStringList> SortRows = {
    {"Ștefan", "b"}, {"stefan", ""}, {"Andrei", "a"}, {"ana", "á"}, {"Ana", "a"}, {"Zoe", "Ă"}, {"Îon", "ion"},
    {"Ion", ""},     {"Ana", "a"},   {"10", "9"},     {"9", "10"},  {"", "z"},    {"ă", "A"},   {"a", "ă"},
};

// The keys of the top-level items in the order the list shows them.
QStringList shownKeys(const QTreeWidget* list) {
    QStringList keys;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        keys << list->topLevelItem(i)->data(0, common::KeyRole).toString();
    return keys;
}

} // namespace

class TestKeyedItems : public QObject {
    Q_OBJECT

private slots:
    void changesAfterInsertionReachTheView() {
        KeyedTreeWidget list;
        list.setColumnCount(2);
        list.setCheckBoxes(true);
        list.beginFill();
        for (int i = 1; i <= 3; ++i)
            KeyedTreeWidget::setTag(list.addKeyed(QStringLiteral("k%1").arg(i), QStringLiteral("Item %1").arg(i)), i);
        list.endFill();
        list.resize(300, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));

        QSignalSpy changed(&list, &QTreeWidget::itemChanged);
        QTreeWidgetItem* second = list.item(QStringLiteral("k2"));
        clickItem(&list, second, QStyle::SE_ItemViewItemCheckIndicator);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QTreeWidgetItem*>(), second);
        QCOMPARE(second->checkState(0), Qt::Checked);
        clickItem(&list, second, QStyle::SE_ItemViewItemCheckIndicator);
        QCOMPARE(second->checkState(0), Qt::Unchecked);
        QCOMPARE(list.item(QStringLiteral("k1"))->checkState(0), Qt::Unchecked);

        // What the model hands the view (and the delegate paints) follows each later change.
        const QModelIndex row = list.indexFromItem(second);
        second->setText(1, QStringLiteral("later"));
        second->setFont(0, [] {
            QFont bold;
            bold.setBold(true);
            return bold;
        }());
        KeyedTreeWidget::setTag(second, 42);
        second->setData(0, common::ImageRole, 3);
        QCOMPARE(list.model()->data(row.siblingAtColumn(1)).toString(), QStringLiteral("later"));
        QVERIFY(list.model()->data(row, Qt::FontRole).value<QFont>().bold());
        QCOMPARE(list.model()->data(row, common::TagRole), QVariant(42));
        QCOMPARE(list.model()->data(row, common::ImageRole), QVariant(3));
        QCOMPARE(KeyedTreeWidget::tagOf(second), QVariant(42));
        QCOMPARE(changed.count(), 6);

        // An item that addKeyed did not make keeps its key and tag in the roles as well.
        auto* plain = new QTreeWidgetItem(&list, QStringList{QStringLiteral("plain")});
        plain->setData(0, common::KeyRole, QStringLiteral("p1"));
        KeyedTreeWidget::setTag(plain, 7);
        QCOMPARE(KeyedTreeWidget::keyOf(plain), QStringLiteral("p1"));
        QCOMPARE(KeyedTreeWidget::tagOf(plain), QVariant(7));
        QCOMPARE(KeyedTreeWidget::keyOf(list.headerItem()), QString());
    }

    // An item holds the texts of its columns together; every change of one column must leave the
    // others as a plain item leaves them, whatever the texts' lengths.
    void columnTextsReadBackAsAPlainItemsDo() {
        KeyedTreeWidget list;
        list.setColumnCount(4);
        auto* keyed = static_cast<KeyedTreeItem*>(list.addKeyed(QStringLiteral("k1"), QStringLiteral("code")));
        QTreeWidgetItem plain(QStringList{QStringLiteral("code")});
        const QString longText = QString(70000, QChar(u'ț')) + QString::fromUtf8("😀");
        const auto check = [&](const char* step) {
            for (int column = 0; column < 5; ++column)
                QVERIFY2(keyed->text(column) == plain.text(column) &&
                             keyed->textAt(column) == QStringView(plain.text(column)),
                         qPrintable(QStringLiteral("%1, column %2").arg(step).arg(column)));
        };
        keyed->setTexts({u"user.one", u"User One", u"Popescu Ion"});
        for (const auto& [column, text] : {std::pair{0, "user.one"}, {1, "User One"}, {2, "Popescu Ion"}})
            plain.setText(column, QString::fromUtf8(text));
        check("all at once");
        keyed->setText(3, longText);
        plain.setText(3, longText);
        check("a long last text");
        for (const auto& [column, text] : {std::pair{1, QString()}, {0, QStringLiteral("x")}, {2, longText}}) {
            keyed->setText(column, text);
            plain.setText(column, text);
            check("one column changed");
        }
        for (const int column : {3, 2}) {
            keyed->setText(column, QString());
            plain.setText(column, QString());
        }
        check("the later columns emptied");
        keyed->setTexts({u"only"});
        plain.setText(0, QStringLiteral("only"));
        check("one text");
    }

    void comboTextsReadBackAsAPlainBoxsDo() {
        KeyedComboBox keyed;
        QComboBox plain;
        for (const QString& text : QStringList{"Avram Ana", "Ionescu Maria", "Popescu Ion", "Zamfir Dan"}) {
            keyed.addKeyed(QStringLiteral("k%1").arg(keyed.count() + 7), text, keyed.count() + 7);
            plain.addItem(text);
        }
        for (QComboBox* box : {static_cast<QComboBox*>(&keyed), &plain}) {
            box->setItemText(1, QStringLiteral("Ionescu Maria Magdalena"));
            box->setItemText(2, QString());
            box->insertItem(1, QStringLiteral("Ștefănescu Ana"));
            box->removeItem(0);
            box->setItemText(3, QStringLiteral("Pop"));
        }
        QCOMPARE(keyed.count(), plain.count());
        for (int i = 0; i < plain.count(); ++i)
            QCOMPARE(keyed.itemText(i), plain.itemText(i));
        QCOMPARE(keyed.indexOfKey(QStringLiteral("k10")), 3);
    }

    void sortsAsPlainItemsSort_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        for (int column : {0, 1})
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder})
                QTest::addRow("column %d %s", column, order == Qt::AscendingOrder ? "up" : "down")
                    << column << int(order);
    }

    void sortsAsPlainItemsSort() {
        QFETCH(int, column);
        QFETCH(int, order);
        KeyedTreeWidget keyed;
        QTreeWidget plain;
        for (QTreeWidget* list : {static_cast<QTreeWidget*>(&keyed), &plain})
            list->setColumnCount(2);
        for (int i = 0; i < SortRows.size(); ++i) {
            const QString key = QStringLiteral("k%1").arg(i);
            const QStringList& texts = SortRows.at(i);
            QTreeWidgetItem* item = keyed.addKeyed(key, texts.at(0));
            auto* reference = new QTreeWidgetItem(&plain, QStringList{texts.at(0)});
            reference->setData(0, common::KeyRole, key);
            if (!texts.at(1).isEmpty()) {
                item->setText(1, texts.at(1));
                reference->setText(1, texts.at(1));
            }
        }
        keyed.sortItems(column, Qt::SortOrder(order));
        plain.sortItems(column, Qt::SortOrder(order));
        QCOMPARE(shownKeys(&keyed), shownKeys(&plain));

        // On a sorted list an item whose text changes moves to its new place, as a plain one does.
        for (QTreeWidget* list : {static_cast<QTreeWidget*>(&keyed), &plain}) {
            list->setSortingEnabled(true);
            list->sortByColumn(column, Qt::SortOrder(order));
            list->topLevelItem(0)->setText(column, QStringLiteral("m"));
        }
        QVERIFY(keyed.topLevelItem(0)->text(column) != QStringLiteral("m"));
        QCOMPARE(shownKeys(&keyed), shownKeys(&plain));
    }

    // A filter shows its items in the order the list had; on a sorted list, what changed while
    // items were out of view (a text, a new item) must still come back in its sorted place.
    void aSortedListComesBackSortedAfterAFilter() {
        KeyedTreeWidget list;
        const QStringList texts = {"delta", "alfa", "echo", "charlie", "bravo"};
        for (int i = 0; i < texts.size(); ++i)
            list.addKeyed(QStringLiteral("k%1").arg(40 + i), texts[i]);
        list.sortByColumn(0, Qt::AscendingOrder);
        list.setSortingEnabled(true);
        QCOMPARE(shownKeys(&list), QStringList({"k41", "k44", "k43", "k40", "k42"}));
        const auto withA = [](const QTreeWidgetItem* item) { return item->text(0).contains(QLatin1Char('a')); };

        list.filterTopLevel(withA, false);
        QCOMPARE(shownKeys(&list), QStringList({"k41", "k44", "k43", "k40"}));
        QSignalSpy sortChanged(list.header(), &QHeaderView::sortIndicatorChanged);
        list.clearFilter();
        QCOMPARE(shownKeys(&list), QStringList({"k41", "k44", "k43", "k40", "k42"}));
        // Sorting is back as it was, and keeps an item added now in its place.
        QVERIFY(list.isSortingEnabled() && list.header()->isSortIndicatorShown());
        QCOMPARE(list.header()->sortIndicatorSection(), 0);
        QCOMPARE(list.header()->sortIndicatorOrder(), Qt::AscendingOrder);
        QCOMPARE(sortChanged.count(), 0);
        list.addKeyed("k46", "coda");
        QCOMPARE(shownKeys(&list), QStringList({"k41", "k44", "k43", "k46", "k40", "k42"}));
        list.removeKeyed("k46");

        list.filterTopLevel(withA, false);
        list.find("k42")->setText(0, "able"); // out of view
        list.clearFilter();
        QCOMPARE(shownKeys(&list), QStringList({"k42", "k41", "k44", "k43", "k40"}));

        list.filterTopLevel(withA, false);
        list.addKeyed("k45", "beta");
        list.clearFilter();
        QCOMPARE(shownKeys(&list), QStringList({"k42", "k41", "k45", "k44", "k43", "k40"}));
    }

    // A change larger than a slice comes into view slice by slice: what the list holds in the
    // meantime (the selection, items added or removed, the next change) must not be lost or doubled.
    void aLargeChangeComesInSliceBySlice() {
        KeyedTreeWidget list;
        list.setFilterSlices(3, 2);
        for (int i = 0; i < 12; ++i)
            list.addKeyed(QStringLiteral("k%1").arg(70 + i),
                          i % 2 ? QStringLiteral("odd %1").arg(i) : QStringLiteral("even %1").arg(i));
        QStringList all = shownKeys(&list);
        const QStringList odd = {"k71", "k73", "k75", "k77", "k79", "k81"};
        const auto isOdd = [](const QTreeWidgetItem* item) { return item->text(0).startsWith(QLatin1String("odd")); };
        list.selectItem(list.find("k79"));

        list.filterTopLevel(isOdd, false); // the first slice tests three items
        QCOMPARE(shownKeys(&list), QStringList({"k71"}));
        QVERIFY(list.isFilterPending());
        QCOMPARE(KeyedTreeWidget::keyOf(list.selectedItem()), QString("k79"));
        QTRY_VERIFY(!list.isFilterPending());
        QCOMPARE(shownKeys(&list), odd);
        QCOMPARE(list.selectedItems().size(), 1);
        QCOMPARE(KeyedTreeWidget::keyOf(list.selectedItems().first()), QString("k79"));

        // Esc slice by slice; meanwhile an item is added and one removed.
        list.clearFilter(false);
        QVERIFY(list.isFilterPending());
        list.addKeyed("k90", "late");
        list.removeKeyed("k80");
        all.removeOne("k80");
        all.append("k90");
        QTRY_VERIFY(!list.isFilterPending());
        QVERIFY(!list.isFiltered());
        QCOMPARE(shownKeys(&list), all);

        // A new change during a tail starts from what the last one kept; clearing now ends at once.
        list.filterTopLevel(isOdd, false);
        list.filterTopLevel([](const QTreeWidgetItem* item) { return item->text(0).endsWith(QLatin1Char('1')); }, true);
        QTRY_VERIFY(!list.isFilterPending());
        QCOMPARE(shownKeys(&list), QStringList({"k71", "k81"}));
        list.filterTopLevel(isOdd, false);
        list.clearFilter(true);
        QVERIFY(!list.isFilterPending() && !list.isFiltered());
        QCOMPARE(shownKeys(&list), all);
    }

    void aRefillShowsExactlyWhatItAdds() {
        KeyedTreeWidget list;
        list.setCheckBoxes(true);
        const auto fill = [&list](const QStringList& keys) {
            list.beginFill();
            list.clearKeyed();
            for (const QString& key : keys)
                list.addKeyed(key, QStringLiteral("text ") + key);
            list.endFill();
        };
        const auto shown = [&list] {
            QStringList keys;
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                keys << KeyedTreeWidget::keyOf(list.topLevelItem(i)) + QLatin1Char('=') + list.topLevelItem(i)->text(0);
            return keys;
        };
        fill({"k1", "k2", "k3", "k4"});
        list.find("k1")->setCheckState(0, Qt::Checked);
        list.find("k1")->setText(0, QStringLiteral("changed"));
        list.selectItem(list.find("k2"));
        // k3 gives way to k5: everything from there on is made anew, in the order added.
        fill({"k1", "k2", "k5", "k4"});
        QCOMPARE(shown(), QStringList({"k1=text k1", "k2=text k2", "k5=text k5", "k4=text k4"}));
        QCOMPARE(list.find("k1")->checkState(0), Qt::Unchecked);
        QVERIFY(!list.selectedItem());
        QCOMPARE(list.keyedCount(), 4);
        fill({"k1"});
        QCOMPARE(shown(), QStringList({"k1=text k1"}));
        QVERIFY(!list.find("k2"));
        // A key met twice stops the fill with the items added before it.
        QVERIFY_THROWS_EXCEPTION(db::DbError, [&] {
            const common::FillGuard guard(&list);
            list.clearKeyed();
            list.addKeyed("k1", "text k1");
            list.addKeyed("k1", "text k1");
        }());
        QCOMPARE(shown(), QStringList({"k1=text k1"}));
        fill({});
        QCOMPARE(list.topLevelItemCount(), 0);
    }

    void theListKnowsItsTickedItems() {
        KeyedTreeWidget list;
        list.setCheckBoxes(true);
        list.beginFill();
        list.addKeyed("k1", "one");
        list.addKeyed("k2", "two")->setCheckState(0, Qt::Checked); // ticked before it is shown
        list.addKeyed("k3", "three");
        list.endFill();
        list.find("k3")->setCheckState(0, Qt::PartiallyChecked);
        const auto ticked = [&list] {
            QStringList keys;
            for (const QTreeWidgetItem* item : list.tickedItems())
                keys << KeyedTreeWidget::keyOf(item);
            keys.sort();
            return keys;
        };
        QCOMPARE(ticked(), QStringList({"k2", "k3"}));
        list.removeKeyed("k3");
        QCOMPARE(ticked(), QStringList({"k2"}));
        list.untickAll();
        QCOMPARE(ticked(), QStringList());
        QCOMPARE(list.find("k2")->checkState(0), Qt::Unchecked);
        list.find("k1")->setCheckState(0, Qt::Checked);
        list.clearKeyed();
        QCOMPARE(ticked(), QStringList());
    }

    // Keys of the shapes the fillers make are held as numbers, any other key as text: each is found
    // and given back exactly as added, and keys that read alike as numbers stay distinct.
    void keysOfEveryShapeAreFoundAndGivenBack() {
        const QStringList keys = {"k1",
                                  "k0",
                                  "k-5",
                                  "k2147483647",
                                  "k2147483648",
                                  "k007",
                                  "k7",
                                  "k+7",
                                  "m12",
                                  "m012",
                                  "k1#$#2#$#3",
                                  "k1#$#2",
                                  "k1#$#02#$#3",
                                  "k1#$#2#$#3#$#4",
                                  "k1#$#",
                                  "kx",
                                  "x",
                                  "",
                                  QString::fromUtf8("ș5"),
                                  "K9",
                                  "k 1",
                                  "1",
                                  "k-0",
                                  "m12 "};
        KeyedTreeWidget list;
        KeyedComboBox combo;
        for (int i = 0; i < keys.size(); ++i) {
            list.addKeyed(keys[i], QString::number(i));
            combo.addKeyed(keys[i], QString::number(i), i);
        }
        QCOMPARE(list.keyedCount(), keys.size());
        for (int i = 0; i < keys.size(); ++i) {
            QTreeWidgetItem* item = list.find(keys[i]);
            QVERIFY2(item && item->text(0) == QString::number(i), qPrintable(keys[i]));
            QCOMPARE(KeyedTreeWidget::keyOf(item), keys[i]);
            QCOMPARE(item->data(0, common::KeyRole).toString(), keys[i]);
            QCOMPARE(combo.indexOfKey(keys[i]), i);
            QCOMPARE(combo.itemData(i, common::KeyRole).toString(), keys[i]);
        }
        QVERIFY(!list.find("k8") && !list.find("k1#$#2#$#4") && !list.find("k08"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, list.addKeyed("k1#$#2#$#3", "again"));

        // A key given as numbers is the key of the same text, whichever way it is added or asked for.
        QVERIFY_THROWS_EXCEPTION(db::DbError, list.addKeyed(PackedKey{{1, 2, 3}, u'k', 3}, "again"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, combo.addKeyed(common::PackedItemKey(-5), "again", 0));
        QTreeWidgetItem* packed = list.addKeyed(common::PackedItemKey(31), "numbers");
        QCOMPARE(list.find("k31"), packed);
        QCOMPARE(KeyedTreeWidget::keyOf(packed), QStringLiteral("k31"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, list.addKeyed("k31", "again"));
        combo.addKeyed(common::PackedItemKey(31), "numbers", 31);
        QCOMPARE(combo.indexOfKey(QStringLiteral("k31")), keys.size());
        QCOMPARE(combo.indexOfKey(common::PackedItemKey(2147483647)), keys.indexOf("k2147483647"));
        list.removeKeyed("k31");

        // A key changed through its role moves between the two forms and reads back as set.
        QTreeWidgetItem* item = list.find("k007");
        for (const QString key : {"k9#$#8#$#7", "free text", "m3"}) {
            item->setData(0, common::KeyRole, key);
            QCOMPARE(KeyedTreeWidget::keyOf(item), key);
        }
        combo.model()->setData(combo.model()->index(0, 0), QStringLiteral("k0042"), common::KeyRole);
        QCOMPARE(combo.itemData(0, common::KeyRole).toString(), QStringLiteral("k0042"));

        // Removing by key removes that item only.
        for (const QString key : {"k7", "k1#$#2", "", "m12"})
            list.removeKeyed(key);
        QCOMPARE(list.keyedCount(), keys.size() - 4);
        QVERIFY(!list.find("k7") && !list.find("m12") && list.find("k1#$#2#$#3") && list.find("m012"));
    }

    // The combo box gives back every key and tag as added, whatever their kinds, and in whatever
    // order the kinds come: ints with the keys made of them, other keys, other tags, rows the box
    // adds itself.
    void comboKeepsKeysAndTagsOfEveryKind_data() {
        QTest::addColumn<int>("oddRow");
        for (int row = 0; row < 4; ++row)
            QTest::addRow("odd row %d", row) << row;
    }
    void comboKeepsKeysAndTagsOfEveryKind() {
        QFETCH(int, oddRow);
        struct Row {
            QString key;
            QVariant tag;
        };
        QList<Row> rows = {{"k1", 1}, {"k2", 2}, {"k3", 3}, {"k4", 4}};
        const QList<Row> odd = {{"p5", 5}, {"k6", QString("six")}, {"k7", qlonglong(7)}, {"k08", 8}};
        for (const Row& row : odd) {
            QList<Row> mixed = rows;
            mixed[oddRow] = row;
            KeyedComboBox combo;
            combo.beginFill();
            for (const Row& r : mixed)
                combo.addKeyed(r.key, r.key + QStringLiteral(" text"), r.tag);
            combo.endFill();
            combo.addItem(QStringLiteral("plain"));
            QCOMPARE(combo.count(), 5);
            for (int i = 0; i < mixed.size(); ++i) {
                QCOMPARE(combo.indexOfKey(mixed[i].key), i);
                QCOMPARE(combo.itemData(i, common::KeyRole).toString(), mixed[i].key);
                QCOMPARE(combo.itemData(i, common::TagRole), mixed[i].tag);
            }
            QCOMPARE(combo.itemData(4, common::KeyRole).toString(), QString());
            QVERIFY(!combo.itemData(4, common::TagRole).isValid());
            // A tag changed alone leaves the key as it was, and the other way round.
            combo.setItemData(oddRow == 0 ? 1 : 0, 40, common::TagRole);
            combo.setItemData(2, QStringLiteral("k99"), common::KeyRole);
            QCOMPARE(combo.itemData(oddRow == 0 ? 1 : 0, common::KeyRole).toString(), mixed[oddRow == 0 ? 1 : 0].key);
            QCOMPARE(combo.itemData(oddRow == 0 ? 1 : 0, common::TagRole), QVariant(40));
            QCOMPARE(combo.itemData(2, common::KeyRole).toString(), QStringLiteral("k99"));
            QCOMPARE(combo.itemData(2, common::TagRole), mixed[2].tag);
            combo.removeItem(0);
            QCOMPARE(combo.itemData(0, common::KeyRole).toString(), mixed[1].key);
        }
    }

    void comboFindsItemsByKeyAfterARefill() {
        KeyedComboBox combo;
        QVERIFY(combo.findChildren<QStandardItemModel*>().isEmpty());
        const auto fill = [&combo](const QList<std::pair<int, QString>>& persons) {
            combo.clearKeyed();
            combo.beginFill();
            for (const auto& [id, name] : persons)
                combo.addKeyed(QStringLiteral("k%1").arg(id), name, id);
            combo.endFill();
            combo.clearSelection();
        };
        fill({{1, "Popescu Ion"}, {2, "Ionescu Maria"}, {3, "Avram Ana"}});
        combo.selectKey(QStringLiteral("k2"));
        QCOMPARE(combo.currentText(), QStringLiteral("Ionescu Maria"));

        // A fill cut short leaves nothing behind for the next one.
        combo.beginFill();
        combo.addKeyed(QStringLiteral("k9"), QStringLiteral("Staged"), 9);
        fill({{5, "Zamfir Dan"}, {3, "Avram Ana"}});
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.currentIndex(), -1);
        QCOMPARE(combo.lineEdit()->text(), QString());
        QCOMPARE(combo.indexOfKey(QStringLiteral("k9")), -1);
        QVERIFY_THROWS_EXCEPTION(db::DbError, combo.selectKey(QStringLiteral("k2")));

        combo.selectKey(QStringLiteral("k3"));
        QCOMPARE(combo.currentIndex(), 1);
        QCOMPARE(combo.lineEdit()->text(), QStringLiteral("Avram Ana"));
        QCOMPARE(combo.selectedKey(), QStringLiteral("k3"));
        QCOMPARE(combo.selectedTag(), QVariant(3));
        QCOMPARE(combo.itemData(0, common::KeyRole).toString(), QStringLiteral("k5"));
        QCOMPARE(combo.itemData(0, common::TagRole), QVariant(5));
        QCOMPARE(combo.findText(QStringLiteral("Zamfir Dan")), 0);

        // An item added outside a fill is there at once.
        combo.addKeyed(QStringLiteral("k7"), QStringLiteral("Enache Vlad"), 7);
        QCOMPARE(combo.itemText(combo.indexOfKey(QStringLiteral("k7"))), QStringLiteral("Enache Vlad"));
        QCOMPARE(combo.currentText(), QStringLiteral("Avram Ana"));
    }

    // A refill cleared within the fill takes back the items it adds again in the same order: the
    // same items leave the model untouched, and from the first difference on the items are new.
    void comboRefillTakesBackTheSameItems() {
        KeyedComboBox combo;
        const auto fill = [&combo](const QList<std::pair<int, QString>>& persons) {
            combo.beginFill();
            combo.clearKeyed();
            for (const auto& [id, name] : persons)
                if (combo.indexOfKey(QStringLiteral("k%1").arg(id)) < 0)
                    combo.addKeyed(QStringLiteral("k%1").arg(id), name, id);
            combo.endFill();
        };
        fill({{1, "Avram Ana"}, {2, "Ionescu Maria"}, {3, "Popescu Ion"}});
        QSignalSpy inserted(combo.model(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(combo.model(), &QAbstractItemModel::rowsRemoved);
        // A person read twice is still listed once.
        fill({{1, "Avram Ana"}, {2, "Ionescu Maria"}, {2, "Ionescu Maria"}, {3, "Popescu Ion"}});
        QCOMPARE(inserted.count() + removed.count(), 0);

        fill({{1, "Avram Ana"}, {2, "Ionescu Mara"}, {4, "Zamfir Dan"}});
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items << combo.itemData(i, common::KeyRole).toString() + QLatin1Char('=') + combo.itemText(i);
        QCOMPARE(items, QStringList({"k1=Avram Ana", "k2=Ionescu Mara", "k4=Zamfir Dan"}));
        QCOMPARE(combo.indexOfKey(QStringLiteral("k3")), -1);
        QCOMPARE(combo.indexOfKey(QStringLiteral("k4")), 2);
        QCOMPARE(combo.itemData(1, common::TagRole), QVariant(2));

        // A fill that ends early lists only what it read.
        fill({{1, "Avram Ana"}});
        QCOMPARE(combo.count(), 1);
        QCOMPARE(combo.indexOfKey(QStringLiteral("k2")), -1);
        combo.beginFill();
        combo.clearKeyed();
        combo.addKeyed(QStringLiteral("k1"), QStringLiteral("Avram Ana"), 1);
        QVERIFY_THROWS_EXCEPTION(db::DbError, combo.addKeyed(QStringLiteral("k1"), QStringLiteral("Alta"), 1));
        combo.endFill();
        QCOMPARE(combo.count(), 1);
    }
};

QTEST_MAIN(TestKeyedItems)
#include "TestKeyedItems.moc"
