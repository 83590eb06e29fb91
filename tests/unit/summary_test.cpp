#include "app/summary.h"

#include <gtest/gtest.h>

#include "app/messages.h"

namespace {

app::RunState Counters(std::int64_t in, std::int64_t skipped, std::int64_t invalid,
                       std::int64_t unwritten, std::int64_t out) {
  app::RunState s;
  s.InputCount = in;
  s.SkippedCount = skipped;
  s.InvalidSkipCount = invalid;
  s.UnwrittenCount = unwritten;
  s.OutputCount = out;
  return s;
}

TEST(RunSummary, PadsCountersToTheWidthOfInputCount) {
  namespace m = app::msg;
  const struct {
    app::RunState state;
    std::vector<std::string> values;  // lines 2 to 6 after their labels
  } cases[] = {
      {Counters(9, 3, 0, 0, 6), {"9", "3", "0", "0", "6"}},
      {Counters(12, 2, 0, 0, 10), {"12", " 2", " 0", " 0", "10"}},
      {Counters(0, 0, 0, 0, 0), {"0", "0", "0", "0", "0"}},
      {Counters(250, 0, 250, 0, 0), {"250", "  0", "250", "  0", "  0"}},
      // Beyond 2^31 lines the counts stay right.
      {Counters(3000000000LL, 1, 0, 2999999998LL, 1),
       {"3000000000", "         1", "         0", "2999999998", "         1"}},
  };
  const std::string_view labels[] = {m::kSummaryInputCount, m::kSummarySkipped,
                                     m::kSummaryInvalidSkip, m::kSummaryUnwritten,
                                     m::kSummaryOutputCount};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.values[0]);
    std::vector<std::string> lines = app::RunSummaryLines("in.txt", "in.csv", c.state);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::string(m::kSummaryInputFile) + "in.txt");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(lines[i + 1], std::string(labels[i]) + c.values[i]);
    EXPECT_EQ(lines[6], std::string(m::kSummaryOutputFile) + "in.csv");
  }
  for (std::string_view label : labels) EXPECT_EQ(label.size(), 19u);
  EXPECT_EQ(m::kSummaryInputFile.size(), 19u);
  EXPECT_EQ(m::kSummaryOutputFile.size(), 19u);
}

}  // namespace
