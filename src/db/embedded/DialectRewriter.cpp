#include "db/embedded/DialectRewriter.h"

#include "db/DbError.h"
#include "db/embedded/SqlLexer.h"

#include <QDate>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>

namespace db {

namespace {

constexpr qsizetype CacheLimit = 20000;

bool isTableHint(QStringView word) {
    static const QLatin1String hints[] = {
        QLatin1String("nolock"),          QLatin1String("updlock"),       QLatin1String("holdlock"),
        QLatin1String("rowlock"),         QLatin1String("paglock"),       QLatin1String("tablock"),
        QLatin1String("tablockx"),        QLatin1String("xlock"),         QLatin1String("readpast"),
        QLatin1String("readuncommitted"), QLatin1String("readcommitted"), QLatin1String("repeatableread"),
        QLatin1String("serializable"),    QLatin1String("nowait")};
    for (const auto& hint : hints)
        if (word.compare(hint, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

class Rewrite {
public:
    Rewrite(const QString& sql, const QString& catalogueSchema)
        : m_sql(sql), m_catalogue(catalogueSchema), m_tokens(SqlLexer::tokenize(sql)), m_replacement(m_tokens.size()) {}

    QString run() {
        const int first = nextSignificant(-1);
        const bool isInsert = first >= 0 && keyword(first, "insert");
        bool inValues = false;
        for (int i = 0; i < m_tokens.size(); ++i) {
            const SqlToken& t = m_tokens.at(i);
            switch (t.kind) {
            case SqlToken::Symbol:
                if (t.text(m_sql) == u"(")
                    dropHintGroup(i);
                else if (t.text(m_sql) == u";" && nextSignificant(i) >= 0)
                    throw DbError(DbError::GeneralError,
                                  QStringLiteral("The embedded server runs one statement at a time; this text "
                                                 "holds more: %1")
                                      .arg(m_sql.trimmed()),
                                  QStringLiteral("Talvane embedded server"));
                break;
            case SqlToken::Word:
            case SqlToken::Bracketed:
            case SqlToken::DoubleQuoted:
            case SqlToken::Backticked:
                if (isInsert && keyword(i, "values"))
                    inValues = true;
                qualifiedName(i);
                if (t.kind == SqlToken::Bracketed && m_replacement.at(i).isNull() && t.text(m_sql).contains(u"]]"))
                    m_replacement[i] = backticked(SqlLexer::unquote(m_sql, t));
                break;
            case SqlToken::NString:
            case SqlToken::String:
                literal(i, inValues);
                break;
            default:
                break;
            }
        }
        return assemble();
    }

private:
    bool keyword(int i, const char* word) const {
        return SqlLexer::isKeyword(m_sql, m_tokens.at(i), QLatin1String(word));
    }

    int nextSignificant(int i) const {
        for (int j = i + 1; j < m_tokens.size(); ++j)
            if (m_tokens.at(j).isSignificant())
                return j;
        return -1;
    }

    int previousSignificant(int i) const {
        for (int j = i - 1; j >= 0; --j)
            if (m_tokens.at(j).isSignificant())
                return j;
        return -1;
    }

    bool isSymbol(int i, char16_t c) const {
        return i >= 0 && i < m_tokens.size() && m_tokens.at(i).kind == SqlToken::Symbol &&
               m_tokens.at(i).text(m_sql).front() == c;
    }

    static QString backticked(const QString& name) {
        QString escaped = name;
        escaped.replace(QLatin1String("`"), QLatin1String("``"));
        return QLatin1Char('`') + escaped + QLatin1Char('`');
    }

    // Index of the first token of the dotted name ("stk..T", "a.b") that ends at token i, or -1.
    int dottedNameStart(int i) const {
        if (i < 0 || !m_tokens.at(i).isIdentifier())
            return -1;
        while (isSymbol(i - 1, u'.')) {
            int j = i - 1;
            while (isSymbol(j - 1, u'.'))
                --j;
            if (j - 1 < 0 || !m_tokens.at(j - 1).isIdentifier())
                return -1;
            i = j - 1;
        }
        return i;
    }

    // "(hint, ...)" dropped where it follows a table of a FROM, JOIN or UPDATE clause (the table,
    // or its alias), with or without WITH; "WITH (hint, ...)" also after INTO.
    void dropHintGroup(int open) {
        int before = previousSignificant(open);
        const bool withKeyword = before >= 0 && keyword(before, "with");
        const int with = before;
        if (withKeyword)
            before = previousSignificant(before);
        int name = dottedNameStart(before);
        if (name < 0)
            return;
        int clause = previousSignificant(name);
        if (clause >= 0 && keyword(clause, "as"))
            clause = previousSignificant(clause);
        // "table alias (hint)": step over the table's own name.
        if (clause >= 0 && !keyword(clause, "from") && !keyword(clause, "join") && !keyword(clause, "update") &&
            !keyword(clause, "into") && m_tokens.at(clause).isIdentifier()) {
            name = dottedNameStart(clause);
            clause = name < 0 ? -1 : previousSignificant(name);
        }
        const bool tableClause = clause >= 0 && (keyword(clause, "from") || keyword(clause, "join") ||
                                                 keyword(clause, "update") || (withKeyword && keyword(clause, "into")));
        if (!tableClause)
            return;
        int i = nextSignificant(open);
        int hints = 0;
        while (i >= 0 && m_tokens.at(i).kind == SqlToken::Word && isTableHint(m_tokens.at(i).text(m_sql))) {
            ++hints;
            i = nextSignificant(i);
            if (isSymbol(i, u','))
                i = nextSignificant(i);
            else
                break;
        }
        if (hints == 0 || !isSymbol(i, u')'))
            return;
        for (int j = open; j <= i; ++j)
            m_replacement[j] = QLatin1String("");
        m_replacement[open] = QStringLiteral(" ");
        if (withKeyword)
            m_replacement[with] = QLatin1String("");
    }

    // "x..T" becomes "x.T"; "master" and "sys" (before server_principals) name the catalogue.
    void qualifiedName(int i) {
        const bool glued = isSymbol(i + 1, u'.') && i + 2 < m_tokens.size();
        if (!glued)
            return;
        const QString name = SqlLexer::unquote(m_sql, m_tokens.at(i));
        if (isSymbol(i + 2, u'.') && i + 3 < m_tokens.size() && m_tokens.at(i + 3).isIdentifier()) {
            m_replacement[i + 2] = QLatin1String("");
            if (name.compare(QLatin1String("master"), Qt::CaseInsensitive) == 0)
                m_replacement[i] = m_catalogue;
        } else if (name.compare(QLatin1String("sys"), Qt::CaseInsensitive) == 0 && m_tokens.at(i + 2).isIdentifier() &&
                   SqlLexer::unquote(m_sql, m_tokens.at(i + 2))
                           .compare(QLatin1String("server_principals"), Qt::CaseInsensitive) == 0) {
            m_replacement[i] = m_catalogue;
        }
    }

    // The day a date literal of the tool's statements names: 'yyyymmdd' (the form the stores
    // write) or 'mm/dd/yyyy'; an invalid date for any other text.
    static QDate dateLiteral(const QString& value) {
        static const QRegularExpression compact(QStringLiteral("^(\\d\\d\\d\\d)(\\d\\d)(\\d\\d)$"));
        static const QRegularExpression usDate(QStringLiteral("^(\\d\\d)/(\\d\\d)/(\\d\\d\\d\\d)$"));
        if (const QRegularExpressionMatch m = compact.match(value); m.hasMatch())
            return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (const QRegularExpressionMatch m = usDate.match(value); m.hasMatch())
            return QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        return QDate();
    }

    void literal(int i, bool inValues) {
        const SqlToken& t = m_tokens.at(i);
        if (!t.terminated)
            return;
        if (inValues) {
            const QDate date = dateLiteral(SqlLexer::unquote(m_sql, t));
            if (date.isValid()) {
                m_replacement[i] = QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
                return;
            }
        }
        if (t.kind == SqlToken::NString)
            m_replacement[i] = t.text(m_sql).mid(1).toString();
    }

    QString assemble() const {
        QString out;
        out.reserve(m_sql.size());
        for (int i = 0; i < m_tokens.size(); ++i)
            out += m_replacement.at(i).isNull() ? m_tokens.at(i).text(m_sql) : QStringView(m_replacement.at(i));
        return out;
    }

    const QString& m_sql;
    const QString& m_catalogue;
    QList<SqlToken> m_tokens;
    QList<QString> m_replacement; // null: the token stays as it is
};

} // namespace

QString DialectRewriter::rewrite(const QString& sql, const QString& catalogueSchema) {
    static QMutex mutex;
    static QHash<QString, QString> cache;
    const QString key = catalogueSchema + QChar(0x1f) + sql;
    {
        QMutexLocker lock(&mutex);
        const auto found = cache.constFind(key);
        if (found != cache.constEnd())
            return found.value();
    }
    const QString result = Rewrite(sql, catalogueSchema).run();
    QMutexLocker lock(&mutex);
    // Statement texts carry ids, so a long session makes many distinct ones; start afresh
    // rather than grow without bound.
    if (cache.size() >= CacheLimit)
        cache.clear();
    cache.insert(key, result);
    return result;
}

} // namespace db
