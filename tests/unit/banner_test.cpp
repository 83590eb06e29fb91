#include "conkit/banner.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "conkit/guards.h"

namespace {

TEST(Banner, VersionTextIs59BytesForRowpluck) {
  std::string v = conkit::VersionText("Rowpluck", "1", "0", "", "");
  EXPECT_EQ(v, "\"Rowpluck.exe\" for command-prompt of WindowsXP  version 1.0");
  EXPECT_EQ(v.size(), 59u);
  EXPECT_EQ(conkit::VersionText("T", "2", "10", "b", "x"),
            "\"T.exe\" for command-prompt of WindowsXP  version 2.10bx");
}

TEST(Banner, NameMismatchNotice) {
  const struct {
    const char* actual;
    const char* suffix;
    const char* notice;
  } cases[] = {
      {"Rowpluck.exe", ".exe", ""},
      {"ROWPLUCK.EXE", ".exe", ""},
      {"rowpluck.Exe", ".exe", ""},
      {"Rowpluck.com", ".exe", " ( \"Rowpluck.com\" is not original name )"},
      {"Rowpluck", ".exe", " ( \"Rowpluck\" is not original name )"},
      {"extract.exe", ".exe", " ( \"extract.exe\" is not original name )"},
      {"Rowpluck", "", ""},
      {"ROWPLUCK", "", ""},
      {"Rowpluck.exe", "", " ( \"Rowpluck.exe\" is not original name )"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.actual);
    EXPECT_EQ(conkit::NameMismatchNotice("Rowpluck", " ", c.actual, c.suffix), c.notice);
  }
}

TEST(Banner, RightsTextShowsARangeOnlyForOtherYears) {
  EXPECT_EQ(conkit::RightsText("2006"), "Copyright (C) 2006 Rowpluck Developers. All rights reserved.");
  EXPECT_EQ(conkit::RightsText("2004"),
            "Copyright (C) 2004-2006 Rowpluck Developers. All rights reserved.");
  EXPECT_EQ(conkit::RightsText("2010"),
            "Copyright (C) 2010-2006 Rowpluck Developers. All rights reserved.");
}

TEST(UsageScreen, RowsHaveTheirByteLengths) {
  const struct {
    std::string_view row;
    std::size_t length;
  } rows[] = {
      {app::msg::kUsagePurpose, 72},     {app::msg::kUsageCall, 76},
      {app::msg::kUsageSkipLines, 56},   {app::msg::kUsageSkipItems, 62},
      {app::msg::kUsageOutputLines, 58}, {app::msg::kUsageOutputItems, 64},
      {app::msg::kUsageDefaultOutput, 74}, {app::msg::kUsageCsvInput, 76},
  };
  for (const auto& r : rows) EXPECT_EQ(r.row.size(), r.length);
}

TEST(Guards, OnlyYConfirms) {
  const struct {
    const char* answer;
    bool confirms;
  } cases[] = {
      {"y", true}, {"Y", true}, {"yes", false}, {"Yes", false}, {" y", false},
      {"y ", false}, {"", false}, {"\x82\x78", false}, {"n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(conkit::IsConfirmation(c.answer), c.confirms);
  }
}

}  // namespace
