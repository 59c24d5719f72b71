#include "db/DbError.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "support/FixtureRows.h"
#include "support/ModalAnswerer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"
#include "ui/users/BrandSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

// The brand settings tab on the real window: the roles listed for the loaded user, "! New" and
// "! Salvare" with the rows they leave in the database.
class TestBrandSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;
    WindowFixture m_form;

    void showUser(int usID) {
        QTreeWidgetItem* item = m_form->lstUsers->find("k" + QString::number(usID));
        QVERIFY(item);
        m_form->lstUsers->selectItem(item);
        m_form->LoadUser(usID);
    }
    QStringList listed() const {
        QStringList rows;
        for (int i = 0; i < m_form->lstUserBrand->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = m_form->lstUserBrand->topLevelItem(i);
            rows << item->text(0) + " / " + item->text(1) + " / " + item->text(2);
        }
        return rows;
    }
    // Rows of a table as "a b c", for the columns asked.
    QStringList rows(const QString& sql) const {
        QStringList lines;
        for (const QVariantList& row : m_server->rows("suitedb", sql)) {
            QStringList values;
            for (const QVariant& value : row)
                values << value.toString();
            lines << values.join(' ');
        }
        return lines;
    }
    QStringList links(int idBrand) const {
        return rows(QStringLiteral("SELECT IdAuthor, IdBrand, UserId FROM CRM_Author WHERE IdBrand = %1 ORDER BY 1")
                        .arg(idBrand));
    }
    QStringList roles(int usID) const {
        return rows(QStringLiteral("SELECT UserId, IdBrand, isSupervizorBrand, isAdministrator FROM CRM_User "
                                   "WHERE UserId = %1 ORDER BY IdBrand")
                        .arg(usID));
    }
    void choose(const QString& author, const QString& brand) {
        m_form->cboAuthor->selectKey(author);
        m_form->cboBrand->selectKey(brand);
    }

