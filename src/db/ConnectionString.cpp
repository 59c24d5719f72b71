#include "db/ConnectionString.h"

namespace db {

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString result;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const qsizetype end = text.indexOf(QLatin1Char(';'), i);
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0 || (end >= 0 && end < eq)) {
            // An attribute without "=" has no value to carry.
            i = end < 0 ? n : end + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        qsizetype v = eq + 1;
        qsizetype firstNonSpace = v;
        while (firstNonSpace < n && text.at(firstNonSpace) == QLatin1Char(' '))
            ++firstNonSpace;
        QString value;
        if (firstNonSpace < n && text.at(firstNonSpace) == QLatin1Char('{')) {
            qsizetype j = firstNonSpace + 1;
            while (j < n) {
                if (text.at(j) == QLatin1Char('}')) {
                    if (j + 1 < n && text.at(j + 1) == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += text.at(j++);
            }
            // Whatever follows the closing brace up to the next ";" is not part of the value.
            const qsizetype next = text.indexOf(QLatin1Char(';'), j);
            i = next < 0 ? n : next + 1;
        } else {
            value = end < 0 ? text.mid(v) : text.mid(v, end - v);
            i = end < 0 ? n : end + 1;
        }
        if (!key.isEmpty())
            result.m_attributes.append({key, value});
    }
    return result;
}

QString ConnectionString::quote(const QString& value) {
    const bool needsBraces = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('{')) ||
                             value.contains(QLatin1Char('}')) || value.startsWith(QLatin1Char(' ')) ||
                             value.endsWith(QLatin1Char(' '));
    if (!needsBraces)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1String("}"), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

QString ConnectionString::value(const QString& key) const {
    for (const auto& [k, v] : m_attributes)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return v.isNull() ? QString(QLatin1String("")) : v;
    return QString();
}

bool ConnectionString::contains(const QString& key) const {
    return !value(key).isNull();
}

QString ConnectionString::toString() const {
    QString text;
    for (const auto& [k, v] : m_attributes)
        text += k + QLatin1Char('=') + quote(v) + QLatin1Char(';');
    return text;
}

} // namespace db
