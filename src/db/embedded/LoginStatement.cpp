#include "db/embedded/LoginStatement.h"

#include "db/DbError.h"
#include "db/embedded/SqlLexer.h"

namespace db {

namespace {

const QString Source = QStringLiteral("Talvane embedded server");

// Walks the significant tokens of one statement text.
class Reader {
public:
    explicit Reader(const QString& sql) : m_sql(sql) {
        for (const SqlToken& t : SqlLexer::tokenize(sql))
            if (t.isSignificant())
                m_tokens.append(t);
        // A closing ";" ends the statement; it carries nothing.
        if (!m_tokens.isEmpty() && m_tokens.constLast().kind == SqlToken::Symbol &&
            m_tokens.constLast().text(sql) == u";")
            m_tokens.removeLast();
    }

    bool atEnd() const { return m_pos >= m_tokens.size(); }

    bool keyword(const char* word) {
        if (atEnd() || !SqlLexer::isKeyword(m_sql, m_tokens.at(m_pos), QLatin1String(word)))
            return false;
        ++m_pos;
        return true;
    }

    bool symbol(char16_t c) {
        if (atEnd() || m_tokens.at(m_pos).kind != SqlToken::Symbol || m_tokens.at(m_pos).text(m_sql).front() != c)
            return false;
        ++m_pos;
        return true;
    }

    std::optional<QString> literal() {
        if (atEnd() || !m_tokens.at(m_pos).isStringLiteral() || !m_tokens.at(m_pos).terminated)
            return std::nullopt;
        return SqlLexer::unquote(m_sql, m_tokens.at(m_pos++));
    }

    std::optional<QString> identifier() {
        if (atEnd() || !m_tokens.at(m_pos).isIdentifier() || !m_tokens.at(m_pos).terminated)
            return std::nullopt;
        return SqlLexer::unquote(m_sql, m_tokens.at(m_pos++));
    }

    std::optional<QString> word() {
        if (atEnd() || m_tokens.at(m_pos).kind != SqlToken::Word)
            return std::nullopt;
        return m_tokens.at(m_pos++).text(m_sql).toString();
    }

    // Comma-separated literal arguments of a procedure call, to the end of the text.
    std::optional<QStringList> arguments() {
        QStringList values;
        if (atEnd())
            return values;
        do {
            const auto value = literal();
            if (!value)
                return std::nullopt;
            values.append(*value);
        } while (symbol(u','));
        if (!atEnd())
            return std::nullopt;
        return values;
    }

private:
    const QString& m_sql;
    QList<SqlToken> m_tokens;
    qsizetype m_pos = 0;
};

[[noreturn]] void cannotRun(const QString& sql, const QString& why) {
    throw DbError(DbError::GeneralError,
                  QStringLiteral("The embedded server cannot run this statement (%1): %2").arg(why, sql.trimmed()),
                  Source);
}

std::optional<LoginStatement> parseProcedureCall(Reader& r, const QString& sql) {
    const auto procedure = r.word();
    if (!procedure)
        cannotRun(sql, QStringLiteral("no procedure name"));
    const QString name = procedure->toLower();
    const auto args = r.arguments();
    auto expect = [&](qsizetype least, qsizetype most) {
        if (!args || args->size() < least || args->size() > most)
            cannotRun(sql, QStringLiteral("the arguments of %1 must be %2 quoted text(s)")
                               .arg(*procedure, least == most ? QString::number(least)
                                                              : QStringLiteral("%1 to %2").arg(least).arg(most)));
    };
    LoginStatement s{LoginStatement::AddLogin, *procedure, {}, {}, {}, {}, std::nullopt};
    if (name == QLatin1String("sp_addlogin")) {
        expect(1, 2);
        s.kind = LoginStatement::AddLogin;
        s.password = args->value(1);
    } else if (name == QLatin1String("sp_addsrvrolemember")) {
        expect(2, 2);
        s.kind = LoginStatement::AddServerRoleMember;
        s.role = args->at(1);
    } else if (name == QLatin1String("sp_droplogin")) {
        expect(1, 1);
        s.kind = LoginStatement::DropLogin;
    } else if (name == QLatin1String("sp_dropuser")) {
        expect(1, 1);
        s.kind = LoginStatement::DropUser;
    } else {
        throw DbError(2812, QStringLiteral("Could not find stored procedure '%1'.").arg(*procedure), Source);
    }
    s.name = args->at(0);
    return s;
}

// ALTER LOGIN <name> WITH PASSWORD = N'...'  or  ALTER LOGIN <name> WITH NAME = <newName>
LoginStatement parseAlterLogin(Reader& r, const QString& sql) {
    const auto name = r.identifier();
    if (name && r.keyword("with")) {
        if (r.keyword("password") && r.symbol(u'=')) {
            if (const auto password = r.literal(); password && r.atEnd())
                return {LoginStatement::AlterLoginPassword,
                        QStringLiteral("ALTER LOGIN"),
                        *name,
                        *password,
                        {},
                        {},
                        std::nullopt};
        } else if (r.keyword("name") && r.symbol(u'=')) {
            if (const auto newName = r.identifier(); newName && r.atEnd())
                return {
                    LoginStatement::RenameLogin, QStringLiteral("ALTER LOGIN"), *name, {}, {}, *newName, std::nullopt};
        }
    }
    cannotRun(sql, QStringLiteral("only ALTER LOGIN [name] WITH PASSWORD = N'...' or WITH NAME = [name] is known"));
}

} // namespace

std::optional<LoginStatement> LoginStatement::parse(const QString& sql) {
    Reader r(sql);
    if (r.keyword("exec") || r.keyword("execute"))
        return parseProcedureCall(r, sql);
    if (r.keyword("alter")) {
        if (!r.keyword("login"))
            return std::nullopt;
        return parseAlterLogin(r, sql);
    }
    if (!r.keyword("if"))
        return std::nullopt;
    // IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'x') ALTER LOGIN ...
    std::optional<QString> looked;
    const bool head = r.keyword("exists") && r.symbol(u'(') && r.keyword("select") && r.symbol(u'*') &&
                      r.keyword("from") && r.keyword("sys") && r.symbol(u'.') && r.keyword("server_principals") &&
                      r.keyword("where") && r.keyword("name") && r.symbol(u'=');
    if (head)
        looked = r.literal();
    if (!looked || !r.symbol(u')') || !r.keyword("alter") || !r.keyword("login"))
        cannotRun(sql, QStringLiteral("only IF EXISTS (SELECT * FROM sys.server_principals WHERE name = N'...') "
                                      "ALTER LOGIN is known"));
    LoginStatement s = parseAlterLogin(r, sql);
    if (s.kind != LoginStatement::AlterLoginPassword)
        cannotRun(sql, QStringLiteral("only a password change is known after IF EXISTS"));
    s.onlyIfExists = *looked;
    return s;
}

} // namespace db
