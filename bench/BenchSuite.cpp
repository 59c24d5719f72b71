#include "BenchSuite.h"

#include "BenchCsv.h"
#include "BenchTable.h"
#include "BenchTargets.h"
#include "PeakMemory.h"
#include "RawFloor.h"
#include "RightsDriver.h"
#include "app/modMain.h"
#include "db/Connection.h"
#include "db/SharedConnection.h"
#include "db/StatementLog.h"
#include "session/DemoSuite.h"
#include "session/LoginComponent.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace BenchSuite {

namespace {

const QString Database = QString::fromLatin1(DemoDatabaseName);

// The peak memory the window may reach: the suite of 20,000 users and one up to five times
// larger.
double memoryLimitMb(int users) {
    return users <= 20000 ? 80 : 150;
}

void writeProfile(const QString& path, const QString& directory) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the login profile " + path.toStdString());
    file.write(QStringLiteral("[Access]\nHasAccess=true\nUserId=1\n\n[Connection]\nAuthenticationMode=0\n"
                              "ServerName=sqlite:%1\nDatabaseName=%2\nUserName=bench\nPassword=\n")
                   .arg(directory, Database)
                   .toUtf8());
}

// Runs the floor of the peak memory in a child process and returns its peak in kB.
qint64 floorPeakMemory(const QStringList& statements, const QString& scratch, const QString& directory) {
    const QString path = QDir(scratch).filePath(QStringLiteral("floor-statements.sql"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    for (const QString& sql : statements)
        file.write(QString(sql).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8() + '\n');
    file.close();
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {directory, QStringLiteral("--floor-memory"), path});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error("the floor of the peak memory failed");
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

void writeResults(const QString& path, const BenchTable& table, const BenchTargets& targets) {
    QFile file(path);
    const QJsonObject results{
        {"users", targets.users}, {"loadAverage", loadAverage()}, {"rows", BenchTable::toJson(table.rows())}};
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QJsonDocument(results).toJson()) < 0)
        throw std::runtime_error("cannot write the results to " + path.toStdString());
}

struct Action {
    int measure;
    double (RightsDriver::*run)();
};

// Runs every action options.runs times after a warm-up round, adding the samples to the table;
// the statements of the warm-up round that only read go to floorStatements, when given.
void runActions(RightsDriver& driver, const QList<Action>& actions, const BenchOptions& options, BenchTable& table,
                QStringList* floorStatements) {
    for (int run = 0; run <= options.runs; ++run) {
        for (const Action& action : actions) {
            if (run > 0 && !table.name(action.measure).startsWith(options.only))
                continue;
            const double ms = (driver.*action.run)();
            const QStringList statements = driver.lastStatements();
            const double floor = driver.floorOfLastAction();
            if (run > 0)
                table.addSample(action.measure, ms, statements.isEmpty() ? std::nullopt : std::optional(floor),
                                int(statements.size()));
            else if (floorStatements && !driver.lastActionWrites())
                *floorStatements += statements;
        }
    }
}

// The median time of the statements the window ran as it was shown, raw on SQLite (three runs).
double loadFloor(const BenchTargets& targets) {
    QList<double> runs;
    for (int run = 0; run < 3; ++run)
        runs << RawFloor::read(targets.directory, targets.database, db::StatementLog::recorded(),
                               db::StatementLog::recordedValues());
    std::sort(runs.begin(), runs.end());
    return runs.at(1);
}

