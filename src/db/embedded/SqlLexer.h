#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace db {

// One token of a T-SQL statement text, by position in that text.
struct SqlToken {
    enum Kind {
        Space,        // white space
        Comment,      // "-- ..." to the end of the line, or "/* ... */"
        Word,         // a keyword or plain identifier
        Bracketed,    // [identifier], "]]" inside stands for "]"
        DoubleQuoted, // "identifier", '""' inside stands for '"'
        Backticked,   // `identifier`
        String,       // 'text', "''" inside stands for "'"
        NString,      // N'text'
        Number,
        Symbol // any other single character
    };
    Kind kind;
    qsizetype begin;
    qsizetype length;
    bool terminated = true; // false for a quoted token that runs to the end of the text

    QStringView text(const QString& sql) const { return QStringView(sql).mid(begin, length); }
    bool isSignificant() const { return kind != Space && kind != Comment; }
    bool isIdentifier() const {
        return kind == Word || kind == Bracketed || kind == DoubleQuoted || kind == Backticked;
    }
    bool isStringLiteral() const { return kind == String || kind == NString; }
};

// Splits T-SQL statement texts into tokens, respecting quoted literals and identifiers.
class SqlLexer {
public:
    static QList<SqlToken> tokenize(const QString& sql);

    // The value of a literal or identifier token: quotes removed, doubled quotes undone. Other
    // tokens come back as their text.
    static QString unquote(const QString& sql, const SqlToken& token);

    // True for a Word token equal to keyword, without regard to case.
    static bool isKeyword(const QString& sql, const SqlToken& token, QLatin1String keyword);
};

} // namespace db
