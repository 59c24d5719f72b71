#include "app/CommandLine.h"
#include "app/modMain.h"

#include <QApplication>
#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    // The arguments are read before Qt sees them, so --help and --version work without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Outcome outcome = CommandLine::Parse(arguments);
    if (!outcome.run) {
        std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
        std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
        return outcome.status;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    // A default QSettings then opens the same store the window writes its settings to.
    QApplication::setOrganizationName(QStringLiteral("Talvane"));
    QApplication::setApplicationName(QStringLiteral("Talvane"));
    QApplication::setApplicationVersion(QStringLiteral(TALVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.talvane.Talvane"));
    try {
        modMain::Main();
    } catch (const std::exception& e) {
        // Nothing escapes start-up silently: name the error, then end with a failure status.
        modMain::ReportStartupFailure(e);
        return 1;
    }
    if (!modMain::MainWindow())
        return 0; // access refused: the message has been shown
    return app.exec();
}
