#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A list of texts held one after the other in one string, with where each ends: 100,000 names take
// the room of their characters and one number each, rather than a string (and an allocation) each.
// Reading and adding at the end are cheap; changing, inserting or removing a text in the middle
// moves every text after it.
class TextList {
public:
    qsizetype size() const { return m_ends.size(); }
    bool isEmpty() const { return m_ends.isEmpty(); }
    // The text at index, read in place: the view lasts until the list changes.
    QStringView at(qsizetype index) const;

    void append(QStringView text);
    void replace(qsizetype index, QStringView text);
    // Inserts count empty texts before index.
    void insertEmpty(qsizetype index, qsizetype count);
    void remove(qsizetype index, qsizetype count);
    // Keeps the first count texts.
    void truncate(qsizetype count);
    // Gives up the room held beyond the texts.
    void squeeze();

private:
    qsizetype startOf(qsizetype index) const { return index == 0 ? 0 : m_ends.at(index - 1); }
    // Moves the ends of the texts from index on by delta characters.
    void shiftEnds(qsizetype index, qsizetype delta);

    QString m_chars;
    QList<qsizetype> m_ends;
};
