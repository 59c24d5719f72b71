#include "BenchCsv.h"

#include "BenchSuite.h"
#include "PeakMemory.h"
#include "RawFloor.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "session/DemoSuite.h"
#include "ui/rights/ReportCommands.h"
#include "ui/rights/RightsReport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>
#include <stdexcept>

namespace BenchCsv {

namespace {

const QString Database = QString::fromLatin1(DemoDatabaseName);

// The records of a CSV file of the report: its line feeds, each ending a CRLF (names hold no line
// breaks in a generated suite), less the header's.
qint64 records(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    qint64 lines = 0;
    QByteArray block;
    while (!(block = file.read(1 << 20)).isEmpty())
        lines += block.count('\n');
    return lines - 1;
}

} // namespace

int run(const BenchOptions& options, int argc, char** argv) {
    QApplication app(argc, argv);
    BenchSuite::installOpener(options.directory);
    const rights::RightsReport report(store::ReportScope::Suite, 0, QStringLiteral("the whole suite"),
                                      {options.directory, Database});
    QString error;
    db::StatementLog::startRecording();
    QElapsedTimer timer;
    timer.start();
    const rights::ExportResult result = rights::WriteCsvWithProgress(nullptr, report, options.csvFile, &error);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    db::StatementLog::stopRecording();
    db::SharedConnection().reset();
    const QStringList statements = db::StatementLog::recorded();
    const double peakMb = PeakMemoryKb() / 1024.0;
    if (result != rights::ExportResult::Written) {
        std::fprintf(stderr, "talvane-bench: the CSV export failed: %s\n", qPrintable(error));
        return 2;
    }
    const qint64 bytes = QFileInfo(options.csvFile).size();
    const qint64 rows = records(options.csvFile);
    QFile::remove(options.csvFile);

    const QString floorFile = options.csvFile + QStringLiteral(".floor");
    try {
        const RawFloor::FileFloor floor = RawFloor::toFile(options.directory, Database, statements, floorFile);
        QFile::remove(floorFile);
        // The floor's rows are the report's and the one row of the count of its users.
        if (floor.rows != rows + 1) {
            std::fprintf(stderr, "talvane-bench: the CSV holds %lld rows, its floor %lld\n",
                         static_cast<long long>(rows), static_cast<long long>(floor.rows));
            return 2;
        }
        std::printf("csv %.1f %.1f %.1f %lld %lld\n", ms, floor.milliseconds, peakMb, static_cast<long long>(rows),
                    static_cast<long long>(bytes));
    } catch (const std::exception& failure) {
        QFile::remove(floorFile);
        std::fprintf(stderr, "talvane-bench: %s\n", failure.what());
        return 2;
    }
    return 0;
}

Result measure(const QString& directory, const QString& scratch) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {directory, QStringLiteral("--csv-export"), scratch + QStringLiteral("/rights-report.csv")});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error("the whole-suite CSV report failed");
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 6 || fields[0] != "csv")
        throw std::runtime_error("the whole-suite CSV report gave no result");
    return {fields[1].toDouble(), fields[2].toDouble(), fields[3].toDouble(), fields[4].toLongLong(),
            fields[5].toLongLong()};
}

} // namespace BenchCsv
