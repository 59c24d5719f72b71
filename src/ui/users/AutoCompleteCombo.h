#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QComboBox;
class QKeyEvent;

// Typing completion of an editable combo box. Each printable character selects the first item,
// in list order, whose text begins with the text typed so far (the edit text with its selection
// replaced by the character) and leaves the rest of that item's text selected, so the next
// character goes on with the search; Enter selects the matching item with its first character
// marked. Texts compare as searches do (common::foldedForSearch: without regard to case or
// diacritics, so "fagaras" finds "Făgăraș"). A key that no item's text would begin with is refused
// with a beep: the text, its selection and the selected item stay as they were. A space,
// Backspace and the other control keys never search.
//
// Whatever the administrator types, pastes or confirms, the selected item is the one whose text
// the box shows, or none, so that what is stored is what is seen.
//
// The items' texts are kept end to end in one string, as they compare (folded for search in
// compare mode 1), read again when the event loop runs after the items changed (or at the first
// key, if sooner), so a key press walks plain characters rather than the model.
class AutoCompleteCombo : public QObject {
    Q_OBJECT
public:
    // compareMode 1 compares without regard to case and diacritics, 0 exactly.
    AutoCompleteCombo(QComboBox* combo, int compareMode = 1);

    // Installs the completion on combo (which owns it) and turns off the box's own inline
    // completion, so that only this one runs.
    static AutoCompleteCombo* install(QComboBox* combo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Answers whether the key press was taken (the character already applied).
    bool keyPress(const QKeyEvent* event);
    // The index of the first item whose text begins with probe, or -1.
    int findPrefix(const QString& probe);
    // The index of the first item whose text is exactly text, or -1.
    int findExact(const QString& text);
    void select(int index);
    void textEdited(const QString& text);
    void readTexts();
    // The text of item index as it compares.
    QStringView slice(int index) const;

    QComboBox* m_combo;
    int m_compareMode;
    bool m_stale = true;
    bool m_readScheduled = false;
    QString m_texts;
    // Where each item's text starts in m_texts; one more entry marks the end.
    QList<qsizetype> m_starts;
};
