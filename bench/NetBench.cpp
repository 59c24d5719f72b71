// talvane-netbench DIR [--tds COMMAND] [--delays 0,20] [--runs N] [--markdown]
// The window's commands over a network: frmMain signs in through its login profile to the TDS
// server double serving a copy of the suite in DIR (made by talvane-gensuite), through unixODBC,
// FreeTDS and Qt's ODBC driver, with each reply delayed by a round trip. Prints, per delay, the
// median time of each command and the logins and requests it cost on the server's side.

#include "BenchTargets.h"
#include "TdsEmulator.h"
#include "WindowDriver.h"
#include "app/modMain.h"
#include "db/OneConnectionAttempt.h"
#include "db/SharedConnection.h"
#include "db/Transaction.h"
#include "session/DemoSuite.h"
#include "session/LoginComponent.h"
#include "session/OpenConnection.h"
#include "ui/common/KeyedTreeWidget.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>

namespace {

struct Options {
    QString directory;
    QString command = qEnvironmentVariable("TALVANE_TEST_TDS_SERVER");
    QList<double> delays{0, 20};
    int runs = 5;
    bool markdown = false;
    bool showRequests = false;
};

// One command's results at one delay.
struct Result {
    QList<double> ms;
    int logins = 0;
    int requests = 0;

    double median() const {
        QList<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.isEmpty() ? 0 : sorted.at(sorted.size() / 2);
    }
};

struct Command {
    QString name;
    double targetAt20; // ms; 0 when none
    std::function<double()> run;
};

int usage() {
    std::fprintf(stderr, "usage: talvane-netbench DIR [--tds COMMAND] [--delays 0,20] [--runs N] [--markdown]\n"
                         "  DIR        a suite server made by talvane-gensuite (a copy is served)\n"
                         "  --tds      the TDS server double's command (default: $TALVANE_TEST_TDS_SERVER),\n"
                         "             e.g. \"python3 ../shared/tdsemu/tdsemu.py\"\n"
                         "  --delays   round-trip delays in ms, one table column each (default 0,20)\n"
                         "  --runs N   timed runs of every command after one warm-up run (default 5)\n"
                         "  --show-requests  prints the requests of each command's last run\n");
    return 2;
}

bool parse(const QStringList& args, Options& options) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (arg == QLatin1String("--tds") && hasValue)
            options.command = args.at(++i);
        else if (arg == QLatin1String("--delays") && hasValue) {
            options.delays.clear();
            for (const QString& part : args.at(++i).split(QLatin1Char(','))) {
                options.delays << part.toDouble(&ok);
                if (!ok)
                    return false;
            }
        } else if (arg == QLatin1String("--runs") && hasValue)
            options.runs = args.at(++i).toInt(&ok);
        else if (arg == QLatin1String("--markdown"))
            options.markdown = true;
        else if (arg == QLatin1String("--show-requests"))
            options.showRequests = true;
        else if (options.directory.isEmpty() && !arg.startsWith(QLatin1Char('-')))
            options.directory = QDir(arg).absolutePath();
        else
            ok = false;
        if (!ok || options.runs < 1)
            return false;
    }
    return !options.directory.isEmpty() && !options.command.isEmpty();
}

void copySuite(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& file : QDir(from).entryList({QStringLiteral("*.db")}, QDir::Files))
        if (!QFile::copy(QDir(from).filePath(file), QDir(to).filePath(file)))
            throw std::runtime_error("cannot copy the suite's " + file.toStdString());
}

void writeProfile(const QString& path, int port) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the login profile " + path.toStdString());
    file.write(QStringLiteral("[Access]\nHasAccess=true\nUserId=1\n\n[Connection]\nAuthenticationMode=0\n"
                              "ServerName=127.0.0.1,%1\nDatabaseName=%2\nUserName=admin\nPassword=x\n")
                   .arg(port)
                   .arg(QString::fromLatin1(DemoDatabaseName))
                   .toUtf8());
}

