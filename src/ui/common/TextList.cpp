#include "ui/common/TextList.h"

QStringView TextList::at(qsizetype index) const {
    const qsizetype start = startOf(index);
    return QStringView(m_chars).sliced(start, m_ends.at(index) - start);
}

void TextList::append(QStringView text) {
    m_chars.append(text);
    m_ends.append(m_chars.size());
}

void TextList::shiftEnds(qsizetype index, qsizetype delta) {
    if (delta == 0)
        return;
    for (auto it = m_ends.begin() + index; it != m_ends.end(); ++it)
        *it += delta;
}

void TextList::replace(qsizetype index, QStringView text) {
    const qsizetype start = startOf(index);
    const qsizetype length = m_ends.at(index) - start;
    // The text may be a view of this list's own characters: it is copied before they move.
    m_chars.replace(start, length, text.toString());
    shiftEnds(index, text.size() - length);
}

void TextList::insertEmpty(qsizetype index, qsizetype count) {
    m_ends.insert(index, count, startOf(index));
}

void TextList::remove(qsizetype index, qsizetype count) {
    if (count <= 0)
        return;
    const qsizetype start = startOf(index);
    const qsizetype length = m_ends.at(index + count - 1) - start;
    m_chars.remove(start, length);
    m_ends.remove(index, count);
    shiftEnds(index, -length);
}

void TextList::truncate(qsizetype count) {
    if (count >= size())
        return;
    m_chars.truncate(startOf(count));
    m_ends.resize(count);
}

void TextList::squeeze() {
    m_chars.squeeze();
    m_ends.squeeze();
}
