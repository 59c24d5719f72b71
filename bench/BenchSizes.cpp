#include "BenchSizes.h"

#include "BenchTable.h"
#include "session/DemoSuite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace BenchSizes {

namespace {

struct SizeResult {
    int size = 0;
    QString loadAverage;
    QList<BenchTable::Row> rows;
};

QString label(int size) {
    return size % 1000 == 0 ? QString::number(size / 1000) + QLatin1Char('k') : QString::number(size);
}

QString number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// Runs program with arguments, its output going where ours goes; returns its exit status, 2 when
// it did not exit normally.
int runChild(const QString& program, const QStringList& arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(program, arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
        return 2;
    return child.exitCode();
}

// Makes the suite of size in directory with the generator next to this program; false when it
// cannot (the command to make it is told).
bool makeSuite(int size, const QString& directory) {
    const QString generator = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("talvane-gensuite"));
    const QStringList arguments{directory, QStringLiteral("--size"), QString::number(size)};
    const QString command = generator + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
    if (!QFileInfo(generator).isExecutable()) {
        std::fprintf(stderr, "talvane-bench: no suite of %d users; make it with: %s\n", size, qPrintable(command));
        return false;
    }
    std::printf("making the suite of %d users: %s\n", size, qPrintable(command));
    std::fflush(stdout);
    if (runChild(generator, arguments) != 0) {
        std::fprintf(stderr, "talvane-bench: making the suite failed: %s\n", qPrintable(command));
        return false;
    }
    return true;
}

// The cells of one measure's row: per size its value, floor and ratio, then the growth from the
// first size to the last, the target(s) and the result.
QStringList rowCells(const QString& name, const QList<SizeResult>& results) {
    QStringList cells{name};
    QStringList targets;
    QStringList over;
    QList<double> values;
    for (const SizeResult& result : results) {
        const auto row = std::find_if(result.rows.begin(), result.rows.end(),
                                      [&name](const BenchTable::Row& r) { return r.name == name; });
        if (row == result.rows.end()) {
            cells << QStringLiteral("-") << QStringLiteral("-") << QStringLiteral("-");
            continue;
        }
        values << row->value;
        cells << number(row->value, 1) << (row->floor ? number(*row->floor, 1) : QStringLiteral("-"))
              << (row->ratio() ? number(*row->ratio(), 2) : QStringLiteral("-"));
        if (!targets.contains(row->target))
            targets << row->target;
        if (!row->ok)
            over << label(result.size);
    }
    if (results.size() > 1)
        cells << (values.size() == results.size() && values.first() > 0 ? number(values.last() / values.first(), 2)
                                                                        : QStringLiteral("-"));
    cells << targets.join(QStringLiteral(" / "));
    if (over.isEmpty())
        cells << QStringLiteral("ok");
    else if (over.size() == results.size())
        cells << QStringLiteral("OVER");
    else
        cells << QStringLiteral("OVER at ") + over.join(QStringLiteral(", "));
    return cells;
}

void printTable(const QList<SizeResult>& results, bool markdown) {
    QStringList header{QStringLiteral("measure")};
    for (const SizeResult& result : results)
        header << label(result.size) + QStringLiteral(" ms") << QStringLiteral("floor") << QStringLiteral("ratio");
    if (results.size() > 1)
        header << label(results.last().size) + QLatin1Char('/') + label(results.first().size);
    header << QStringLiteral("target") << QStringLiteral("result");

    QList<QStringList> lines{header};
    for (const BenchTable::Row& row : results.first().rows)
        lines << rowCells(row.name, results);

    QList<qsizetype> widths(header.size(), 0);
    for (const QStringList& line : lines) {
        for (int i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], line[i].size());
    }
    for (int n = 0; n < lines.size(); ++n) {
        const QStringList& line = lines[n];
        QStringList cells;
        for (int i = 0; i < line.size(); ++i) {
            const bool text = i == 0 || i >= line.size() - 2;
            cells << (markdown ? line[i] : text ? line[i].leftJustified(widths[i]) : line[i].rightJustified(widths[i]));
        }
        if (markdown)
            std::printf("| %s |\n", qPrintable(cells.join(QStringLiteral(" | "))));
        else
            std::printf("%s\n", qPrintable(cells.join(QStringLiteral("  "))));
        if (markdown && n == 0) {
            QStringList rule;
            for (int i = 0; i < line.size(); ++i)
                rule << (i == 0 || i >= line.size() - 2 ? QStringLiteral("---") : QStringLiteral("--:"));
            std::printf("|%s|\n", qPrintable(rule.join(QLatin1Char('|'))));
        }
    }
}

} // namespace

int run(const BenchOptions& options, int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    QList<SizeResult> results;
    bool allMet = true;
    for (const int size : options.sizes) {
        const QString directory = QDir(options.suites).filePath(QString::number(size));
        if (!QFileInfo::exists(QDir(directory).filePath(QString::fromLatin1(DemoDatabaseName) + ".db")) &&
            !makeSuite(size, directory))
            return 2;
        const QString resultsFile = QDir(scratch.path()).filePath(QString::number(size) + QStringLiteral(".json"));
        QStringList arguments{directory, QStringLiteral("--runs"), QString::number(options.runs),
                              QStringLiteral("--results"), resultsFile};
        if (!options.only.isEmpty())
            arguments << QStringLiteral("--only") << options.only;
        if (options.skipCsv)
            arguments << QStringLiteral("--skip-csv");
        std::printf("\nsuite of %d users\n", size);
        std::fflush(stdout);
        const int status = runChild(QCoreApplication::applicationFilePath(), arguments);
        QFile file(resultsFile);
        if (status > 1 || !file.open(QIODevice::ReadOnly))
            return 2;
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        results.append({size, object["loadAverage"].toString(), BenchTable::fromJson(object["rows"].toArray())});
        allMet = allMet && status == 0;
    }

    std::printf("\nmedian of %d runs (after one warm-up run) at each size; load average", options.runs);
    for (const SizeResult& result : results)
        std::printf(" %s at %s", qPrintable(result.loadAverage), qPrintable(label(result.size)));
    std::printf("\n\n");
    printTable(results, options.markdown);
    return allMet ? 0 : 1;
}

} // namespace BenchSizes
