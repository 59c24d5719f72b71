#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/modMinMaxForm.h"
#include "ui/main/frmMain.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QSettings>
#include <QtTest>
#include <memory>

// What the window stores when it closes, and the drop-down width of a combo box.
class TestWindowSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_fixture;
    // An empty suite for the window's refresh to read: a list it could not read would be reported.
    std::unique_ptr<TempServer> m_server;

    static QSettings store() { return QSettings(QSettings::UserScope, "Talvane", "Talvane"); }

    static QString stored(const QString& key) {
        QSettings settings(QSettings::UserScope, "Talvane", "Talvane");
        return settings.value("Settings/" + key).toString();
    }

    void clearStore() {
        QSettings settings(QSettings::UserScope, "Talvane", "Talvane");
        settings.clear();
        settings.sync();
    }

    static void seedPlacement() {
        QSettings settings(QSettings::UserScope, "Talvane", "Talvane");
        settings.beginGroup("Settings");
        for (const char* key : {"frmMainLeft", "frmMainTop", "frmMainWidth", "frmMainHeight"})
            settings.setValue(key, "1234");
        settings.endGroup();
        settings.sync();
    }

private slots:
    void initTestCase() {
        m_fixture = std::make_unique<MainWindowFixture>();
        m_server = std::make_unique<TempServer>();
    }
    void init() { clearStore(); }

    void closingANormalWindowStoresAllFiveValues() {
        auto form = std::make_unique<frmMain>(m_fixture->login());
        form->setGeometry(40, 60, 1000, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QRect frame = form->frameGeometry();
        QVERIFY(form->close());

        QCOMPARE(stored("frmMainWindowState"), QStringLiteral("0"));
        QCOMPARE(stored("frmMainLeft"), QString::number(frame.x() * 15));
        QCOMPARE(stored("frmMainTop"), QString::number(frame.y() * 15));
        QCOMPARE(stored("frmMainWidth"), QString::number(frame.width() * 15));
        QCOMPARE(stored("frmMainHeight"), QString::number(frame.height() * 15));

        // Plain decimal text in the store's file, under the application's own name.
        QFile file(QDir(m_fixture->settingsDirectory()).filePath("Talvane/Talvane.conf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Settings]"));
        QVERIFY(text.contains("frmMainHeight=" + QByteArray::number(frame.height() * 15) + "\n"));

        // A window made without reading the store opens at the designed size.
        frmMain next(m_fixture->login());
        QCOMPARE(next.size(), QSize(955, 685));
    }

    void closeButtonStoresTheSettingsToo() {
        WindowFixture form(*m_fixture);
        form.press("keyClose");
        QCOMPARE(stored("frmMainWindowState"), QStringLiteral("0"));
        QCOMPARE(stored("frmMainWidth"), QString::number(form->frameGeometry().width() * 15));
    }

    void closingAMaximisedWindowKeepsTheLastNormalPlacement() {
        seedPlacement();
        auto form = std::make_unique<frmMain>(m_fixture->login());
        form->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(form->close());
        QCOMPARE(stored("frmMainWindowState"), QStringLiteral("2"));
        for (const char* key : {"frmMainLeft", "frmMainTop", "frmMainWidth", "frmMainHeight"})
            QCOMPARE(stored(key), QStringLiteral("1234"));
    }

    void closingAMinimisedWindowStoresOnlyItsState() {
        seedPlacement();
        frmMain form(m_fixture->login());
        form.showMinimized();
        QVERIFY(form.close());
        QCOMPARE(stored("frmMainWindowState"), QStringLiteral("1"));
        QCOMPARE(stored("frmMainLeft"), QStringLiteral("1234"));
    }

    void positionOnlyLeavesTheSizeAlone() {
        seedPlacement();
        QWidget other;
        other.setObjectName("frmOther");
        other.setGeometry(30, 45, 200, 100);
        bool positionOnly = true;
        modMinMaxForm::SaveWindowSettings(&other, positionOnly);
        QCOMPARE(stored("frmOtherWindowState"), QStringLiteral("0"));
        QCOMPARE(stored("frmOtherLeft"), QString::number(other.frameGeometry().x() * 15));
        QCOMPARE(stored("frmOtherTop"), QString::number(other.frameGeometry().y() * 15));
        QVERIFY(!store().contains("Settings/frmOtherWidth"));
        QVERIFY(!store().contains("Settings/frmOtherHeight"));
        QCOMPARE(stored("frmMainWidth"), QStringLiteral("1234"));
    }

    void anUnwritableStoreNeverKeepsTheWindowOpen() {
        // The store's directory cannot be created: its parent is a plain file.
        QTemporaryDir dir;
        QFile blocker(dir.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString blocked = dir.filePath("file/settings");
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, blocked);

        auto form = std::make_unique<frmMain>(m_fixture->login());
        form->show();
        const bool closed = form->close();

        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, m_fixture->settingsDirectory());
        QVERIFY(closed);
        QVERIFY(!form->isVisible());
        QVERIFY(!QFile::exists(blocked));
    }

    void storedPlacementIsReadBack_data() {
        QTest::addColumn<QStringList>("stored"); // state, left, top, width, height (twips)
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("maximised");
        const QRect designed(QPoint(), QSize(955, 685));
        QTest::newRow("normal") << QStringList{"0", "1500", "750", "13200", "9000"} << QRect(100, 50, 880, 600)
                                << false;
        QTest::newRow("maximised") << QStringList{"2", "1500", "750", "13200", "9000"} << QRect(100, 50, 880, 600)
                                   << true;
        QTest::newRow("closed minimised")
            << QStringList{"1", "1500", "750", "13200", "9000"} << QRect(100, 50, 880, 600) << false;
        QTest::newRow("off every screen") << QStringList{"0", "-300000", "750", "13200", "9000"} << designed << false;
        QTest::newRow("title bar above the screen")
            << QStringList{"0", "1500", "-3000", "13200", "9000"} << designed << false;
        QTest::newRow("below the minimum") << QStringList{"0", "1500", "750", "6000", "9000"} << designed << false;
        QTest::newRow("malformed") << QStringList{"2", "1500", "12x", "13200", "9000"} << designed << true;
        QTest::newRow("missing") << QStringList{"", "", "", "", ""} << designed << false;
    }

    void storedPlacementIsReadBack() {
        QFETCH(QStringList, stored);
        QFETCH(QRect, geometry);
        QFETCH(bool, maximised);
        {
            QSettings settings(QSettings::UserScope, "Talvane", "Talvane");
            settings.beginGroup("Settings");
            const char* keys[] = {"frmMainWindowState", "frmMainLeft", "frmMainTop", "frmMainWidth", "frmMainHeight"};
            for (int i = 0; i < 5; ++i)
                if (!stored[i].isEmpty())
                    settings.setValue(keys[i], stored[i]);
        }
        frmMain form(m_fixture->login());
        const QPoint designedPlace = form.pos();
        QCOMPARE(modMinMaxForm::LoadWindowSettings(&form, frmMain::DesignedMinimumSize()), maximised);
        QCOMPARE(form.size(), geometry.size());
        QCOMPARE(form.pos(), geometry.isNull() || geometry.topLeft().isNull() ? designedPlace : geometry.topLeft());
    }

    // A window larger than its screen's free area (the designed 955x685, or a stored size) is
    // made to fit it, frame included, and moved inside it.
    void theWindowNeverOpensLargerThanTheScreen() {
        frmMain form(m_fixture->login());
        const QRect available = form.screen()->availableGeometry();
        form.move(available.topLeft() + QPoint(200, 100));
        form.resize(available.size() + QSize(300, 200));
        modMinMaxForm::FitToScreen(&form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY2(available.contains(form.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                          .arg(form.frameGeometry().x())
                                                                          .arg(form.frameGeometry().y())
                                                                          .arg(form.frameGeometry().width())
                                                                          .arg(form.frameGeometry().height())));
        form.hide();
    }

    void dropDownListIsAtLeastTheGivenWidth() {
        QComboBox combo;
        combo.addItems({"Popescu Ion", "Ionescu Maria"});
        combo.resize(60, 22);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        int width = 200;
        modMinMaxForm::SetDropDownWidth(&combo, width);
        combo.showPopup();
        QWidget* popup = combo.view()->window();
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(popup->width() >= 200);
        combo.hidePopup();
    }
};

QTEST_MAIN(TestWindowSettings)
#include "TestWindowSettings.moc"
