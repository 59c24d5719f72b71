#include "app/CommandLine.h"

namespace CommandLine {

namespace {

const char* const Usage = "Usage: talvane [--help | --version]\n";

QString help() {
    return QString::fromLatin1(Usage) +
           QStringLiteral("\n"
                          "Manages the users, groups and access rights of the suite in one window.\n"
                          "\n"
                          "The suite login profile says who may run the tool and which server and\n"
                          "database it works on: the file named by $SUITE_LOGIN_PROFILE, or else\n"
                          "$XDG_CONFIG_HOME/suite-login/profile.ini. Without a profile at that default\n"
                          "place the tool opens its embedded demo suite; a $SUITE_LOGIN_PROFILE that\n"
                          "names no file stops the start.\n"
                          "\n"
                          "  --help     show this text and exit\n"
                          "  --version  show the version and exit\n");
}

} // namespace

Outcome Parse(const QStringList& arguments) {
    Outcome outcome;
    if (arguments.isEmpty())
        return outcome;
    outcome.run = false;
    if (arguments.size() == 1 && arguments.first() == QLatin1String("--help")) {
        outcome.output = help();
    } else if (arguments.size() == 1 && arguments.first() == QLatin1String("--version")) {
        outcome.output = QStringLiteral("talvane " TALVANE_VERSION "\n");
    } else {
        const QString refused =
            arguments.first() == QLatin1String("--help") || arguments.first() == QLatin1String("--version")
                ? arguments.at(1)
                : arguments.first();
        outcome.status = 2;
        outcome.error = QStringLiteral("talvane: unknown argument '%1'\n").arg(refused) + QString::fromLatin1(Usage) +
                        QStringLiteral("Try 'talvane --help' for more information.\n");
    }
    return outcome;
}

} // namespace CommandLine
