#pragma once

#include "BenchOptions.h"

// The benchmark of the window on one suite server.
namespace BenchSuite {

// Shows frmMain offscreen on the suite in options.directory, times every action options.runs
// times after a warm-up round and prints the table (or writes its rows to options.resultsFile).
// Returns 0 when every target is met, 1 when one is missed, 2 when the run failed.
int run(const BenchOptions& options, int argc, char** argv);

// The floor of the peak memory, in a process of its own: runs the statements of
// options.floorFile (one a line) raw on SQLite and prints this process's peak memory in kB.
int floorMemory(const BenchOptions& options);

// Opens every connection of this process on the suite server in directory.
void installOpener(const QString& directory);

} // namespace BenchSuite
