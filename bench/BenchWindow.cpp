// talvane-bench DIR [--runs N] [--markdown]
// talvane-bench --sizes N,N... --suites DIR [--runs N] [--markdown]
// Opens frmMain offscreen on a suite server made by talvane-gensuite and prints, as the median of
// N runs, the time of RefreshMe, of the clicks and double click of the editors, of
// ClearOperationChecks, of a letter typed into the person combo box, of a group's Save and of a
// group's Delete, each next to its floor (the same statements raw on SQLite, every row read, no
// data layer and no widget), and the peak memory next to that of the floor.

#include "BenchCsv.h"
#include "BenchOptions.h"
#include "BenchSizes.h"
#include "BenchSuite.h"
#include "session/DemoSuite.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr, "usage: talvane-bench DIR [--runs N] [--markdown]\n"
                         "       talvane-bench --sizes N,N... --suites DIR [--runs N] [--markdown]\n"
                         "  DIR          a suite server made by talvane-gensuite\n"
                         "  --sizes N,.. benchmark the suites of these sizes (users), each in a process of its\n"
                         "               own, and print one table; the suite of size N is DIR/N under --suites,\n"
                         "               made with talvane-gensuite --size N when missing\n"
                         "  --runs N     timed runs of every action (default 5); the median is shown\n"
                         "  --markdown   print the table as Markdown\n"
                         "  --only M     after the warm-up, time only the measure whose name starts with M\n"
                         "               (e.g. \"click on a group\"), to profile it\n"
                         "  --skip-csv   leave out the whole-suite CSV report (it takes long on a large suite)\n");
    return 2;
}

bool parseSizes(const QString& text, QList<int>& sizes) {
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int size = part.trimmed().toInt(&ok);
        if (!ok || size < 1)
            return false;
        sizes.append(size);
    }
    return true;
}

bool parse(int argc, char** argv, BenchOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const bool hasValue = i + 1 < argc;
        bool ok = true;
        if (arg == QLatin1String("--runs") && hasValue)
            options.runs = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
        else if (arg == QLatin1String("--sizes") && hasValue)
            ok = parseSizes(QString::fromLocal8Bit(argv[++i]), options.sizes);
        else if (arg == QLatin1String("--suites") && hasValue)
            options.suites = QDir(QString::fromLocal8Bit(argv[++i])).absolutePath();
        else if (arg == QLatin1String("--only") && hasValue)
            options.only = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--markdown"))
            options.markdown = true;
        else if (arg == QLatin1String("--floor-memory") && hasValue)
            options.floorFile = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--results") && hasValue)
            options.resultsFile = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--csv-export") && hasValue)
            options.csvFile = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--skip-csv"))
            options.skipCsv = true;
        else if (options.directory.isEmpty() && !arg.startsWith(QLatin1Char('-')))
            options.directory = QDir(arg).absolutePath();
        else
            ok = false;
        if (!ok || options.runs < 1)
            return false;
    }
    if (!options.sizes.isEmpty())
        return options.directory.isEmpty() && !options.suites.isEmpty();
    return !options.directory.isEmpty() && options.suites.isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    if (!parse(argc, argv, options))
        return usage();
    if (!options.sizes.isEmpty())
        return BenchSizes::run(options, argc, argv);
    if (!QFileInfo::exists(QDir(options.directory).filePath(QString::fromLatin1(DemoDatabaseName) + ".db"))) {
        std::fprintf(stderr, "talvane-bench: %s holds no suite; make one with talvane-gensuite\n",
                     qPrintable(options.directory));
        return 2;
    }
    if (!options.floorFile.isEmpty())
        return BenchSuite::floorMemory(options);
    if (!options.csvFile.isEmpty())
        return BenchCsv::run(options, argc, argv);
    return BenchSuite::run(options, argc, argv);
}