private slots:
    void initTestCase() { m_login = std::make_unique<MainWindowFixture>(); }

    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(1, "Brădet")
            .author(2, "Stejar")
            .user(10, "ana")
            .user(11, "dan")
            .user(12, "ion")
            .brand(20, "Alfa", 2)
            .brand(22, "Gama", 1)
            .brandRole(11, 20, true, false)
            .brandRole(11, 22, false, true);
        // A brand without a company link yet, on which user 10 already has a plain role.
        m_server->exec("stk", "INSERT INTO FAZ_Brand (IdBrand, Brand) VALUES (21, 'Beta')");
        m_server->exec("suitedb", "INSERT INTO CRM_User (UserId, IdBrand) VALUES (10, 21)");
        QVERIFY(m_form.open(*m_login));
        m_form->SSTab1->setCurrentIndex(1);
        m_form->tabDetalii->setCurrentIndex(1);
        showUser(10);
    }
    void cleanup() {
        db::StatementLog::clearFailure();
        m_form.reset();
        m_server.reset();
    }

    void theRefreshFillsTheCombosByNameEvenWithoutUsers() {
        QCOMPARE(m_form->cboBrand->count(), 3);
        QCOMPARE(m_form->cboBrand->itemText(1), QStringLiteral("Beta"));
        QCOMPARE(m_form->cboBrand->indexOfKey("k21"), 1);
        QCOMPARE(m_form->cboAuthor->itemText(0), QStringLiteral("Brădet"));
        QCOMPARE(m_form->cboAuthor->currentIndex(), -1);
        QCOMPARE(m_form->cboBrand->currentIndex(), -1);

        // Also without any user to load.
        m_server->exec("suitedb", "DELETE FROM admUser");
        m_form->cboAuthor->clearKeyed();
        m_form->cboBrand->clearKeyed();
        ModalAnswerer answer;
        m_form->RefreshMe();
        QCOMPARE(m_form->lstUsers->topLevelItemCount(), 0);
        QCOMPARE(m_form->cboAuthor->count(), 2);
        QCOMPARE(m_form->cboBrand->count(), 3);
        QCOMPARE(answer.count(), 0);
    }

    void listsTheRolesOfTheLoadedUser() {
        ModalAnswerer answer;
        QCOMPARE(listed(), QStringList{});
        showUser(11);
        QStringList shown = listed();
        shown.sort();
        QCOMPARE(shown, QStringList({"Brădet / Gama / Administrator", "Stejar / Alfa / Director brand"}));
        showUser(12);
        QCOMPARE(listed(), QStringList{});
        showUser(11);
        // The roles query is the third statement of a user's load.
        db::StatementLog::failAt(3, db::DbError(-2147217900, "Injected failure", "Test source"));
        showUser(11);
        QCOMPARE(listed(), QStringList{});
        QCOMPARE(answer.count(), 0);
    }

    void savesTheRoleAndListsIt_data() {
        QTest::addColumn<QString>("brand");
        QTest::addColumn<Qt::CheckState>("director");
        QTest::addColumn<Qt::CheckState>("admin");
        QTest::addColumn<int>("saves");
        QTest::addColumn<QStringList>("expectedLinks");
        QTest::addColumn<QStringList>("expectedRoles");
        QTest::addColumn<QStringList>("expectedList");
        // The fixture's UserId of the signed-in user is 1.
        QTest::newRow("brand without a link")
            << "k21" << Qt::Checked << Qt::Unchecked << 1 << QStringList{"1 21 1"} << QStringList{"10 21 1 0"}
            << QStringList{"Brădet / Beta / Director brand"};
        QTest::newRow("both boxes, saved twice")
            << "k21" << Qt::Checked << Qt::Checked << 2 << QStringList{"1 21 1"} << QStringList{"10 21 1 1"}
            << QStringList{"Brădet / Beta / Administrator"};
        QTest::newRow("grey boxes store 0")
            << "k21" << Qt::PartiallyChecked << Qt::PartiallyChecked << 1 << QStringList{"1 21 1"}
            << QStringList{"10 21 0 0"} << QStringList{"Brădet / Beta / User"};
    }
    void savesTheRoleAndListsIt() {
        QFETCH(QString, brand);
        QFETCH(Qt::CheckState, director);
        QFETCH(Qt::CheckState, admin);
        QFETCH(int, saves);
        QFETCH(QStringList, expectedLinks);
        QFETCH(QStringList, expectedRoles);
        QFETCH(QStringList, expectedList);
        ModalAnswerer answer;
        m_form->chkAdminBrand->setTristate(true);
        m_form->chkAdmin->setTristate(true);
        if (saves == 2) {
            choose("k1", brand);
            m_form->cbutSalvare->click();
            QCOMPARE(roles(10).size(), 1);
        }
        choose("k1", brand);
        m_form->chkAdminBrand->setCheckState(director);
        m_form->chkAdmin->setCheckState(admin);
        m_form->cbutSalvare->click();
        QCOMPARE(answer.count(), 0);
        QCOMPARE(links(brand.mid(1).toInt()), expectedLinks);
        QCOMPARE(roles(10), expectedRoles);
        // A role on a brand without a link (user 10's plain role on Beta) is not listed.
        QCOMPARE(listed(), expectedList);
        // Reloading the user empties the input.
        QCOMPARE(m_form->cboAuthor->currentIndex(), -1);
        QCOMPARE(m_form->cboBrand->currentIndex(), -1);
        QCOMPARE(m_form->chkAdmin->checkState(), Qt::Unchecked);
    }

    // The company a brand belongs to is named and nothing is written; with that company the role
    // is stored and the link stays as it was.
    void aBrandOfAnotherCompanyIsRefusedNamingIt() {
        const QStringList before = m_server->snapshot();
        choose("k1", "k20");
        m_form->chkAdmin->setChecked(true);
        {
            ModalAnswerer answer;
            m_form->cbutSalvare->click();
            QCOMPARE(answer.count(), 1);
            QCOMPARE(answer.title(), QStringLiteral("Brisca"));
            QCOMPARE(answer.text(),
                     QStringLiteral("Brandul \"Alfa\" apartine societatii \"Stejar\" !\nSelectati aceasta "
                                    "societate pentru a salva rolul."));
        }
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(m_form->focusWidget(), m_form->cboAuthor);

        m_form->cboAuthor->selectKey("k2");
        ModalAnswerer none;
        m_form->cbutSalvare->click();
        QCOMPARE(none.count(), 0);
        QCOMPARE(links(20), QStringList{"2 20 1"});
        QCOMPARE(roles(10), QStringList({"10 20 0 1", "10 21 0 0"}));
        QCOMPARE(listed(), QStringList{"Stejar / Alfa / Administrator"});
    }

    void aBrandOrCompanyDeletedElsewhereIsNamedAndNothingWritten_data() {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("deletion");
        QTest::addColumn<QString>("message");
        QTest::newRow("brand") << "stk"
                               << "DELETE FROM FAZ_Brand WHERE IdBrand = 21"
                               << "Brandul \"Beta\" a fost sters intre timp de altcineva, asa ca rolul nu a fost "
                                  "salvat. Reincarcati listele!";
        QTest::newRow("company") << "suitedb"
                                 << "DELETE FROM Authors WHERE IdAuthor = 1"
                                 << "Societatea \"Brădet\" a fost stearsa intre timp de altcineva, asa ca rolul nu "
                                    "a fost salvat. Reincarcati listele!";
    }
    void aBrandOrCompanyDeletedElsewhereIsNamedAndNothingWritten() {
        QFETCH(QString, database);
        QFETCH(QString, deletion);
        QFETCH(QString, message);
        choose("k1", "k21");
        m_server->exec(database, deletion);
        const QStringList before = m_server->snapshot();
        ModalAnswerer answer;
        m_form->cbutSalvare->click();
        QCOMPARE(answer.text(), message);
        QCOMPARE(m_server->snapshot(), before);
    }

    // What was chosen for one user is never stored for the next one loaded.
    void loadingAUserEmptiesTheInput() {
        choose("k1", "k21");
        m_form->chkAdmin->setChecked(true);
        m_form->chkAdminBrand->setChecked(true);
        clickItem(m_form->lstUsers, m_form->lstUsers->find("k11"));
        QCOMPARE(selectedKey(m_form->lstUsers), QStringLiteral("k11"));
        QCOMPARE(m_form->cboAuthor->currentIndex(), -1);
        QCOMPARE(m_form->cboAuthor->currentText(), QString());
        QCOMPARE(m_form->cboBrand->currentIndex(), -1);
        QVERIFY(!m_form->chkAdmin->isChecked());
        QVERIFY(!m_form->chkAdminBrand->isChecked());

        const QStringList before = m_server->snapshot();
        ModalAnswerer answer;
        m_form->cbutSalvare->click();
        QCOMPARE(answer.text(), QStringLiteral("Selectati o societate !"));
        QCOMPARE(m_server->snapshot(), before);
    }

    void asksForTheCompanyTheBrandAndTheUserAndWritesNothing() {
        const QStringList before = m_server->snapshot();
        choose("k1", "k21");
        m_form->chkAdmin->setChecked(true);
        m_form->cbutInregNoua->click();
        QCOMPARE(m_form->cboAuthor->currentIndex(), -1);
        QCOMPARE(m_form->cboBrand->currentText(), QString());
        QVERIFY(!m_form->chkAdmin->isChecked());

        struct Expected {
            QString text;
            QWidget* focus;
        };
        const QList<Expected> asked = {{"Selectati o societate !", m_form->cboAuthor},
                                       {"Selectati un brand !", m_form->cboBrand},
                                       {"Selectati un utilizator !", m_form->lstUsers}};
        for (const Expected& expected : asked) {
            // Another page in front: the refusal brings back the control it points at.
            m_form->SSTab1->setCurrentIndex(0);
            m_form->tabDetalii->setCurrentIndex(0);
            ModalAnswerer answer;
            m_form->cbutSalvare->click();
            QCOMPARE(answer.count(), 1);
            QCOMPARE(answer.title(), QStringLiteral("Brisca"));
            QCOMPARE(answer.text(), expected.text);
            QCOMPARE(answer.icon(), QMessageBox::Information);
            QCOMPARE(answer.buttons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(m_form->focusWidget(), expected.focus);
            QCOMPARE(m_form->SSTab1->currentIndex(), 1);
            QVERIFY(expected.focus->isVisible());
            if (expected.focus == m_form->cboAuthor) {
                m_form->cboAuthor->selectKey("k1");
            } else if (expected.focus == m_form->cboBrand) {
                m_form->cboBrand->selectKey("k21");
                m_form.press("keyNewUser");
                m_form->tabDetalii->setCurrentIndex(1);
            }
        }
        QCOMPARE(m_server->snapshot(), before);
    }

    void aFailureAtAnyStatementOfTheSaveLeavesEveryTableAsItWas() {
        choose("k2", "k21");
        m_form->chkAdmin->setChecked(true);
        const QStringList before = m_server->snapshot();
        const db::DbError injected(-2147217873, "Injected failure", "Fault test");
        // Each statement of the save in turn, its reads and its writes (the link insert, the role
        // delete and the role insert come last), until the first failing one comes after them all.
        for (int position = 1;; ++position) {
            QVERIFY(position < 30);
            ModalAnswerer answer;
            db::StatementLog::failAt(position, injected);
            m_form->cbutSalvare->click();
            db::StatementLog::clearFailure();
            if (m_server->snapshot() != before)
                break;
            QCOMPARE(answer.count(), 1);
            QVERIFY(answer.text().contains("Description : Injected failure"));
            QVERIFY(answer.text().contains("Origin : cbutSalvare_Click"));
        }
        QCOMPARE(links(21), QStringList{"2 21 1"});
        QCOMPARE(roles(10), QStringList{"10 21 0 1"});
    }

    void aRoleTheListDidNotShowIsKept_data() {
        QTest::addColumn<int>("usID");
        QTest::addColumn<bool>("listFails");
        QTest::addColumn<QString>("change"); // made elsewhere once the user is listed
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QStringList>("listedAfter");
        QTest::newRow("role changed") << 11 << false
                                      << "UPDATE CRM_User SET isAdministrator = 1 WHERE UserId = 11 AND IdBrand = 20"
                                      << "k20"
                                      << QStringList{"Brădet / Gama / Administrator", "Stejar / Alfa / Administrator"};
        QTest::newRow("role given") << 10 << false
                                    << "INSERT INTO CRM_User (UserId, IdBrand, isSupervizorBrand, isAdministrator) "
                                       "VALUES (10, 22, 0, 1)"
                                    << "k22" << QStringList{"Brădet / Gama / Administrator"};
        QTest::newRow("roles not read") << 11 << true << QString() << "k22"
                                        << QStringList{"Brădet / Gama / Administrator",
                                                       "Stejar / Alfa / Director brand"};
    }
    // The role a save replaces is the one the list showed: one given or changed since by someone
    // else, or one the list could not read, stays; the tab says so and lists the roles again.
    void aRoleTheListDidNotShowIsKept() {
        QFETCH(int, usID);
        QFETCH(bool, listFails);
        QFETCH(QString, change);
        QFETCH(QString, brand);
        QFETCH(QStringList, listedAfter);
        {
            ModalAnswerer none;
            if (listFails)
                db::StatementLog::failAt(3, db::DbError(-2147217900, "Injected failure", "Test source"));
            showUser(usID);
            db::StatementLog::clearFailure();
        }
        if (!change.isEmpty())
            m_server->exec("suitedb", change);
        const QStringList before = m_server->snapshot();
        choose(brand == "k20" ? "k2" : "k1", brand);
        ModalAnswerer answer;
        m_form->cbutSalvare->click();
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.title(), QStringLiteral("Brisca"));
        QCOMPARE(answer.text(),
                 QStringLiteral("Lista nu arata rolurile pe care utilizatorul \"%1\" le are acum, asa ca "
                                "rolul nu a fost salvat. Lista a fost reincarcata: verificati rolurile "
                                "si salvati din nou.")
                     .arg(usID == 10 ? "ana" : "dan"));
        QStringList shown = listed();
        shown.sort();
        QCOMPARE(shown, listedAfter);
    }

    // A role chosen for the user shown is not given to another user who took its id since.
    void aRoleGoesToNoOtherUserUnderItsId() {
        showUser(12);
        m_server->exec("suitedb", "DELETE FROM admUser WHERE usID = 12");
        FixtureRows(*m_server).user(12, "radu");
        const QStringList before = m_server->snapshot();
        choose("k1", "k22");
        m_form->chkAdmin->setChecked(true);
        ModalAnswerer answer;
        m_form->cbutSalvare->click();
        QCOMPARE(m_server->snapshot(), before);
        QCOMPARE(answer.count(), 1);
        QVERIFY(answer.text().contains("changed by someone else"));
    }

    void withoutASharedConnectionTheTabOpensOne() {
        ModalAnswerer answer;
        m_form->cboBrand->clearKeyed();
        db::SharedConnection().reset();
        BrandSettings::FillBrandCombo(m_form->cboBrand);
        QCOMPARE(m_form->cboBrand->count(), 3);

        // A failing query keeps the items the box had.
        db::StatementLog::failAt(1, db::DbError(-2147217900, "Injected failure", "Test source"));
        BrandSettings::FillAuthorCombo(m_form->cboAuthor);
        db::StatementLog::clearFailure();
        QCOMPARE(m_form->cboAuthor->count(), 2);

        choose("k1", "k22");
        db::SharedConnection().reset();
        m_form->cbutSalvare->click();
        QCOMPARE(roles(10), QStringList({"10 21 0 0", "10 22 0 0"}));
        QCOMPARE(answer.count(), 0);
    }
};

QTEST_MAIN(TestBrandSettings)
#include "TestBrandSettings.moc"
