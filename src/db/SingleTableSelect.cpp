#include "db/SingleTableSelect.h"

#include "db/embedded/SqlLexer.h"

namespace db {

std::optional<SingleTableSelect> SingleTableSelect::parse(const QString& sql) {
    QList<SqlToken> t;
    for (const SqlToken& token : SqlLexer::tokenize(sql))
        if (token.isSignificant())
            t.append(token);
    if (!t.isEmpty() && t.constLast().kind == SqlToken::Symbol && t.constLast().text(sql) == u";")
        t.removeLast();
    auto keyword = [&](qsizetype i, const char* word) {
        return i < t.size() && SqlLexer::isKeyword(sql, t.at(i), QLatin1String(word));
    };
    auto symbol = [&](qsizetype i, char16_t c) {
        return i < t.size() && t.at(i).kind == SqlToken::Symbol && t.at(i).text(sql).front() == c;
    };
    if (!keyword(0, "select") || !symbol(1, u'*') || !keyword(2, "from") || t.size() < 4 || !t.at(3).isIdentifier())
        return std::nullopt;

    // The table's name, with its database and schema parts ("stk..T", "dbo.T").
    qsizetype i = 4;
    while (symbol(i, u'.')) {
        while (symbol(i, u'.'))
            ++i;
        if (i >= t.size() || !t.at(i).isIdentifier())
            return std::nullopt;
        ++i;
    }
    SingleTableSelect result;
    result.table = sql.mid(t.at(3).begin, t.at(i - 1).begin + t.at(i - 1).length - t.at(3).begin);

    // A table hint: "(nolock)" or "WITH (...)".
    if (keyword(i, "with") && symbol(i + 1, u'('))
        ++i;
    if (symbol(i, u'(')) {
        while (i < t.size() && !symbol(i, u')')) {
            if (!symbol(i, u'(') && !symbol(i, u',') && t.at(i).kind != SqlToken::Word)
                return std::nullopt;
            ++i;
        }
        if (i >= t.size())
            return std::nullopt;
        ++i;
    }

    if (keyword(i, "where")) {
        const qsizetype start = i + 1;
        int depth = 0;
        ++i;
        while (i < t.size() && !(depth == 0 && keyword(i, "order"))) {
            if (symbol(i, u'('))
                ++depth;
            else if (symbol(i, u')'))
                --depth;
            ++i;
        }
        if (start >= i)
            return std::nullopt;
        result.filter = sql.mid(t.at(start).begin, t.at(i - 1).begin + t.at(i - 1).length - t.at(start).begin);
    }
    if (keyword(i, "order") && keyword(i + 1, "by"))
        i = t.size();
    if (i != t.size())
        return std::nullopt;
    return result;
}

} // namespace db
