#include "app/options.h"

#include <gtest/gtest.h>

namespace {

TEST(OptionValue, ReadsDecimalAndHexadecimal) {
  const struct {
    const char* argument;
    std::int32_t value;
  } cases[] = {
      {"/SL10", 10}, {"/sl10", 10}, {"/Sl10", 10}, {"/SL", 0}, {"/SL007", 7},
      {"/SL+5", 5}, {"/SL-5", -5}, {"/SL 5", 5}, {"/SL   5", 5}, {"/SL5 ", 0},
      {"/SL$1F", 31}, {"/SLx1F", 31}, {"/SLX1f", 31}, {"/SL0x1F", 31}, {"/SL0X1f", 31},
      {"/SL-$10", -16}, {"/SL-x10", -16}, {"/SL-0x10", -16},
      {"/SL$FFFFFFFF", -1}, {"/SL-$FFFFFFFF", 1},
      {"/SL$80000000", INT32_MIN}, {"/SL-$80000000", INT32_MIN},
      {"/SL$100000000", 0}, {"/SL$0000000001", 1}, {"/SL$000000000FFFFFFFF", -1},
      {"/SL2147483647", 2147483647}, {"/SL2147483648", 0},
      {"/SL-2147483648", INT32_MIN}, {"/SL-2147483649", 0},
      {"/SL0002147483647", 2147483647}, {"/SL99999999999999999999", 0},
      {"/SL1,000", 0}, {"/SL1.5", 0}, {"/SL1e3", 0},
      {"/SL--5", 0}, {"/SL+-5", 0}, {"/SL- 5", 0}, {"/SL-", 0}, {"/SL ", 0},
      {"/SL$", 0}, {"/SLx", 0}, {"/SL0x", 0}, {"/SL00x5", 0}, {"/SL$-5", 0},
      {"/SL\t5", 0},
      {"/SL\x82\x54", 0},  // full-width digit 5
      {"/OIx10", 16}, {"/SLOW", 0}, {"/SLX", 0}, {"/SL$g", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(app::OptionValue(c.argument), c.value);
  }
}

TEST(ReadOption, SetsTheMatchingSettingOnly) {
  const struct {
    const char* argument;
    app::RunState expected;
  } cases[] = {
      {"/SL3", [] { app::RunState s; s.SkipLines = 3; return s; }()},
      {"/si123", [] { app::RunState s; s.SkipItems = 123; return s; }()},
      {"/oL-2", [] { app::RunState s; s.OutputLines = -2; return s; }()},
      {"/oI2", [] { app::RunState s; s.OutputItems = 2; return s; }()},
      {"/S", {}},
      {"foo.csv", {}},
      {"/XY5", {}},
      {"SL5", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    app::RunState s;
    app::ReadOptionText(c.argument, s);
    EXPECT_EQ(s.SkipLines, c.expected.SkipLines);
    EXPECT_EQ(s.SkipItems, c.expected.SkipItems);
    EXPECT_EQ(s.OutputLines, c.expected.OutputLines);
    EXPECT_EQ(s.OutputItems, c.expected.OutputItems);
  }
}

TEST(ReadOption, LaterOptionWinsAndInvalidSetsZero) {
  app::RunState s;
  app::ReadOptionText("/SL5", s);
  app::ReadOptionText("/SL7", s);
  EXPECT_EQ(s.SkipLines, 7);
  app::ReadOptionText("/SLOW", s);
  EXPECT_EQ(s.SkipLines, 0);
}

}  // namespace