// Shows the window on the suite, times its showing, the editors' actions, then the rights views',
// and fills the table; the statements of the editors' warm-up round that only read go to
// floorStatements, the peak memory before the rights views opened to editorsPeakKb, and the peak
// once they were closed to rightsPeakKb.
void benchWindow(const BenchOptions& options, const BenchTargets& targets, BenchTable& table,
                 QStringList& floorStatements, qint64& editorsPeakKb, qint64& rightsPeakKb) {
    LoginComponent login;
    bool flag = true;
    login.CheckAccess(flag);
    modMain::SetLogin(&login);
    installOpener(options.directory);

    using Target = BenchTable::Target;
    const int loaded = table.addMeasure("window shown and loaded", Target::RatioToFloor, 1.5);
    frmMain form(login);
    QElapsedTimer shown;
    db::StatementLog::startRecording();
    shown.start();
    form.show();
    QApplication::processEvents();
    const double showMs = double(shown.nsecsElapsed()) / 1e6;
    db::StatementLog::stopRecording();
    std::printf("window shown and loaded (Form_Load) in %.0f ms\n", showMs);
    std::fflush(stdout);
    table.addSample(loaded, showMs, loadFloor(targets), int(db::StatementLog::recorded().size()));

    RightsDriver driver(form, targets);
    const QList<Action> editors = {
        {table.addMeasure("RefreshMe", Target::RatioToFloor, 2), &WindowDriver::refresh},
        {table.addMeasure("click on a group", Target::Milliseconds, 16), &WindowDriver::clickGroup},
        {table.addMeasure("click on a company", Target::Milliseconds, 16), &WindowDriver::clickAuthor},
        {table.addMeasure("double click on a module", Target::Milliseconds, 16), &WindowDriver::doubleClickModule},
        {table.addMeasure("ClearOperationChecks", Target::Milliseconds, 16), &WindowDriver::clearOperationChecks},
        {table.addMeasure("click on a user", Target::Milliseconds, 16), &WindowDriver::clickUser},
        {table.addMeasure("typed letter in cmbPers", Target::Milliseconds, 16), &WindowDriver::typeInPerson},
        {table.addMeasure("Save group 2,000 operations", Target::RatioToFloor, 2), &WindowDriver::saveGroup},
        {table.addMeasure("Delete group 10,000 grants", Target::RatioToFloor, 2), &WindowDriver::deleteGroup},
        {table.addMeasure("double click on the module of 9,000", Target::Milliseconds, 16),
         &WindowDriver::doubleClickLargeModule},
        {table.addMeasure("click on the user in 20 groups", Target::Milliseconds, 16),
         &WindowDriver::clickUserInManyGroups},
    };
    runActions(driver, editors, options, table, &floorStatements);
    // The editors' peak is taken before the rights views open theirs.
    editorsPeakKb = PeakMemoryKb();
    const QList<Action> rights = {
        {table.addMeasure("find: first letter in txtFindUsers", Target::Milliseconds, 16),
         &RightsDriver::findFirstLetter},
        {table.addMeasure("find: next letters (slowest)", Target::Milliseconds, 16), &RightsDriver::findNextLetters},
        {table.addMeasure("find: Esc shows every user", Target::Milliseconds, 16), &RightsDriver::findEscape},
        {table.addMeasure("find: longest slice after those keys", Target::Milliseconds, 16),
         &RightsDriver::findLongestSlice},
        {table.addMeasure("find: slowest key until all in view", Target::Milliseconds, 100),
         &RightsDriver::findSlowestWhole},
        {table.addMeasure("effective rights, user in 20 groups", Target::Milliseconds, 100),
         &RightsDriver::effectiveRights},
        {table.addMeasure("who can do this, 10,000 users", Target::Milliseconds, 100), &RightsDriver::whoCanDoThis},
    };
    runActions(driver, rights, options, table, nullptr);
    rightsPeakKb = PeakMemoryKb();
    // The same find on the user list sorted by a column, as a header click leaves it.
    const QList<Action> sorted = {
        {table.addMeasure("find: first letter, list sorted", Target::Milliseconds, 16),
         &RightsDriver::findFirstLetterSorted},
        {table.addMeasure("find: Esc, list sorted", Target::Milliseconds, 16), &RightsDriver::findEscape},
        {table.addMeasure("find: longest slice, list sorted", Target::Milliseconds, 16),
         &RightsDriver::findLongestSlice},
        {table.addMeasure("find: slowest key until all in view, sorted", Target::Milliseconds, 100),
         &RightsDriver::findSlowestWhole},
    };
    runActions(driver, sorted, options, table, nullptr);
    db::SharedConnection().reset();
}

} // namespace

