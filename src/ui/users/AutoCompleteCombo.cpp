#include "ui/users/AutoCompleteCombo.h"

#include "ui/common/MessageBox.h"
#include "ui/common/SearchText.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <utility>

AutoCompleteCombo::AutoCompleteCombo(QComboBox* combo, int compareMode)
    : QObject(combo), m_combo(combo), m_compareMode(compareMode) {
    QAbstractItemModel* model = combo->model();
    // The texts are read again once the change is over (a fill adds all its items before the event
    // loop runs again), or at the next key if that comes first.
    const auto stale = [this] {
        m_stale = true;
        if (m_readScheduled)
            return;
        m_readScheduled = true;
        QTimer::singleShot(0, this, [this] {
            m_readScheduled = false;
            readTexts();
        });
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, stale);
    connect(model, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(model, &QAbstractItemModel::rowsMoved, this, stale);
    connect(model, &QAbstractItemModel::modelReset, this, stale);
    connect(model, &QAbstractItemModel::layoutChanged, this, stale);
    connect(model, &QAbstractItemModel::dataChanged, this, stale);
    if (QLineEdit* edit = combo->lineEdit())
        connect(edit, &QLineEdit::textEdited, this, &AutoCompleteCombo::textEdited);
    combo->installEventFilter(this);
}

AutoCompleteCombo* AutoCompleteCombo::install(QComboBox* combo) {
    combo->setCompleter(nullptr);
    return new AutoCompleteCombo(combo, 1);
}

bool AutoCompleteCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_combo && event->type() == QEvent::KeyPress)
        return keyPress(static_cast<const QKeyEvent*>(event));
    return QObject::eventFilter(watched, event);
}

void AutoCompleteCombo::readTexts() {
    if (!m_stale)
        return;
    const int count = m_combo->count();
    m_texts.clear();
    m_starts.clear();
    m_starts.reserve(count + 1);
    const bool fold = m_compareMode == 1;
    for (int i = 0; i < count; ++i) {
        m_starts.append(m_texts.size());
        const QString text = m_combo->itemText(i);
        if (!fold) {
            m_texts.append(text);
            continue;
        }
        // Every character folds to one, so the positions are those of the items' own texts.
        const qsizetype at = m_texts.size();
        m_texts.resize(at + text.size());
        QChar* out = m_texts.data() + at;
        for (const QChar c : text)
            *out++ = common::searchFolded(c);
    }
    m_starts.append(m_texts.size());
    m_texts.squeeze();
    m_stale = false;
}

QStringView AutoCompleteCombo::slice(int index) const {
    return QStringView(m_texts).sliced(m_starts.at(index), m_starts.at(index + 1) - m_starts.at(index));
}

int AutoCompleteCombo::findPrefix(const QString& probe) {
    readTexts();
    const int count = static_cast<int>(m_starts.size()) - 1;
    if (count <= 0)
        return -1;
    if (slice(0).isEmpty() && probe.isEmpty())
        return 0;
    const QString prefix = m_compareMode == 1 ? common::foldedForSearch(probe) : probe;
    for (int i = 0; i < count; ++i) {
        const QStringView item = slice(i);
        if (!item.isEmpty() && item.startsWith(prefix))
            return i;
    }
    return -1;
}

int AutoCompleteCombo::findExact(const QString& wanted) {
    readTexts();
    const int count = static_cast<int>(m_starts.size()) - 1;
    const QString probe = m_compareMode == 1 ? common::foldedForSearch(wanted) : wanted;
    // Only a text that folds the same can be the wanted one; the item's own text decides.
    for (int i = 0; i < count; ++i)
        if (slice(i) == probe && m_combo->itemText(i) == wanted)
            return i;
    return -1;
}

// Selects the item at index (none for -1) and shows its text; the box leaves its text alone
// when the index does not change.
void AutoCompleteCombo::select(int index) {
    readTexts();
    m_combo->setCurrentIndex(index);
    const QString shown = index < 0 ? QString() : m_combo->itemText(index);
    if (m_combo->lineEdit()->text() != shown)
        m_combo->lineEdit()->setText(shown);
    m_combo->update();
}

bool AutoCompleteCombo::keyPress(const QKeyEvent* event) {
    QLineEdit* edit = m_combo->lineEdit();
    const QString typed = event->text();
    if (!edit || m_combo->count() == 0 || typed.isEmpty())
        return false;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter && (!typed.at(0).isPrint() || typed.at(0).isSpace()))
        return false;
    // Ctrl with a letter is a command such as paste, even where the key reports the letter; Ctrl
    // with Alt is AltGr, which types characters.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return false;

    QString probe = edit->text();
    if (!enter) {
        const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        probe.replace(start, edit->selectedText().size(), typed);
    }

    const int match = findPrefix(probe);
    if (match < 0) {
        // Refused: the box keeps its text and its item, so a slip of the finger never changes
        // what is stored. Enter goes on to the box; a character that matches nothing is not typed.
        common::Beep();
        return !enter;
    }
    select(match);
    if (enter) {
        edit->setSelection(0, 1);
        return false;
    }
    // The caret stays after the typed text and the rest of the item's text is selected, so the
    // next character replaces it and goes on with the search.
    const int length = static_cast<int>(slice(match).size());
    edit->setSelection(length, static_cast<int>(probe.size()) - length);
    return true;
}

// A text typed, pasted or deleted in the box that is not the selected item's text selects the
// item that has exactly this text, or none, and the text stays as the administrator left it.
void AutoCompleteCombo::textEdited(const QString& text) {
    const int current = m_combo->currentIndex();
    if (current >= 0 && m_combo->itemText(current) == text)
        return;
    const int exact = text.isEmpty() ? -1 : findExact(text);
    QLineEdit* edit = m_combo->lineEdit();
    const int cursor = edit->cursorPosition();
    m_combo->setCurrentIndex(exact);
    if (edit->text() != text) {
        edit->setText(text);
        edit->setCursorPosition(cursor);
    }
}
