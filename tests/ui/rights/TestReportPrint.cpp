#include "db/SharedConnection.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"
#include "ui/rights/ReportLayout.h"
#include "ui/rights/ReportPrint.h"
#include "ui/rights/RightsReport.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using rights::ReportRow;
using rights::RightsReport;
using store::ReportScope;

namespace {

// The page objects of a PDF file (not the page tree's "/Type /Pages").
int pagesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace

// The printed report: a PDF with the pages its rows take, and the limit of a printed report.
class TestReportPrint : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_server;
    QTemporaryDir m_dir;

    static RightsReport report(ReportScope scope, int id) {
        return RightsReport(scope, id, QStringLiteral("test"), {QStringLiteral("srv"), QStringLiteral("db")});
    }

    // Group 21 with `operations` operations at company 101 and `members` users in it: the report
    // of the group has operations x members rows.
    void makeGroup(int operations, int members) {
        FixtureRows(*m_server).author(101, "Brădet").module(11, "Vânzări").group(21, "ADMIN");
        m_server->exec("suitedb", QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                                 "WHERE i < %1) INSERT INTO admOperatiiModul (opID, mdID, Id, "
                                                 "opDenumire) SELECT i, 11, 1000 + i, 'Operatia ' || i FROM n")
                                      .arg(operations));
        m_server->exec("suitedb", "INSERT INTO admGrupOperatii (auID, grID, opID, ID) "
                                  "SELECT 101, 21, opID, Id FROM admOperatiiModul");
        m_server->exec("suitedb", QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                                 "WHERE i < %1) INSERT INTO admUser (usID, usCod, usDenumire) "
                                                 "SELECT 500 + i, 'user' || i, 'User ' || i FROM n")
                                      .arg(members));
        m_server->exec("suitedb", "INSERT INTO admUserGrup (usID, grID) SELECT usID, 21 FROM admUser");
    }

private slots:
    void init() { m_server = std::make_unique<TempServer>(); }
    void cleanup() {
        db::SharedConnection().reset();
        m_server.reset();
    }

    // The PDF has the pages the layout gives its rows, with their page numbers: one page for a
    // few rows, several for many.
    void pdfPages_data() {
        QTest::addColumn<int>("operations");
        QTest::addColumn<int>("members");
        QTest::addColumn<int>("rows");
        QTest::newRow("one page") << 3 << 1 << 3;
        QTest::newRow("several pages") << 60 << 4 << 240;
    }
    void pdfPages() {
        QFETCH(int, operations);
        QFETCH(int, members);
        QFETCH(int, rows);
        makeGroup(operations, members);
        const RightsReport group = report(ReportScope::Group, 21);
        QList<ReportRow> read;
        QVERIFY(rights::ReadForPrint(group, read));
        QCOMPARE(read.size(), rows);

        QBuffer sized;
        sized.open(QIODevice::WriteOnly);
        QPdfWriter device(&sized);
        rights::SetUpPage(&device);
        const rights::ReportLayout layout(group, read);
        const int perPage = layout.rowsPerPage(&device);
        // A landscape A4 page at 8 points holds a few dozen rows.
        QVERIFY2(perPage >= 20 && perPage <= 80, qPrintable(QString::number(perPage)));
        const int expected = (rows + perPage - 1) / perPage;

        const QString path = m_dir.filePath(QStringLiteral("report%1.pdf").arg(rows));
        QString error;
        QCOMPARE(rights::WritePdf(group, read, path, &error), expected);
        QCOMPARE(pagesOf(path), expected);
        QCOMPARE(expected > 1, rows > 100);
    }

    // A report of more rows than a print holds is not read for printing.
    void printLimit() {
        makeGroup(501, 100);
        QList<ReportRow> read;
        QVERIFY(!rights::ReadForPrint(report(ReportScope::Group, 21), read));
        QVERIFY(read.isEmpty());
        QVERIFY(rights::ReadForPrint(report(ReportScope::User, 501), read));
        QCOMPARE(read.size(), 501);
        QCOMPARE(read.first()[0], QStringLiteral("user1"));
        QCOMPARE(read.first()[2], QStringLiteral("Brădet"));
    }
};

QTEST_MAIN(TestReportPrint)
#include "TestReportPrint.moc"
