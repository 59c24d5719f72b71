#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

namespace rights {

// Writes records as CSV (RFC 4180) in UTF-8: fields separated by commas, records ended by CRLF,
// a field holding a comma, a quote, a carriage return or a line feed enclosed in quotes, with its
// quotes doubled. The text starts with a byte order mark: spreadsheet programs read a CSV file
// without one in the system's own code page, and the names' diacritics would come out wrong.
// A field that starts with "=", "+", "-", "@", a tab or a carriage return gets a leading "'", as
// spreadsheets would otherwise run it as a formula (a user name can be anything).
class CsvWriter {
public:
    // device must be open for writing; it is written in blocks, the last one by flush().
    explicit CsvWriter(QIODevice* device);

    void writeRecord(const QStringList& fields);
    template <typename Fields> void writeFields(const Fields& fields) {
        bool first = true;
        for (const QString& field : fields) {
            if (!first)
                m_line += QLatin1Char(',');
            first = false;
            appendField(field);
        }
        endRecord();
    }
    // Writes what is buffered; false when the device failed.
    bool flush();
    // Whether every write so far succeeded.
    bool ok() const { return m_ok; }

    // A field as it is written (quoted where needed, a formula made text).
    static QString escaped(const QString& field);

private:
    void appendField(const QString& field);
    void endRecord();

    QIODevice* m_device;
    QString m_line;
    QByteArray m_buffer;
    bool m_ok = true;
};

} // namespace rights
