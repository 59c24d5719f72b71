#include "store/Base64Encode.h"

#include <QTest>

// The password path of the user store: typed text -> Windows-1250 bytes -> Base64 text.
class TestBase64Encode : public QObject {
    Q_OBJECT

private slots:
    void base64_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("one byte, two =") << QByteArray("a") << QStringLiteral("YQ==");
        QTest::newRow("two bytes, one =") << QByteArray("ab") << QStringLiteral("YWI=");
        QTest::newRow("three bytes, no =") << QByteArray("abc") << QStringLiteral("YWJj");
        QTest::newRow("high bytes use + and /") << QByteArray("\xfb\xff\xbf", 3) << QStringLiteral("+/+/");
        QTest::newRow("no line break after 76 characters") << QByteArray([] {
            QByteArray b;
            for (int i = 0; i < 60; ++i)
                b.append(static_cast<char>(i));
            return b;
        }()) << QStringLiteral("AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4OTo7");
    }
    void base64() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString encoded = Base64Encode(bytes);
        QCOMPARE(encoded, text);
        QCOMPARE(encoded.size() % 4, 0);
    }

    void ansiBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii unchanged") << QStringLiteral("Parola 1!") << QByteArray("Parola 1!");
        QTest::newRow("Romanian lower case") << QStringLiteral("ăîșț") << QByteArray("\xE3\xEE\xBA\xFE");
        QTest::newRow("Romanian upper case") << QStringLiteral("ĂÂÎȘȚ") << QByteArray("\xC3\xC2\xCE\xAA\xDE");
        QTest::newRow("cedilla forms") << QStringLiteral("şţŞŢ") << QByteArray("\xBA\xFE\xAA\xDE");
        QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\x80");
        QTest::newRow("other Central European letters") << QStringLiteral("ŁőŻ˙") << QByteArray("\xA3\xF5\xAF\xFF");
        QTest::newRow("CJK") << QStringLiteral("a中b") << QByteArray("a?b");
        QTest::newRow("beyond the BMP is one ?") << QStringLiteral("x\U0001F600y") << QByteArray("x?y");
        QTest::newRow("unassigned position") << QString(QChar(0x81)) << QByteArray("?");
        QTest::newRow("Latin-1 letter outside 1250") << QStringLiteral("à") << QByteArray("?");
    }
    void ansiBytes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiBytes(text), bytes);
    }

    void passwordText() {
        QCOMPARE(Base64Encode(AnsiBytes(QStringLiteral("Parolă1"))), QStringLiteral("UGFyb2zjMQ=="));
    }
};

QTEST_GUILESS_MAIN(TestBase64Encode)
#include "TestBase64Encode.moc"
