#pragma once

#include "BenchOptions.h"

// The benchmark at several suite sizes: each size's suite in options.suites is made with
// talvane-gensuite when missing, benchmarked by a child talvane-bench of its own (so each peak
// memory is its own), and all sizes are printed in one table.
namespace BenchSizes {

// Returns 0 when every target is met at every size, 1 when one is missed, 2 when a run failed.
int run(const BenchOptions& options, int argc, char** argv);

} // namespace BenchSizes
