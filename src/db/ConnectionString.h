#pragma once

#include <QList>
#include <QString>
#include <utility>

namespace db {

// A connection string read with the ODBC rules: attributes "key=value" separated by ";", keys
// compared without regard to case, a value in braces "{...}" may hold ";" and "}}" stands for
// one "}". An attribute without "=" carries no value and is dropped.
class ConnectionString {
public:
    using Attribute = std::pair<QString, QString>;

    static ConnectionString parse(const QString& text);

    // The value written so that parse() reads it back unchanged: in braces, with "}" doubled, when
    // it holds ";", "{" or "}" or starts or ends with a space; as it is otherwise.
    static QString quote(const QString& value);

    // The value of the first attribute named key (any case); a null string when there is none.
    QString value(const QString& key) const;
    bool contains(const QString& key) const;
    const QList<Attribute>& attributes() const { return m_attributes; }

    // The attributes written back as "key=value;" each, values quoted where needed.
    QString toString() const;

private:
    QList<Attribute> m_attributes;
};

} // namespace db
