#include "ui/rights/CsvWriter.h"

#include <QIODevice>

namespace rights {

namespace {

constexpr qsizetype BlockSize = 1 << 16;

bool startsFormula(const QString& field) {
    if (field.isEmpty())
        return false;
    const QChar c = field.front();
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@') ||
           c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

bool needsQuotes(const QString& field) {
    for (const QChar c : field)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    return false;
}

} // namespace

CsvWriter::CsvWriter(QIODevice* device) : m_device(device) {
    m_buffer.reserve(BlockSize + 1024);
    m_buffer.append("\xEF\xBB\xBF");
}

QString CsvWriter::escaped(const QString& field) {
    const QString text = startsFormula(field) ? QLatin1Char('\'') + field : field;
    if (!needsQuotes(text))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void CsvWriter::appendField(const QString& field) {
    // Most fields need neither quotes nor a mark: they are appended as they are.
    if (!startsFormula(field) && !needsQuotes(field))
        m_line += field;
    else
        m_line += escaped(field);
}

void CsvWriter::endRecord() {
    m_line += QLatin1String("\r\n");
    m_buffer += m_line.toUtf8();
    m_line.resize(0);
    if (m_buffer.size() >= BlockSize)
        flush();
}

void CsvWriter::writeRecord(const QStringList& fields) {
    writeFields(fields);
}

bool CsvWriter::flush() {
    if (!m_buffer.isEmpty() && m_device->write(m_buffer) != m_buffer.size())
        m_ok = false;
    // Emptied, not released: the next block fills the same room.
    m_buffer.resize(0);
    return m_ok;
}

} // namespace rights
