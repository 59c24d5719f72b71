#include "ui/common/SearchText.h"

#include <QtTest>

// Searches compare without case and diacritics, one character for one.
class TestSearchText : public QObject {
    Q_OBJECT

private slots:
    void foldsCaseAndDiacritics_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("comma below") << QStringLiteral("Ștefănești Țară") << QStringLiteral("stefanesti tara");
        QTest::newRow("cedilla") << QStringLiteral("ŞŢşţ") << QStringLiteral("stst");
        QTest::newRow("breve, circumflex") << QStringLiteral("ĂÂÎăâî") << QStringLiteral("aaiaai");
        QTest::newRow("other latin") << QStringLiteral("Éłøü") << QStringLiteral("elou");
        QTest::newRow("unchanged") << QStringLiteral("ab 12-#") << QStringLiteral("ab 12-#");
        QTest::newRow("beyond the table") << QStringLiteral("ΑΩ😀") << QStringLiteral("αω😀");
    }
    void foldsCaseAndDiacritics() {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(common::foldedForSearch(text), folded);
        QCOMPARE(common::foldedForSearch(text).size(), text.size());
    }
};

QTEST_GUILESS_MAIN(TestSearchText)
#include "TestSearchText.moc"
