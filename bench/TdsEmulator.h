#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// The TDS server double (../shared/tdsemu/tdsemu.py, or the command given) serving the database
// files of a directory on a free port of the loopback, with a round-trip delay; it ends with this
// object. Its log tells what reached the server: logins, and the requests after them (batches,
// procedure calls and transaction requests), one network round trip each.
class TdsEmulator {
public:
    // Starts command (e.g. "python3 ../shared/tdsemu/tdsemu.py") over directory; raises
    // std::runtime_error when it does not say where it listens.
    TdsEmulator(const QString& command, const QString& directory, double delayMs);
    ~TdsEmulator();
    TdsEmulator(const TdsEmulator&) = delete;
    TdsEmulator& operator=(const TdsEmulator&) = delete;

    int port() const { return m_port; }

    // Counting starts anew from here.
    void mark();
    // Since the last mark.
    int logins() const;
    int requests() const;
    // The requests since the last mark, one line each: its kind and its text (or procedure).
    QStringList requestTexts() const;

private:
    QList<QJsonObject> eventsSinceMark() const;

    QProcess m_process;
    QString m_log;
    qint64 m_mark = 0;
    int m_port = 0;
};
