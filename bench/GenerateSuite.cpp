// talvane-gensuite DIR [--size N | --scale F] [--seed N]
// Writes the large embedded suite of the benchmark into the server directory DIR.

#include "SuiteGenerator.h"
#include "db/DbError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>
#include <stdexcept>

namespace {

int usage() {
    std::fprintf(stderr, "usage: talvane-gensuite DIR [--size N | --scale F] [--seed N]\n"
                         "  Writes a large embedded suite (20,000 users, 2,000 groups, 20,000 operations, ...)\n"
                         "  into the server directory DIR, which must not hold the suite's databases yet.\n"
                         "  --size N   N users, persons and operations; every other count in proportion\n"
                         "             (100000: 10,000 groups, 1,000 companies, 10,000,000 group grants)\n"
                         "  --scale F  multiplies every count by F\n"
                         "  --seed N   another fixed seed (default 20261208)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString directory;
    double scale = 1.0;
    quint64 seed = 20261208;
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--scale") && i + 1 < args.size())
            scale = args[++i].toDouble(&ok);
        else if (args[i] == QLatin1String("--size") && i + 1 < args.size())
            scale = args[++i].toDouble(&ok) / SuiteSize().users;
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toULongLong(&ok);
        else if (directory.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            directory = args[i];
        else
            ok = false;
        if (!ok || scale <= 0)
            return usage();
    }
    if (directory.isEmpty())
        return usage();

    QElapsedTimer total;
    total.start();
    qint64 rows = 0;
    try {
        SuiteGenerator generator(directory, SuiteSize().scaled(scale), seed);
        generator.run([&rows](const SuiteGenerator::TableCount& count) {
            if (rows == 0)
                std::printf("%-28s %10s %8s\n", "table", "rows", "ms");
            rows += count.rows;
            std::printf("%-28s %10lld %8lld\n", qPrintable(count.table), static_cast<long long>(count.rows),
                        static_cast<long long>(count.milliseconds));
            std::fflush(stdout);
        });
    } catch (const db::DbError& error) {
        std::fprintf(stderr, "talvane-gensuite: %s\n", qPrintable(error.description()));
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "talvane-gensuite: %s\n", error.what());
        return 1;
    }
    std::printf("%-28s %10lld %8lld\n", "total", static_cast<long long>(rows), static_cast<long long>(total.elapsed()));
    return 0;
}
