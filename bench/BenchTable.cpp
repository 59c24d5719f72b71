#include "BenchTable.h"

#include <algorithm>
#include <cstdio>

int BenchTable::addMeasure(const QString& name, Target target, double limit) {
    m_measures.append(Measure{name, target, limit, {}, {}, 0});
    return int(m_measures.size()) - 1;
}

void BenchTable::addSample(int measure, double windowMs, double floorMs, int statements) {
    Measure& m = m_measures[measure];
    m.window.append(windowMs);
    m.floor.append(floorMs);
    m.statements = statements;
}

double BenchTable::median(QList<double> samples) {
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

bool BenchTable::withinTarget(const Measure& m) const {
    const double window = median(m.window);
    if (m.target == Target::Milliseconds)
        return window < m.limit;
    return window <= m.limit * median(m.floor);
}

bool BenchTable::allWithinTarget() const {
    return std::all_of(m_measures.begin(), m_measures.end(),
                       [this](const Measure& m) { return m.window.isEmpty() || withinTarget(m); });
}

void BenchTable::print(bool markdown) const {
    const char* header[] = {"measure", "median ms", "floor ms", "ratio", "statements", "target", "result"};
    if (markdown) {
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n|---|--:|--:|--:|--:|---|---|\n", header[0], header[1],
                    header[2], header[3], header[4], header[5], header[6]);
    } else {
        std::printf("%-28s %10s %10s %8s %10s %-16s %s\n", header[0], header[1], header[2], header[3], header[4],
                    header[5], header[6]);
    }
    for (const Measure& m : m_measures) {
        if (m.window.isEmpty())
            continue;
        const double window = median(m.window);
        const double floor = median(m.floor);
        const QString ratio = m.statements > 0 && floor > 0 ? QString::number(window / floor, 'f', 2) : "-";
        const QString target = m.target == Target::Milliseconds ? QStringLiteral("< %1 ms").arg(m.limit)
                                                                : QStringLiteral("<= %1 x floor").arg(m.limit);
        const char* result = withinTarget(m) ? "ok" : "OVER";
        const QString floorText = m.statements > 0 ? QString::number(floor, 'f', 1) : QStringLiteral("-");
        if (markdown) {
            std::printf("| %s | %.1f | %s | %s | %d | %s | %s |\n", qPrintable(m.name), window, qPrintable(floorText),
                        qPrintable(ratio), m.statements, qPrintable(target), result);
        } else {
            std::printf("%-28s %10.1f %10s %8s %10d %-16s %s\n", qPrintable(m.name), window, qPrintable(floorText),
                        qPrintable(ratio), m.statements, qPrintable(target), result);
        }
    }
}
