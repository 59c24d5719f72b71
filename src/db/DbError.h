#pragma once

#include <QString>
#include <exception>
#include <string>

namespace db {

// An error that travels up unchanged: number (never 0), description, source, help file and
// help context, as the error box and every caller read them.
class DbError : public std::exception {
public:
    DbError(int number, QString description, QString source = QString(), QString helpFile = QString(),
            int helpContext = 0);

    // The source named by errors that the tool raises itself rather than a server.
    static QString ToolSource() { return QStringLiteral("Talvane"); }

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    const QString& helpFile() const { return m_helpFile; }
    int helpContext() const { return m_helpContext; }

    const char* what() const noexcept override { return m_what.c_str(); }

    // Numbers of errors raised by the tool itself rather than by a database driver.
    static constexpr int GeneralError = -2147467259; // unspecified failure
    static constexpr int NoCurrentRecord = 3021;     // no row to read or write
    static constexpr int ItemNotFound = 3265;        // no field of that name or position
    static constexpr int ObjectClosed = 3704;        // record set or connection not open
    static constexpr int SubscriptOutOfRange = 9;    // item with too few fields
    static constexpr int TypeMismatch = 13;          // item that is not an id
    static constexpr int KeyNotUnique = 35602;       // a list or tree key used twice
    static constexpr int KeyNotFound = 35601;        // a list or tree key that has no element

private:
    int m_number;
    QString m_description;
    QString m_source;
    QString m_helpFile;
    int m_helpContext;
    std::string m_what;
};

} // namespace db
