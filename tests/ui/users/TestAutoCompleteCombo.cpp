#include "support/TempServer.h"
#include "support/WindowFixture.h"
#include "ui/common/KeyedComboBox.h"
#include "ui/common/MessageBox.h"
#include "ui/common/TabControl.h"
#include "ui/main/frmMain.h"

#include <QClipboard>
#include <QLineEdit>
#include <QtTest>
#include <memory>

// Typing completion in the person, company and brand combo boxes of the real window, driven by
// key presses; after each key the selected item, the edit text and its selected text are read.
namespace {

struct Item {
    QString key;
    QString text;
};

// One key and the state it leaves: "selected key|edit text|selected text" ("-" for no item), and
// whether it was refused with a beep. Keys: one character typed as such, or <Enter>, <Back>,
// <Space>, <Clear> (select all, Backspace), <Set:text:start:length> (no item, an edit text and a
// selection put there directly), <Paste:text>, <Type:text> (each character of text in turn).
struct Step {
    QString key;
    QString state;
    bool beep = false;
};

struct Case {
    const char* name;
    const char* combo;
    QList<Item> items;
    QList<Step> steps;
};

const QList<Case> Cases = {
    {"first match in list order; Backspace keeps only an exact item; a key matching nothing beeps",
     "cmbPers",
     {{"k1", "Ana"}, {"k2", "Mihai"}, {"k3", "Maria"}, {"k4", "Mar"}},
     {{"m", "k2|Mihai|ihai"},
      {"a", "k3|Maria|ria"},
      {"r", "k3|Maria|ia"},
      {"<Back>", "k4|Mar|"},
      {"x", "k4|Mar|", true},
      {"<Back>", "-|Ma|"},
      {"x", "-|Ma|", true},
      {"r", "k3|Maria|ia"}}},
    {"case and diacritics typed as such",
     "cboAuthor",
     {{"k1", "Stejar"}, {"k2", "BRĂDET SRL"}, {"k3", "brad"}},
     {{"b", "k2|BRĂDET SRL|RĂDET SRL"}, {"r", "k2|BRĂDET SRL|ĂDET SRL"}, {"ă", "k2|BRĂDET SRL|DET SRL"}}},
    {"diacritics ignored both ways, comma and cedilla alike",
     "cboBrand",
     {{"k1", "Iasi"}, {"k2", "Înger"}, {"k3", "Sibiu"}, {"k4", "Țarc"}},
     {{"î", "k1|Iasi|asi"},
      {"n", "k2|Înger|ger"},
      {"<Clear>", "-||"},
      {"ș", "k3|Sibiu|ibiu"},
      {"<Clear>", "-||"},
      {"ţ", "k4|Țarc|arc"},
      {"â", "k4|Țarc|rc"}}},
    {"Fagaras finds Făgăraș",
     "cmbPers",
     {{"k1", "Fălticeni Ana"}, {"k2", "Făgăraș Ion"}},
     {{"<Type:Fagaras>", "k2|Făgăraș Ion| Ion"}, {"z", "k2|Făgăraș Ion| Ion", true}}},
    {"a selection in the middle is replaced by the typed character",
     "cmbPers",
     {{"k1", "Popescu Ion"}, {"k2", "Popa Ana"}},
     {{"<Set:Poxa:2:1>", "-|Poxa|x"}, {"p", "k2|Popa Ana| Ana"}}},
    {"space and Backspace never search",
     "cmbPers",
     {{"k1", "Ana"}, {"k2", "Ana Maria"}},
     {{"a", "k1|Ana|na"},
      {"<Space>", "-|A |"},
      {"<Back>", "-|A|"},
      {"n", "k1|Ana|a"},
      {"a", "k1|Ana|"},
      {"<Space>", "-|Ana |"},
      {"m", "k2|Ana Maria|aria"}}},
    {"Enter",
     "cboAuthor",
     {{"k1", "Stejar"}, {"k2", "Brădet"}},
     {{"<Set:brăd:4:0>", "-|brăd|"},
      {"<Enter>", "k2|Brădet|B"},
      {"<Set:zz:2:0>", "-|zz|"},
      {"<Enter>", "-|zz|", true},
      {"<Set::0:0>", "-||"},
      {"<Enter>", "k1|Stejar|S"}}},
    {"Enter on a first item without text", "cboBrand", {{"k5", ""}, {"k6", "Alfa"}}, {{"<Enter>", "k5||"}}},
    {"a key matching nothing keeps the chosen item, even beside an item without text",
     "cmbPers",
     {{"k0", ""}, {"k1", "Ana"}},
     {{"a", "k1|Ana|na"}, {"x", "k1|Ana|na", true}, {"<Clear>", "-||"}, {"<Paste:Ana>", "k1|Ana|"}}},
    {"pasted text selects only an item with exactly that text",
     "cboBrand",
     {{"k1", "Alfa"}, {"k2", "Beta"}},
     {{"b", "k2|Beta|eta"}, {"<Paste:Zeta>", "-|BZeta|"}, {"<Clear>", "-||"}, {"<Paste:Alfa>", "k1|Alfa|"}}},
    {"an empty box takes the key as it is", "cboBrand", {}, {{"a", "-|a|"}}},
};

} // namespace

