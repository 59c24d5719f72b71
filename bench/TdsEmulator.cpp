#include "TdsEmulator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

TdsEmulator::TdsEmulator(const QString& command, const QString& directory, double delayMs)
    : m_log(QDir(directory).filePath(QStringLiteral("tdsemu.jsonl"))) {
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty())
        throw std::runtime_error("no command for the TDS server double");
    const QString program = words.takeFirst();
    words << QStringLiteral("--dir") << directory << QStringLiteral("--port") << QStringLiteral("0")
          << QStringLiteral("--log") << m_log << QStringLiteral("--delay-ms") << QString::number(delayMs)
          << QStringLiteral("--exit-with-parent");
    m_process.start(program, words);
    const QDeadlineTimer deadline(15000);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning)
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    m_port = QJsonDocument::fromJson(m_process.readLine()).object().value(QStringLiteral("port")).toInt();
    if (m_port <= 0)
        throw std::runtime_error("the TDS server double did not start: " +
                                 QString::fromLocal8Bit(m_process.readAllStandardError()).toStdString());
}

TdsEmulator::~TdsEmulator() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

void TdsEmulator::mark() {
    m_mark = QFile(m_log).size();
}

QList<QJsonObject> TdsEmulator::eventsSinceMark() const {
    QList<QJsonObject> events;
    QFile log(m_log);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(m_mark))
        return events;
    while (!log.atEnd())
        events << QJsonDocument::fromJson(log.readLine()).object();
    return events;
}

namespace {

bool isRequest(const QString& event) {
    return event == QLatin1String("batch") || event == QLatin1String("rpc") || event == QLatin1String("tm");
}

} // namespace

int TdsEmulator::logins() const {
    int count = 0;
    for (const QJsonObject& event : eventsSinceMark())
        count += event.value(QStringLiteral("event")).toString() == QLatin1String("login");
    return count;
}

int TdsEmulator::requests() const {
    int count = 0;
    for (const QJsonObject& event : eventsSinceMark())
        count += isRequest(event.value(QStringLiteral("event")).toString());
    return count;
}

QStringList TdsEmulator::requestTexts() const {
    QStringList texts;
    for (const QJsonObject& event : eventsSinceMark()) {
        const QString kind = event.value(QStringLiteral("event")).toString();
        if (!isRequest(kind))
            continue;
        QString text = event.value(QStringLiteral("sql")).toString();
        if (text.isEmpty())
            text = event.value(QStringLiteral("proc")).toString() + QLatin1Char(' ') +
                   event.value(QStringLiteral("op")).toString();
        texts << kind + QStringLiteral(": ") + text.simplified().left(100);
    }
    return texts;
}