// Runs every command at one delay; results[i] is the i-th command's.
void benchAtDelay(const Options& options, double delay, const QString& scratch, QList<Command>& commands,
                  QList<Result>& results) {
    const QString served = QDir(scratch).filePath(QStringLiteral("delay-%1").arg(delay));
    copySuite(options.directory, served);
    const BenchTargets targets = BenchTargets::pick(served, QString::fromLatin1(DemoDatabaseName));
    TdsEmulator server(options.command, served, delay);
    const QString profile = QDir(scratch).filePath(QStringLiteral("profile.ini"));
    writeProfile(profile, server.port());
    qputenv("SUITE_LOGIN_PROFILE", profile.toUtf8());
    LoginComponent login;
    bool flag = true;
    login.CheckAccess(flag);
    modMain::SetLogin(&login);
    InstallConnectionSource(login);

    auto form = std::make_unique<frmMain>(login);
    server.mark();
    QElapsedTimer shown;
    shown.start();
    form->show();
    const QDeadlineTimer loaded(120000);
    while (form->lstUsers->topLevelItemCount() < targets.users && !loaded.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    if (form->lstUsers->topLevelItemCount() < targets.users)
        throw std::runtime_error("the window did not load the suite");
    results[0].ms << double(shown.nsecsElapsed()) / 1e6;
    results[0].logins = server.logins();
    results[0].requests = server.requests();

    WindowDriver driver(*form, targets);
    // Each timed action is one command of the window, as its toolbar and lists run them; the
    // requests counted are the timed action's own.
    std::optional<db::OneConnectionAttempt> command;
    const auto start = [&] {
        server.mark();
        command.emplace();
    };
    const auto end = [&] { command.reset(); };
    driver.setAround(start, end);
    int round = 0;
    // Save writes only the editor that changed: the group the click loaded with its full name
    // changed, or the user the click loaded with its display name changed.
    const auto saveChanged = [&](int page, QLineEdit* field, const QString& text) {
        form->SSTab1->setCurrentIndex(page);
        field->setText(text.arg(round));
        QApplication::processEvents();
        start();
        QElapsedTimer timer;
        timer.start();
        const bool saved = form->Save();
        QApplication::processEvents();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        end();
        if (!saved)
            throw std::runtime_error("Save did not save the changed record");
        return ms;
    };
    // What joining statements into batches gives the stores: the grants of a group for a company,
    // through the data layer in one transaction, rolled back so the suite stays as it was.
    const auto grantInserts = [&](bool batched) {
        QStringList statements;
        for (int i = 1; i <= 2000; ++i)
            statements << QStringLiteral(" Insert Into admGrupOperatii (auID,grID,opID,ID,IdOperator,DataAct) Values "
                                         "(%1,%2,%3,%3,55,'20250307')")
                              .arg(targets.author)
                              .arg(targets.spareGroup)
                              .arg(i);
        start();
        QElapsedTimer timer;
        timer.start();
        {
            const std::shared_ptr<db::Connection> connection = db::ReplaceSharedConnection();
            const db::Transaction transaction(*connection);
            if (batched)
                connection->executeBatch(statements);
            else
                for (const QString& sql : statements)
                    connection->execute(sql);
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        end();
        return ms;
    };
    commands[6].run = [&] { return grantInserts(false); };
    commands[7].run = [&] { return grantInserts(true); };
    commands[1].run = [&] { return driver.clickGroup(); };
    commands[2].run = [&] { return driver.clickUser(); };
    commands[3].run = [&] { return saveChanged(0, form->txtFullName, QStringLiteral("Grup schimbat ș %1")); };
    commands[8].run = [&] { return saveChanged(1, form->txtDisplay, QStringLiteral("Utilizator schimbat ț %1")); };
    commands[4].run = [&] { return driver.refresh(); };
    commands[5].run = [&] { return driver.saveGroup(); };
    for (round = 0; round <= options.runs; ++round) {
        for (qsizetype i = 1; i < commands.size(); ++i) {
            const double ms = commands[i].run();
            if (round == 0)
                continue;
            results[i].ms << ms;
            results[i].logins = server.logins();
            results[i].requests = server.requests();
            if (options.showRequests && round == options.runs)
                std::printf("%s at %g ms:\n  %s\n", qPrintable(commands[i].name), delay,
                            qPrintable(server.requestTexts().join(QStringLiteral("\n  "))));
        }
    }
    form.reset();
    db::SharedConnection().reset();
}

QString cell(double value) {
    return QString::number(value, 'f', value < 100 ? 1 : 0);
}

void print(const Options& options, const QList<Command>& commands, const QList<QList<Result>>& byDelay) {
    QStringList head{QStringLiteral("command")};
    for (double delay : options.delays)
        head << QStringLiteral("%1 ms RTT: ms").arg(delay) << QStringLiteral("logins") << QStringLiteral("requests");
    head << QStringLiteral("target at 20 ms") << QStringLiteral("result");
    QList<QStringList> rows;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QStringList row{commands.at(i).name};
        std::optional<double> at20;
        for (qsizetype d = 0; d < options.delays.size(); ++d) {
            const Result& r = byDelay.at(d).at(i);
            row << cell(r.median()) << QString::number(r.logins) << QString::number(r.requests);
            if (options.delays.at(d) == 20)
                at20 = r.median();
        }
        const double target = commands.at(i).targetAt20;
        row << (target > 0 ? QStringLiteral("<= %1 ms").arg(target) : QStringLiteral("-"));
        row << (target > 0 && at20 ? (*at20 <= target ? QStringLiteral("ok") : QStringLiteral("missed"))
                                   : QStringLiteral("-"));
        rows << row;
    }
    if (options.markdown) {
        std::printf("| %s |\n|---|", qPrintable(head.join(QStringLiteral(" | "))));
        for (qsizetype c = 1; c < head.size(); ++c)
            std::printf(c + 2 < head.size() ? "--:|" : "---|");
        std::printf("\n");
        for (const QStringList& row : rows)
            std::printf("| %s |\n", qPrintable(row.join(QStringLiteral(" | "))));
        return;
    }
    for (const QStringList& row : QList<QStringList>{head} + rows)
        std::printf("%-32s %s\n", qPrintable(row.first()), qPrintable(row.mid(1).join(QStringLiteral("  "))));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    qputenv("XDG_CONFIG_HOME", scratch.path().toUtf8());
    qputenv("XDG_DATA_HOME", scratch.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Options options;
    if (!parse(app.arguments().mid(1), options))
        return usage();

    // A message box would wait for a click forever: it ends the benchmark instead.
    QStringList boxes;
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [&boxes] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->done(QMessageBox::Ok);
        }
    });
    boxWatch.start(50);

    QList<Command> commands{{QStringLiteral("start-up (window shown and filled)"), 0, {}},
                            {QStringLiteral("click on a group"), 150, {}},
                            {QStringLiteral("click on a user"), 150, {}},
                            {QStringLiteral("Save of a changed group"), 300, {}},
                            {QStringLiteral("Refresh"), 1000, {}},
                            {QStringLiteral("Save group 2,000 operations"), 2000, {}},
                            {QStringLiteral("2,000 grant INSERTs one at a time (data layer)"), 0, {}},
                            {QStringLiteral("2,000 grant INSERTs by executeBatch (data layer)"), 0, {}},
                            {QStringLiteral("Save of a changed user"), 300, {}}};
    QList<QList<Result>> byDelay;
    try {
        for (double delay : options.delays) {
            byDelay << QList<Result>(commands.size());
            benchAtDelay(options, delay, scratch.path(), commands, byDelay.last());
            if (!boxes.isEmpty())
                throw std::runtime_error("the window showed a message box: " + boxes.join(" / ").toStdString());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "talvane-netbench: %s\n", error.what());
        return 2;
    }
    std::printf("suite %s, median of %d runs after one warm-up run\n\n", qPrintable(options.directory), options.runs);
    print(options, commands, byDelay);
    return 0;
}
