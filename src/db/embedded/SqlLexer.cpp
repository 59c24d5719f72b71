#include "db/embedded/SqlLexer.h"

namespace db {

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#');
}

bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#') ||
           c == QLatin1Char('$');
}

// Index just past a quoted token that opens at `open` and closes with `close`, where a doubled
// `close` stands for itself; sets terminated to false when the text ends first.
qsizetype quotedEnd(const QString& sql, qsizetype open, QChar close, bool& terminated) {
    qsizetype i = open + 1;
    const qsizetype n = sql.size();
    while (i < n) {
        if (sql.at(i) == close) {
            if (i + 1 < n && sql.at(i + 1) == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    terminated = false;
    return n;
}

} // namespace

QList<SqlToken> SqlLexer::tokenize(const QString& sql) {
    QList<SqlToken> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        SqlToken token{SqlToken::Symbol, i, 1};
        if (c.isSpace()) {
            qsizetype j = i + 1;
            while (j < n && sql.at(j).isSpace())
                ++j;
            token = {SqlToken::Space, i, j - i};
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            token = {SqlToken::Comment, i, (j < 0 ? n : j) - i};
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            token = {SqlToken::Comment, i, (j < 0 ? n : j + 2) - i, j >= 0};
        } else if ((c == QLatin1Char('N') || c == QLatin1Char('n')) && next == QLatin1Char('\'')) {
            bool terminated = true;
            const qsizetype end = quotedEnd(sql, i + 1, QLatin1Char('\''), terminated);
            token = {SqlToken::NString, i, end - i, terminated};
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('[') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            const SqlToken::Kind kind = c == QLatin1Char('\'')  ? SqlToken::String
                                        : c == QLatin1Char('[') ? SqlToken::Bracketed
                                        : c == QLatin1Char('"') ? SqlToken::DoubleQuoted
                                                                : SqlToken::Backticked;
            bool terminated = true;
            const qsizetype end = quotedEnd(sql, i, close, terminated);
            token = {kind, i, end - i, terminated};
        } else if (c.isDigit()) {
            qsizetype j = i + 1;
            while (j < n && (sql.at(j).isDigit() || sql.at(j) == QLatin1Char('.')))
                ++j;
            token = {SqlToken::Number, i, j - i};
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(sql.at(j)))
                ++j;
            token = {SqlToken::Word, i, j - i};
        }
        tokens.append(token);
        i = token.begin + token.length;
    }
    return tokens;
}

QString SqlLexer::unquote(const QString& sql, const SqlToken& token) {
    QStringView text = token.text(sql);
    QChar close;
    switch (token.kind) {
    case SqlToken::NString:
        text = text.mid(1);
        close = QLatin1Char('\'');
        break;
    case SqlToken::String:
        close = QLatin1Char('\'');
        break;
    case SqlToken::Bracketed:
        close = QLatin1Char(']');
        break;
    case SqlToken::DoubleQuoted:
        close = QLatin1Char('"');
        break;
    case SqlToken::Backticked:
        close = QLatin1Char('`');
        break;
    default:
        return text.toString();
    }
    QStringView inner = text.mid(1, text.size() - (token.terminated ? 2 : 1));
    QString value;
    value.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        value += inner.at(i);
        if (inner.at(i) == close && i + 1 < inner.size() && inner.at(i + 1) == close)
            ++i;
    }
    return value;
}

bool SqlLexer::isKeyword(const QString& sql, const SqlToken& token, QLatin1String keyword) {
    return token.kind == SqlToken::Word && token.text(sql).compare(keyword, Qt::CaseInsensitive) == 0;
}

} // namespace db
