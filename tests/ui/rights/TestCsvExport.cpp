#include "db/SharedConnection.h"
#include "support/FixtureRows.h"
#include "support/TempServer.h"
#include "ui/rights/CsvExport.h"
#include "ui/rights/RightsReport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using rights::ExportResult;
using rights::RightsReport;
using store::ReportScope;

namespace {

// The records of an RFC 4180 text: fields split at commas, quoted fields taking commas, doubled
// quotes and line breaks literally; records end with CRLF. Null when the text breaks the format.
std::optional<QList<QStringList>> parseCsv(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool afterQuote = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
                afterQuote = true;
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty() && !afterQuote) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            afterQuote = false;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            afterQuote = false;
            ++i;
        } else if (afterQuote || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty())
        return std::nullopt;
    return records;
}

} // namespace

// The CSV file of a rights report, read back: the rows of the test's own join, names with quotes,
// commas, diacritics and line breaks intact, each once although the suite lists a membership and
// a grant twice; and no file left by a cancelled or failed export.
class TestCsvExport : public QObject {
    Q_OBJECT

    std::unique_ptr<TempServer> m_server;
    QTemporaryDir m_dir;

    static RightsReport report(ReportScope scope, int id) {
        return RightsReport(scope, id, QStringLiteral("test"), {QStringLiteral("srv"), QStringLiteral("db")});
    }

private slots:
    void init() {
        m_server = std::make_unique<TempServer>();
        FixtureRows(*m_server)
            .author(101, "SC \"Brădet\", Distribuție SRL")
            .author(102, "Țara Făgărașului")
            .module(11, "Vânzări\r\nrapoarte")
            .module(12, "Contabilitate")
            .operation(1, 11, 501, "Facturi, avize")
            .operation(2, 12, 502, "=SUM(A1)")
            .group(21, "ADMIN")
            .group(22, "CONTAB")
            .user(31, "ana", "Ana \"Ani\" Avram")
            .user(32, "dan", "Dan\nBarbu")
            .member(31, 21)
            .member(31, 22)
            .member(32, 22)
            .member(32, 22)
            .grant(21, 101, 1, 501)
            .grant(22, 101, 1, 501)
            .grant(22, 101, 1, 501)
            .grant(22, 102, 2, 502);
    }
    void cleanup() {
        db::SharedConnection().reset();
        m_server.reset();
    }

    void rowsReadBack_data() {
        QTest::addColumn<int>("scope");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("where");
        QTest::newRow("user") << int(ReportScope::User) << 31 << "u.usID = 31";
        QTest::newRow("group") << int(ReportScope::Group) << 22 << "g.grID = 22";
        QTest::newRow("suite") << int(ReportScope::Suite) << 0 << "1 = 1";
    }
    void rowsReadBack() {
        QFETCH(int, scope);
        QFETCH(int, id);
        QFETCH(QString, where);
        const QString path = m_dir.filePath(QStringLiteral("report.csv"));
        QString error;
        int calls = 0;
        const ExportResult result = rights::WriteCsv(
            report(static_cast<ReportScope>(scope), id), path,
            [&](int done, int total) {
                ++calls;
                return done <= total;
            },
            &error);
        QCOMPARE(int(result), int(ExportResult::Written));
        QVERIFY(calls > 0);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const auto records = parseCsv(QString::fromUtf8(bytes.mid(3)));
        QVERIFY2(records, bytes.constData());
        QCOMPARE(records->first(), RightsReport::columnTitles());

        QList<QStringList> expected;
        for (const QVariantList& row : m_server->rows(
                 "suitedb",
                 "SELECT DISTINCT u.usCod, u.usDenumire, a.Name, m.mdDenumire, o.opDenumire, g.grCod FROM admUser u "
                 "JOIN admUserGrup ug ON ug.usID = u.usID JOIN AdmGrup g ON g.grID = ug.grID "
                 "JOIN admGrupOperatii x ON x.grID = g.grID JOIN Authors a ON a.IdAuthor = x.auID "
                 "JOIN admOperatiiModul o ON o.opID = x.opID AND o.Id = x.ID JOIN admModul m ON m.mdID = o.mdID "
                 "WHERE " +
                     where + " ORDER BY u.usCod, a.Name, m.mdDenumire, o.opDenumire, g.grCod")) {
            QStringList fields;
            for (const QVariant& value : row)
                fields << value.toString();
            // A cell a spreadsheet would run as a formula is written as text.
            if (fields[4].startsWith(QLatin1Char('=')))
                fields[4].prepend(QLatin1Char('\''));
            expected << fields;
        }
        QVERIFY(!expected.isEmpty());
        QCOMPARE(records->mid(1), expected);
    }

    // Cancelling leaves the file that was there as it was, and no temporary file beside it.
    void cancelledLeavesNoFile() {
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.csv"));
        QFile before(path);
        QVERIFY(before.open(QIODevice::WriteOnly));
        before.write("earlier report");
        before.close();
        QString error;
        const ExportResult result = rights::WriteCsv(
            report(ReportScope::Suite, 0), path, [](int done, int) { return done == 0; }, &error);
        QCOMPARE(int(result), int(ExportResult::Cancelled));
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), QByteArray("earlier report"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.csv"});
    }

    // A file that cannot be made is a failure with the reason, and nothing is written.
    void unwritablePathFails() {
        const QString path = m_dir.filePath(QStringLiteral("missing/report.csv"));
        QString error;
        const ExportResult result = rights::WriteCsv(report(ReportScope::Suite, 0), path, {}, &error);
        QCOMPARE(int(result), int(ExportResult::Failed));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestCsvExport)
#include "TestCsvExport.moc"
