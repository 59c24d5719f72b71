#pragma once

#include "BenchOptions.h"

#include <QString>

// The whole-suite CSV rights report, timed in a process of its own (without the window, whose
// lists would count in its peak memory): the report as the window's command writes it
// (rights::WriteCsvWithProgress under its progress dialog), then its floor, the same statements
// raw on SQLite with every row written to a file. Both files are removed once counted.
namespace BenchCsv {

struct Result {
    double milliseconds = 0;
    double floorMilliseconds = 0;
    double peakMb = 0; // the process's peak before its floor ran
    qint64 rows = 0;
    qint64 bytes = 0;
};

// The child's side (talvane-bench DIR --csv-export FILE): writes FILE, then prints one line with
// the result. Returns 0, or 2 when the export or its check failed.
int run(const BenchOptions& options, int argc, char** argv);

// Runs the child on the suite in directory, its files in scratch; raises std::runtime_error when
// it fails.
Result measure(const QString& directory, const QString& scratch);

} // namespace BenchCsv
