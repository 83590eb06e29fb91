// What the end-to-end cases expect Rowpluck to print, built from the same
// Shift-JIS constants as the program itself.
#ifndef ROWPLUCK_TESTS_E2E_EXPECTED_H
#define ROWPLUCK_TESTS_E2E_EXPECTED_H

#include <cstdint>
#include <string>
#include <string_view>

#include "app/run_state.h"
#include "app/summary.h"
#include "conkit/messages.h"
#include "runtime/failure.h"
#include "runtime/messages.h"
#include "tests/e2e/harness.h"

namespace e2e {

inline std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }

// The seven summary lines for the given counters.
inline std::string Summary(const std::string& in, const std::string& out, std::int64_t input,
                           std::int64_t skipped, std::int64_t invalid, std::int64_t unwritten,
                           std::int64_t output) {
  app::RunState s;
  s.InputCount = input;
  s.SkippedCount = skipped;
  s.InvalidSkipCount = invalid;
  s.UnwrittenCount = unwritten;
  s.OutputCount = output;
  std::string text;
  for (const std::string& l : app::RunSummaryLines(in, out, s)) text += Line(l);
  return text;
}

// The failure report of a file or console operation, location blanked.
inline std::string Report(std::string_view message, const std::string& program = ProgramFileName()) {
  return rt::FailureReportText(rt::msg::kKindInOut, program, 0, message) + "\r\n";
}

inline std::string IoError(int number) {
  return std::string(rt::msg::kIoErrorOpen) + std::to_string(number) + ")";
}

inline std::string Question(const std::string& name) {
  return Line(name + std::string(conkit::msg::kOverwriteQuestion));
}

}  // namespace e2e

#endif  // ROWPLUCK_TESTS_E2E_EXPECTED_H
