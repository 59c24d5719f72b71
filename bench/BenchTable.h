#pragma once

#include <QJsonArray>
#include <QList>
#include <QString>
#include <optional>

// The benchmark's results at one suite size: per measure the samples of the window and of its
// floor, their medians, and the target the window must meet. Prints the table as plain text or
// Markdown, and passes its rows on as JSON to the table of several sizes.
class BenchTable {
public:
    enum class Target {
        RatioToFloor, // at most `limit` times the floor
        Milliseconds, // under `limit` ms
        Megabytes,    // under `limit` MB
    };

    // One measure's medians, as the tables show them.
    struct Row {
        QString name;
        QString target; // "< 16 ms", "<= 2 x floor", "< 80 MB"
        double value = 0;
        std::optional<double> floor; // none for an action that runs no statement
        int statements = 0;
        bool ok = false;

        std::optional<double> ratio() const;
    };

    // Adds a measure (in the order the table shows them) and returns its index.
    int addMeasure(const QString& name, Target target, double limit);
    const QString& name(int measure) const { return m_measures[measure].name; }
    void addSample(int measure, double value, std::optional<double> floor, int statements);

    // The measures with samples.
    QList<Row> rows() const;
    // Writes the table to stdout; markdown gives a table that README files can hold.
    void print(bool markdown) const;
    // True when every measure with samples met its target.
    bool allWithinTarget() const;

    static QJsonArray toJson(const QList<Row>& rows);
    static QList<Row> fromJson(const QJsonArray& array);

private:
    struct Measure {
        QString name;
        Target target;
        double limit;
        QList<double> values;
        QList<double> floor;
        int statements = 0;
    };

    static double median(QList<double> samples);

    QList<Measure> m_measures;
};
