#include "BenchTable.h"

#include <QJsonObject>
#include <algorithm>
#include <cstdio>

std::optional<double> BenchTable::Row::ratio() const {
    if (!floor || *floor <= 0)
        return std::nullopt;
    return value / *floor;
}

int BenchTable::addMeasure(const QString& name, Target target, double limit) {
    m_measures.append(Measure{name, target, limit, {}, {}, 0});
    return int(m_measures.size()) - 1;
}

void BenchTable::addSample(int measure, double value, std::optional<double> floor, int statements) {
    Measure& m = m_measures[measure];
    m.values.append(value);
    if (floor)
        m.floor.append(*floor);
    m.statements = statements;
}

double BenchTable::median(QList<double> samples) {
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

QList<BenchTable::Row> BenchTable::rows() const {
    QList<Row> rows;
    for (const Measure& m : m_measures) {
        if (m.values.isEmpty())
            continue;
        Row row{m.name, {}, median(m.values), std::nullopt, m.statements, false};
        // A floor counts only when every sample had one: a measure either runs statements or not.
        if (m.floor.size() == m.values.size())
            row.floor = median(m.floor);
        switch (m.target) {
        case Target::Milliseconds:
            row.target = QStringLiteral("< %1 ms").arg(m.limit);
            row.ok = row.value < m.limit;
            break;
        case Target::Megabytes:
            row.target = QStringLiteral("< %1 MB").arg(m.limit);
            row.ok = row.value < m.limit;
            break;
        case Target::RatioToFloor:
            row.target = QStringLiteral("<= %1 x floor").arg(m.limit);
            row.ok = row.floor && row.value <= m.limit * *row.floor;
            break;
        }
        rows.append(row);
    }
    return rows;
}

bool BenchTable::allWithinTarget() const {
    const QList<Row> all = rows();
    return std::all_of(all.begin(), all.end(), [](const Row& row) { return row.ok; });
}

void BenchTable::print(bool markdown) const {
    const char* header[] = {"measure", "median", "floor", "ratio", "statements", "target", "result"};
    if (markdown) {
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n|---|--:|--:|--:|--:|---|---|\n", header[0], header[1],
                    header[2], header[3], header[4], header[5], header[6]);
    } else {
        std::printf("%-28s %10s %10s %8s %10s %-16s %s\n", header[0], header[1], header[2], header[3], header[4],
                    header[5], header[6]);
    }
    for (const Row& row : rows()) {
        const QString floor = row.floor ? QString::number(*row.floor, 'f', 1) : QStringLiteral("-");
        const QString ratio = row.ratio() ? QString::number(*row.ratio(), 'f', 2) : QStringLiteral("-");
        const char* result = row.ok ? "ok" : "OVER";
        const char* format =
            markdown ? "| %s | %.1f | %s | %s | %d | %s | %s |\n" : "%-28s %10.1f %10s %8s %10d %-16s %s\n";
        std::printf(format, qPrintable(row.name), row.value, qPrintable(floor), qPrintable(ratio), row.statements,
                    qPrintable(row.target), result);
    }
}

QJsonArray BenchTable::toJson(const QList<Row>& rows) {
    QJsonArray array;
    for (const Row& row : rows) {
        QJsonObject object{{"name", row.name},
                           {"target", row.target},
                           {"value", row.value},
                           {"ok", row.ok},
                           {"statements", row.statements}};
        if (row.floor)
            object.insert(QStringLiteral("floor"), *row.floor);
        array.append(object);
    }
    return array;
}

QList<BenchTable::Row> BenchTable::fromJson(const QJsonArray& array) {
    QList<Row> rows;
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        Row row{object["name"].toString(),    object["target"].toString(), object["value"].toDouble(), std::nullopt,
                object["statements"].toInt(), object["ok"].toBool()};
        if (object.contains(QStringLiteral("floor")))
            row.floor = object["floor"].toDouble();
        rows.append(row);
    }
    return rows;
}
