#include "app/modMain.h"

#include <QApplication>
#include <exception>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // A default QSettings then opens the same store the window writes its settings to.
    QApplication::setOrganizationName(QStringLiteral("Talvane"));
    QApplication::setApplicationName(QStringLiteral("Talvane"));
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
