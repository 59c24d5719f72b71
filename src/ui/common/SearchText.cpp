#include "ui/common/SearchText.h"

#include <array>

namespace common {

namespace {

// Latin letters with diacritics live below U+0250; their folds are worked out once.
constexpr char16_t TableEnd = 0x0250;

std::array<char16_t, TableEnd> makeTable() {
    std::array<char16_t, TableEnd> table{};
    for (char16_t code = 0; code < TableEnd; ++code) {
        QChar c(code);
        // The base letter of a canonical decomposition (ș is s with a comma below).
        if (c.decompositionTag() == QChar::Canonical) {
            const QString parts = c.decomposition();
            if (!parts.isEmpty())
                c = parts.at(0);
        }
        table[code] = c.toCaseFolded().unicode();
    }
    // Letters whose stroke is not a separate mark in Unicode.
    for (const auto& [from, to] :
         {std::pair{u'ł', u'l'}, {u'Ł', u'l'}, {u'đ', u'd'}, {u'Đ', u'd'}, {u'ø', u'o'}, {u'Ø', u'o'}, {u'ß', u'ß'}})
        table[from] = to;
    return table;
}

} // namespace

QChar searchFolded(QChar c) {
    static const std::array<char16_t, TableEnd> table = makeTable();
    const char16_t code = c.unicode();
    if (code < TableEnd)
        return QChar(table[code]);
    return c.isSurrogate() ? c : c.toCaseFolded();
}

QString foldedForSearch(QStringView text) {
    QString folded(text.size(), Qt::Uninitialized);
    QChar* out = folded.data();
    for (const QChar c : text)
        *out++ = searchFolded(c);
    return folded;
}

} // namespace common
