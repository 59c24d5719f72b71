// talvane-bench DIR [--runs N] [--markdown]
// Opens frmMain offscreen on the suite server in DIR (made by talvane-gensuite) and prints, as the
// median of N runs, the time of RefreshMe, of the clicks and double click of the editors, of
// ClearOperationChecks, of a letter typed into the person combo box, of a group's Save and of a
// group's Delete, each next to its floor (the same statements through the data layer, every row
// read, no widget; for Save and Delete the same statements raw on SQLite in one transaction), and
// the peak memory next to that of the floor.

#include "BenchTable.h"
#include "BenchTargets.h"
#include "PeakMemory.h"
#include "StatementFloor.h"
#include "WindowDriver.h"
#include "app/modMain.h"
#include "db/Connection.h"
#include "db/SharedConnection.h"
#include "session/DemoSuite.h"
#include "session/LoginComponent.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

namespace {

struct Options {
    QString directory;
    int runs = 5;
    bool markdown = false;
    QString only;      // time only the measure whose name starts with this text (for profiling)
    QString floorFile; // internal: run only the statements of this file and report the peak memory
};

int usage() {
    std::fprintf(stderr, "usage: talvane-bench DIR [--runs N] [--markdown]\n"
                         "  DIR        a suite server made by talvane-gensuite\n"
                         "  --runs N   timed runs of every action (default 5); the median is shown\n"
                         "  --markdown print the table as Markdown\n"
                         "  --only M   after the warm-up, time only the measure whose name starts with M\n"
                         "             (e.g. \"click on a group\"), to profile it\n");
    return 2;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        bool ok = true;
        if (arg == QLatin1String("--runs") && i + 1 < argc)
            options.runs = QString::fromLocal8Bit(argv[++i]).toInt(&ok);
        else if (arg == QLatin1String("--only") && i + 1 < argc)
            options.only = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--markdown"))
            options.markdown = true;
        else if (arg == QLatin1String("--floor-memory") && i + 1 < argc)
            options.floorFile = QString::fromLocal8Bit(argv[++i]);
        else if (options.directory.isEmpty() && !arg.startsWith(QLatin1Char('-')))
            options.directory = QDir(arg).absolutePath();
        else
            ok = false;
        if (!ok || options.runs < 1)
            return false;
    }
    return !options.directory.isEmpty();
}

void installOpener(const QString& directory) {
    const QString connectionString = QStringLiteral("DRIVER=SQL Server;UID=bench;pwd=;DATABASE=%1;Server=sqlite:%2")
                                         .arg(QString::fromLatin1(DemoDatabaseName), directory);
    db::setConnectionOpener([connectionString] { return db::Connection::open(connectionString); });
}

void writeProfile(const QString& path, const QString& directory) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the login profile " + path.toStdString());
    file.write(QStringLiteral("[Access]\nHasAccess=true\nUserId=1\n\n[Connection]\nAuthenticationMode=0\n"
                              "ServerName=sqlite:%1\nDatabaseName=%2\nUserName=bench\nPassword=\n")
                   .arg(directory, QString::fromLatin1(DemoDatabaseName))
                   .toUtf8());
}

// The floor of the peak memory: a process of its own that runs every statement the window ran
// (one list per line block, separated by empty lines) and reads every row, without widgets.
int floorMemory(const Options& options, int argc, char** argv) {
    QCoreApplication app(argc, argv);
    installOpener(options.directory);
    QFile file(options.floorFile);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QStringList statements = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    StatementFloor::run(statements);
    std::printf("%lld\n", static_cast<long long>(PeakMemoryKb()));
    return 0;
}

qint64 floorPeakMemory(const QStringList& statements, const QString& scratch, const QString& directory) {
    const QString path = QDir(scratch).filePath(QStringLiteral("floor-statements.sql"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    for (const QString& sql : statements)
        file.write(QString(sql).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8() + '\n');
    file.close();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {directory, QStringLiteral("--floor-memory"), path});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return 0;
    return child.readAllStandardOutput().trimmed().toLongLong();
}

// The system's load average over the last minute, five minutes and fifteen minutes: timings
// taken while other work runs on the machine are longer than the program's own.
QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

// The offscreen platform says on every show that it cannot pass size hints to windows; that note
// is dropped, every other message goes where it would have gone.
QtMessageHandler g_defaultHandler = nullptr;

void quietOffscreenNotes() {
    g_defaultHandler =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QLatin1String("propagateSizeHints")))
                g_defaultHandler(type, context, message);
        });
}

