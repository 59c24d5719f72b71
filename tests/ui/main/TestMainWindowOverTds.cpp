#include "db/Connection.h"
#include "db/SharedConnection.h"
#include "session/OpenConnection.h"
#include "support/ModalAnswerer.h"
#include "support/TdsServer.h"
#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

// The real window on a login profile that names a SQL Server (the TDS server double over the demo
// suite, or a real server), through the login component's connection string, unixODBC, FreeTDS and
// Qt's ODBC driver: every list as the server holds it, and one login for the whole run.
class TestMainWindowOverTds : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_files;
    std::unique_ptr<TdsServer> m_server;
    std::unique_ptr<MainWindowFixture> m_login;

    // False when there is no server to test against (the test then skips with the reason).
    bool start() {
        m_files = std::make_unique<TempServer>(true, true);
        m_server = TdsServer::start(m_files->directory());
        if (!m_server)
            return false;
        m_login = std::make_unique<MainWindowFixture>(MainWindowFixture::Server{
            m_server->serverName(), m_server->databaseName(), m_server->userName(), m_server->password()});
        InstallConnectionSource(m_login->login());
        return true;
    }

    // The first column of every row of sql, read through the server, sorted.
    QStringList column(const QString& sql) const {
        QStringList values;
        for (const QList<QVariant>& row : db::Connection::open(m_server->connectionString())->query(sql).rows)
            values << row.value(0).toString();
        values.sort();
        return values;
    }
    static QStringList texts(const QTreeWidget* list) {
        QStringList values;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            values << list->topLevelItem(i)->text(0);
        values.sort();
        return values;
    }
    int count(const QString& table) const {
        return column(QStringLiteral("Select count(*) From ") + table).value(0).toInt();
    }

private slots:
    void initTestCase() {
        if (!TdsServer::skipReason().isEmpty())
            QSKIP(qPrintable(TdsServer::skipReason()));
    }
    void cleanup() {
        db::SharedConnection().reset();
        m_login.reset();
        m_server.reset();
        m_files.reset();
    }

    // Start-up fills every list with what the server holds, names with their Romanian letters.
    void everyListAsTheServerHoldsIt() {
        if (!start())
            QSKIP(qPrintable(TdsServer::skipReason()));
        ModalAnswerer unexpected;
        WindowFixture form(*m_login);
        QTRY_VERIFY(form->lstUsers->topLevelItemCount() > 0);
        QCOMPARE(texts(form->lstGroupsConfig), column(QStringLiteral("Select grCod From AdmGrup")));
        QCOMPARE(texts(form->lstAuthors), column(QStringLiteral("Select Name From Authors")));
        QCOMPARE(texts(form->lstUsers), column(QStringLiteral("Select usCod From admUser")));
        QCOMPARE(form->twOperations->keyedCount(), count("admModul") + count("admOperatiiModul"));
        QCOMPARE(form->cmbPers->count(), count("PSR_Pers"));
        QCOMPARE(form->cboBrand->count(), count("stk..FAZ_Brand"));
        QCOMPARE(form->cboAuthor->count(), count("Authors"));
        const QString firstGroup = KeyedTreeWidget::keyOf(form->lstGroupsConfig->selectedItem()).mid(1);
        QCOMPARE(form->txtFullName->text(),
                 column(QStringLiteral("Select grDenumire From AdmGrup Where grID = ") + firstGroup).value(0));
        QCOMPARE(unexpected.count(), 0);
        if (m_server->isDouble())
            QVERIFY(texts(form->lstAuthors).join(QString()).contains(QStringLiteral("ț")));
    }

    // The window's commands share the login that start-up made; after the server restarts, the
    // next command logs in again without an error; a saved name reaches the server exactly.
    void commandsShareOneLogin() {
        if (!start())
            QSKIP(qPrintable(TdsServer::skipReason()));
        if (!m_server->isDouble())
            QSKIP("this test needs the TDS server double's log");
        ModalAnswerer unexpected;
        m_server->mark();
        WindowFixture form(*m_login);
        QTRY_VERIFY(form->lstUsers->topLevelItemCount() > 1);
        QCOMPARE(m_server->logins(), 1);

        m_server->mark();
        clickItem(form->lstGroupsConfig, form->lstGroupsConfig->topLevelItem(1));
        QTRY_COMPARE(form->txtGrpName->text(), form->lstGroupsConfig->topLevelItem(1)->text(0));
        form->SSTab1->setCurrentIndex(1);
        clickItem(form->lstUsers, form->lstUsers->topLevelItem(1));
        QTRY_COMPARE(form->txtUserName->text(), form->lstUsers->topLevelItem(1)->text(0));
        form.press("keyRefresh");
        QCOMPARE(m_server->logins(), 0);

        m_server->restart();
        form->SSTab1->setCurrentIndex(0);
        const QString name = QStringLiteral("Vânzări Ștefănești „test” 100%");
        form->txtFullName->setText(name);
        form.press("keySave");
        QCOMPARE(m_server->logins(), 1);
        const QString group = KeyedTreeWidget::keyOf(form->lstGroupsConfig->selectedItem()).mid(1);
        QCOMPARE(column(QStringLiteral("Select grDenumire From AdmGrup Where grID = ") + group), QStringList{name});
        QCOMPARE(unexpected.count(), 0);
    }
};

QTEST_MAIN(TestMainWindowOverTds)
#include "TestMainWindowOverTds.moc"
