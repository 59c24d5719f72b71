#pragma once

#include <QList>
#include <QString>

// The command line of talvane-bench.
struct BenchOptions {
    QString directory; // one suite server to benchmark
    QList<int> sizes;  // or these suite sizes, each in a process of its own, one table for all
    QString suites;    // where the suites of the sizes are (made when missing)
    int runs = 5;
    bool markdown = false;
    QString only;         // time only the measure whose name starts with this text (for profiling)
    QString floorFile;    // internal: run only the statements of this file and report the peak memory
    QString resultsFile;  // internal: write the rows there as JSON instead of printing the table
    QString csvFile;      // internal: time the whole-suite CSV report written there
    bool skipCsv = false; // leave the whole-suite CSV report out (it takes long on a large suite)
};