// An error box would wait for a click forever; close it and remember that it came.
void watchForModalBoxes(QStringList& boxes) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [&boxes] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->windowTitle() + QStringLiteral(": ") + box->text();
            box->done(QMessageBox::Ok);
        }
    });
    timer->start(50);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options))
        return usage();
    if (!QFileInfo::exists(QDir(options.directory).filePath(QString::fromLatin1(DemoDatabaseName) + ".db"))) {
        std::fprintf(stderr, "talvane-bench: %s holds no suite; make one with talvane-gensuite\n",
                     qPrintable(options.directory));
        return 2;
    }
    if (!options.floorFile.isEmpty())
        return floorMemory(options, argc, argv);

    // Settings, the login profile and the runtime directory all go to a scratch directory, so a
    // run never touches the developer's own.
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", scratch.path().toUtf8());
    qputenv("XDG_DATA_HOME", scratch.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    quietOffscreenNotes();
    QApplication app(argc, argv);

    QStringList boxes;
    watchForModalBoxes(boxes);
    try {
        const BenchTargets targets = BenchTargets::pick(options.directory, QString::fromLatin1(DemoDatabaseName));
        const QString profile = QDir(scratch.path()).filePath(QStringLiteral("profile.ini"));
        writeProfile(profile, options.directory);
        qputenv("SUITE_LOGIN_PROFILE", profile.toUtf8());
        LoginComponent login;
        bool flag = true;
        login.CheckAccess(flag);
        modMain::SetLogin(&login);
        installOpener(options.directory);

        std::printf("suite %s: %d users, %d groups, %d tree nodes\n", qPrintable(options.directory), targets.users,
                    targets.groups, targets.treeNodes);
        std::printf("clicks on: company k%d (%d work points), group k%d (%s), user k%d (%s), module m%d "
                    "(%d operations)\n",
                    targets.author, targets.authorWorkPoints, targets.group, qPrintable(targets.groupCode),
                    targets.user, qPrintable(targets.userCode), targets.module, targets.moduleOperations);

        frmMain form(login);
        QElapsedTimer shown;
        shown.start();
        form.show();
        QApplication::processEvents();
        std::printf("window shown and loaded (Form_Load) in %.0f ms\n", double(shown.nsecsElapsed()) / 1e6);

        WindowDriver driver(form, targets);
        BenchTable table;
        using Target = BenchTable::Target;
        struct Action {
            int measure;
            double (WindowDriver::*run)();
        };
        const Action actions[] = {
            {table.addMeasure("RefreshMe", Target::RatioToFloor, 4), &WindowDriver::refresh},
            {table.addMeasure("click on a group", Target::Milliseconds, 50), &WindowDriver::clickGroup},
            {table.addMeasure("click on a company", Target::Milliseconds, 50), &WindowDriver::clickAuthor},
            {table.addMeasure("double click largest module", Target::Milliseconds, 50),
             &WindowDriver::doubleClickModule},
            {table.addMeasure("ClearOperationChecks", Target::Milliseconds, 50), &WindowDriver::clearOperationChecks},
            {table.addMeasure("click on a user", Target::Milliseconds, 50), &WindowDriver::clickUser},
            {table.addMeasure("typed letter in cmbPers", Target::Milliseconds, 16), &WindowDriver::typeInPerson},

            {table.addMeasure("Save group 2,000 operations", Target::RatioToFloor, 2), &WindowDriver::saveGroup},
            {table.addMeasure("Delete group 10,000 grants", Target::RatioToFloor, 2), &WindowDriver::deleteGroup},
        };
        QStringList allStatements;
        // The first round warms the caches and is not counted.
        for (int run = 0; run <= options.runs; ++run) {
            for (const Action& action : actions) {
                if (run > 0 && !table.name(action.measure).startsWith(options.only))
                    continue;
                const double ms = (driver.*action.run)();
                const QStringList statements = driver.lastStatements();
                const double floor = driver.floorOfLastAction();
                if (run > 0)
                    table.addSample(action.measure, ms, floor, int(statements.size()));
                else if (!driver.lastActionWrites())
                    allStatements += statements;
            }
        }
        db::SharedConnection().reset();

        std::printf("\nmedian of %d runs (after one warm-up run); load average %s\n\n", options.runs,
                    qPrintable(loadAverage()));
        table.print(options.markdown);
        const qint64 peak = PeakMemoryKb();
        const qint64 floorPeak = floorPeakMemory(allStatements, scratch.path(), options.directory);
        std::printf("\npeak memory (VmHWM): window %.1f MB, floor %.1f MB (the same statements, no widget), "
                    "ratio %.2f\n",
                    peak / 1024.0, floorPeak / 1024.0, floorPeak > 0 ? double(peak) / double(floorPeak) : 0.0);
        if (!boxes.isEmpty()) {
            for (const QString& box : boxes)
                std::fprintf(stderr, "talvane-bench: the window showed a message box: %s\n", qPrintable(box));
            return 2;
        }
        return table.allWithinTarget() ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "talvane-bench: %s\n", error.what());
        for (const QString& box : boxes)
            std::fprintf(stderr, "talvane-bench: the window showed a message box: %s\n", qPrintable(box));
        return 2;
    }
}
