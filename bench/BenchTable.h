#pragma once

#include <QList>
#include <QString>

// The benchmark's results: per measure the samples of the window and of its floor, their
// medians, and the target the window must meet. Prints the table as plain text or Markdown.
class BenchTable {
public:
    enum class Target {
        RatioToFloor, // at most `limit` times the floor
        Milliseconds, // under `limit` ms
    };

    // Adds a measure (in the order the table shows them) and returns its index.
    int addMeasure(const QString& name, Target target, double limit);
    const QString& name(int measure) const { return m_measures[measure].name; }
    void addSample(int measure, double windowMs, double floorMs, int statements);

    // Writes the table to stdout; markdown gives a table that README files can hold. Measures
    // without samples are left out.
    void print(bool markdown) const;
    // True when every measure with samples met its target.
    bool allWithinTarget() const;

private:
    struct Measure {
        QString name;
        Target target;
        double limit;
        QList<double> window;
        QList<double> floor;
        int statements = 0;
    };

    static double median(QList<double> samples);
    bool withinTarget(const Measure& measure) const;

    QList<Measure> m_measures;
};
