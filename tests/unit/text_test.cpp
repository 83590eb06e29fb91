#include "runtime/text.h"

#include <gtest/gtest.h>

#include "conkit/text_helpers.h"

namespace {

TEST(IntToText, WritesDecimalWithoutPadding) {
  const struct {
    std::int64_t value;
    const char* text;
  } cases[] = {
      {0, "0"}, {7, "7"}, {-5, "-5"}, {2147483647, "2147483647"},
      {-2147483648LL, "-2147483648"}, {4294967296LL, "4294967296"},
      {INT64_MIN, "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(rt::IntToText(c.value), c.text);
  }
}

TEST(PadNumber, PadsToWidthAndNeverShortens) {
  EXPECT_EQ(conkit::PadNumberBlank(7, 3), "  7");
  EXPECT_EQ(conkit::PadNumberBlank(12345, 3), "12345");
  EXPECT_EQ(conkit::PadNumber(7, 3, '0'), "007");
  EXPECT_EQ(conkit::PadNumber(-7, 4, '*'), "**-7");
  EXPECT_EQ(conkit::PadNumberBlank(0, 0), "0");
}

TEST(TrailByte, CountsTheRunOfLeadBytesBefore) {
  // 表 is 0x95 0x5C, ソ is 0x83 0x5C: their second byte is a backslash.
  const std::string hyo = "\x95\x5C";
  EXPECT_TRUE(rt::IsTrailByteAt(hyo, 1));
  EXPECT_FALSE(rt::IsTrailByteAt(hyo, 0));
  EXPECT_FALSE(rt::IsTrailByteAt("a\\", 1));
  // Two lead bytes pair with each other: the backslash after them stands alone.
  EXPECT_FALSE(rt::IsTrailByteAt("\x95\x95\\", 2));
  EXPECT_TRUE(rt::IsTrailByteAt("\x95\x95\x95\\", 3));
}

TEST(CaseRules, UpperIsAsciiOnlyAndLowerKnowsDoubleBytes) {
  EXPECT_EQ(rt::UpperAscii("/sl10y"), "/SL10Y");
  // Upper-casing is byte-wise; lower-casing steps over double-byte
  // characters, so ア (0x83 0x41) keeps its second byte.
  EXPECT_EQ(rt::LowerCp932("ROWPLUCK.EXE"), "rowpluck.exe");
  EXPECT_EQ(rt::LowerCp932("\x83\x41Z"), "\x83\x41z");
  EXPECT_EQ(rt::LowerCp932("\x82\x60"), "\x82\x81");  // Ａ -> ａ
  EXPECT_EQ(rt::LowerCp932("\x84\x40\x84\x4E\x84\x60"), "\x84\x70\x84\x7E\x84\x91");  // Cyrillic
  EXPECT_EQ(rt::LowerCp932("x\x82").size(), 2u);  // a lone lead byte at the end stays
}

// Shift-JIS spellings used in the file-name tables.
#define HYO "\x95\x5C"               // 表
#define SO "\x83\x5C"                // ソ
#define SOFUTO "\x83\x5C\x83\x74\x83\x67"  // ソフト
#define HYOJI "\x95\x5C\x8E\xA6"     // 表示

struct NameCase {
  const char* name;
  const char* extension;
  const char* output;
};

// The default output name with the backslash-and-colon separator set.
const NameCase kWindowsNames[] = {
    {"data.txt", ".txt", "data.csv"},
    {"data", "", "data.csv"},
    {"data.CSV", ".CSV", "data.csv"},
    {"data.csv", ".csv", "data.csv.csv"},
    {"data.csv.bak", ".bak", "data.csv.csv"},
    {"data.", ".", "data.csv"},
    {"a.b.c", ".c", "a.b.csv"},
    {".csv", ".csv", ".csv.csv"},
    {"dir.old\\data", "", "dir.old\\data.csv"},
    {"x.csv\\y", "", "x.csv\\y.csv"},
    {"C:data", "", "C:data.csv"},
    {"..\\data", "", "..\\data.csv"},
    {"sub.dir/data", ".dir/data", "sub.csv"},
    {HYO ".txt", ".txt", HYO ".csv"},
    {HYO, "", HYO ".csv"},
    {"data." SO, "." SO, "data.csv"},
    {SOFUTO "." HYOJI, "." HYOJI, SOFUTO ".csv"},
    {"C:\\" SOFUTO "\\data", "", "C:\\" SOFUTO "\\data.csv"},
};

TEST(FileNameRules, BackslashAndColonSeparate) {
  for (const NameCase& c : kWindowsNames) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(rt::Extension(c.name, false), c.extension);
    EXPECT_EQ(conkit::AddOrChangeExt(c.name, ".csv", false), c.output);
  }
}

TEST(FileNameRules, SlashAlsoSeparatesOnPosix) {
  const NameCase cases[] = {
      {"sub.dir/data", "", "sub.dir/data.csv"},
      {"./data", "", "./data.csv"},
      {"/tmp/x.csv/y", "", "/tmp/x.csv/y.csv"},
      {"dir/in.txt", ".txt", "dir/in.csv"},
      {"dir/data.csv", ".csv", "dir/data.csv.csv"},
      {"data." SO, "." SO, "data.csv"},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(rt::Extension(c.name, true), c.extension);
    EXPECT_EQ(conkit::AddOrChangeExt(c.name, ".csv", true), c.output);
  }
}

TEST(FileNameRules, FileNamePartSkipsDoubleByteBackslash) {
  EXPECT_EQ(rt::FileNamePart("C:\\tools\\Rowpluck.exe", false), "Rowpluck.exe");
  EXPECT_EQ(rt::FileNamePart("C:Rowpluck.exe", false), "Rowpluck.exe");
  EXPECT_EQ(rt::FileNamePart("/usr/bin/Rowpluck", false), "/usr/bin/Rowpluck");
  EXPECT_EQ(rt::FileNamePart("/usr/bin/Rowpluck", true), "Rowpluck");
  EXPECT_EQ(rt::FileNamePart("dir\\" SOFUTO ".exe", false), SOFUTO ".exe");
  EXPECT_EQ(rt::FileNamePart("dir\\", false), "");
}

}  // namespace
