// The settings and counters of one run.
#ifndef ROWPLUCK_APP_RUN_STATE_H
#define ROWPLUCK_APP_RUN_STATE_H

#include <cstdint>

namespace app {

// Counters are 64-bit so that an input of more than 2^31 lines is still
// counted and summarised right; below that size every figure is the same as
// with 32-bit counters. The settings are the 32-bit numbers of the options.
struct RunState {
  std::int64_t InputCount = 0;        // lines read, skipped ones included
  std::int64_t OutputCount = 0;       // lines written to the output
  std::int32_t SkipLines = 0;         // /SL: leading lines to skip
  std::int32_t SkipItems = 0;         // /SI: leading items of each line to skip
  std::int32_t OutputLines = 0;       // /OL: lines to write at most (0: all)
  std::int32_t OutputItems = 0;       // /OI: items of each line to write at most (0: all)
  std::int64_t SkippedCount = 0;      // lines dropped by /SL
  std::int64_t UnwrittenCount = 0;    // lines read after the /OL limit was reached
  std::int64_t InvalidSkipCount = 0;  // lines whose item window was empty
};

}  // namespace app

#endif  // ROWPLUCK_APP_RUN_STATE_H
