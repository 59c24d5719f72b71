#include <QProcess>
#include <QtTest>

// The tool's arguments, run as a user runs them: the real program, its output and exit status.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void arguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("stdoutHas");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: talvane"
                              << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "talvane " TALVANE_VERSION "\n"
                                 << "";
        QTest::newRow("unknown") << QStringList{"-x"} << 2 << ""
                                 << "unknown argument '-x'";
        QTest::newRow("Qt's own") << QStringList{"-platform", "offscreen"} << 2 << ""
                                  << "unknown argument '-platform'";
        QTest::newRow("help and more") << QStringList{"--help", "--verbose"} << 2 << ""
                                       << "unknown argument '--verbose'";
    }

    void arguments() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, stdoutHas);
        QFETCH(QString, stderrHas);
        QProcess program;
        // No display: printing and refusing must not need one.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.start(TALVANE_BIN, arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        if (stdoutHas.isEmpty())
            QVERIFY2(out.isEmpty(), qPrintable(out));
        else
            QVERIFY2(out.contains(stdoutHas), qPrintable(out));
        if (stderrHas.isEmpty())
            QVERIFY2(err.isEmpty(), qPrintable(err));
        else
            QVERIFY2(err.contains(stderrHas), qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