void installOpener(const QString& directory) {
    const QString connectionString =
        QStringLiteral("DRIVER=SQL Server;UID=bench;pwd=;DATABASE=%1;Server=sqlite:%2").arg(Database, directory);
    db::setConnectionOpener([connectionString] { return db::Connection::open(connectionString); });
}

int run(const BenchOptions& options, int argc, char** argv) {
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
        const BenchTargets targets = BenchTargets::pick(options.directory, Database);
        const QString profile = QDir(scratch.path()).filePath(QStringLiteral("profile.ini"));
        writeProfile(profile, options.directory);
        qputenv("SUITE_LOGIN_PROFILE", profile.toUtf8());

        std::printf("suite %s: %d users, %d groups, %d tree nodes\n", qPrintable(options.directory), targets.users,
                    targets.groups, targets.treeNodes);
        std::printf("clicks on: company k%d (%d work points), group k%d (%s), user k%d (%s), module m%d "
                    "(%d operations)\n",
                    targets.author, targets.authorWorkPoints, targets.group, qPrintable(targets.groupCode),
                    targets.user, qPrintable(targets.userCode), targets.module, targets.moduleOperations);

        BenchTable table;
        QStringList floorStatements;
        qint64 editorsPeakKb = 0;
        qint64 rightsPeakKb = 0;
        benchWindow(options, targets, table, floorStatements, editorsPeakKb, rightsPeakKb);
        const double peakMb = editorsPeakKb / 1024.0;
        const double floorPeakMb = floorPeakMemory(floorStatements, scratch.path(), options.directory) / 1024.0;
        // The suite's size, without the user of the rights views.
        const int memory =
            table.addMeasure("peak memory MB (VmHWM)", BenchTable::Target::Megabytes, memoryLimitMb(targets.users - 1));
        table.addSample(memory, peakMb, floorPeakMb, int(floorStatements.size()));
        const int rightsMemory = table.addMeasure("peak memory MB, rights views too", BenchTable::Target::Megabytes,
                                                  memoryLimitMb(targets.users - 1));
        table.addSample(rightsMemory, rightsPeakKb / 1024.0, floorPeakMb, int(floorStatements.size()));
        if (!options.skipCsv) {
            const BenchCsv::Result csv = BenchCsv::measure(options.directory, scratch.path());
            std::printf("whole-suite CSV: %lld rows, %.1f GB\n", static_cast<long long>(csv.rows),
                        double(csv.bytes) / 1e9);
            table.addSample(table.addMeasure("whole-suite CSV report", BenchTable::Target::RatioToFloor, 2),
                            csv.milliseconds, csv.floorMilliseconds, 2);
            table.addSample(table.addMeasure("whole-suite CSV peak memory MB", BenchTable::Target::Megabytes, 100),
                            csv.peakMb, std::nullopt, 0);
        }

        if (!boxes.isEmpty()) {
            for (const QString& box : boxes)
                std::fprintf(stderr, "talvane-bench: the window showed a message box: %s\n", qPrintable(box));
            return 2;
        }
        if (!options.resultsFile.isEmpty()) {
            writeResults(options.resultsFile, table, targets);
        } else {
            std::printf("\nmedian of %d runs (after one warm-up run); load average %s\n\n", options.runs,
                        qPrintable(loadAverage()));
            table.print(options.markdown);
        }
        return table.allWithinTarget() ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "talvane-bench: %s\n", error.what());
        for (const QString& box : boxes)
            std::fprintf(stderr, "talvane-bench: the window showed a message box: %s\n", qPrintable(box));
        return 2;
    }
}

int floorMemory(const BenchOptions& options) {
    QFile file(options.floorFile);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    const QStringList statements = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    try {
        RawFloor::read(options.directory, Database, statements, {});
    } catch (const std::exception& error) {
        std::fprintf(stderr, "talvane-bench: %s\n", error.what());
        return 2;
    }
    std::printf("%lld\n", static_cast<long long>(PeakMemoryKb()));
    return 0;
}

} // namespace BenchSuite