class TestAutoCompleteCombo : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_login;
    std::unique_ptr<TempServer> m_server;
    WindowFixture m_form;

    static QString state(const KeyedComboBox* combo) {
        const QString key = combo->currentIndex() < 0 ? QStringLiteral("-") : combo->selectedKey();
        return key + '|' + combo->lineEdit()->text() + '|' + combo->lineEdit()->selectedText();
    }

    static void press(QWidget* target, const QString& key) {
        if (key == "<Enter>")
            QTest::keyClick(target, Qt::Key_Return);
        else if (key == "<Back>")
            QTest::keyClick(target, Qt::Key_Backspace);
        else if (key == "<Space>")
            QTest::keyClick(target, Qt::Key_Space);
        else if (key == "<Clear>") {
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(target, Qt::Key_Backspace);
        } else if (key.startsWith("<Type:")) {
            for (const QChar c : key.mid(6).chopped(1))
                press(QApplication::focusWidget(), QString(c));
        } else if (key.startsWith("<Paste:")) {
            QGuiApplication::clipboard()->setText(key.mid(7).chopped(1));
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        } else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, key, Qt::NoModifier);
    }

private slots:
    void initTestCase() {
        m_login = std::make_unique<MainWindowFixture>();
        m_server = std::make_unique<TempServer>();
        QVERIFY(m_form.open(*m_login));
        m_form->SSTab1->setCurrentIndex(1);
    }
    void cleanupTestCase() {
        m_form.reset();
        m_server.reset();
    }

    void completesWhatIsTyped_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < Cases.size(); ++i)
            QTest::newRow(Cases.at(i).name) << i;
    }
    void completesWhatIsTyped() {
        QFETCH(int, index);
        const Case& c = Cases.at(index);
        auto* combo = m_form->findChild<KeyedComboBox*>(c.combo);
        QVERIFY(combo);
        m_form->tabDetalii->setCurrentIndex(QLatin1String(c.combo) == "cmbPers" ? 0 : 1);
        combo->clearKeyed();
        for (const Item& item : c.items)
            combo->addKeyed(item.key, item.text, item.key.mid(1).toInt());
        combo->clearSelection();
        combo->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), combo);

        for (const Step& step : c.steps) {
            const int beeps = common::BeepCount();
            if (step.key.startsWith("<Set:")) {
                const QStringList parts = step.key.mid(5).chopped(1).split(':');
                combo->clearSelection();
                combo->lineEdit()->setText(parts.at(0));
                combo->lineEdit()->setSelection(parts.at(1).toInt(), parts.at(2).toInt());
            } else {
                press(QApplication::focusWidget(), step.key);
            }
            QVERIFY2(state(combo) == step.state,
                     qPrintable("after " + step.key + ": " + state(combo) + " instead of " + step.state));
            QVERIFY2(common::BeepCount() - beeps == (step.beep ? 1 : 0), qPrintable("beeps after " + step.key));
        }
    }
};

QTEST_MAIN(TestAutoCompleteCombo)
#include "TestAutoCompleteCombo.moc"
