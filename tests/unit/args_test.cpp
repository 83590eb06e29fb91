#include "runtime/args.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheConsoleRules) {
  const struct {
    const char* line;  // after the program name "p "
    Args args;
  } cases[] = {
      {"a \"\" b", {"a", "b"}},
      {"\"\" \"\"", {}},
      {"a\"b c\"d", {"ab cd"}},
      {"\"a b", {"a b"}},
      {"a\tb", {"a", "b"}},
      {"a \"", {"a"}},
      {"x\\\"y z\"", {"x\\y z"}},
      {"  in.txt   /SL1\r\n out.csv ", {"in.txt", "/SL1", "out.csv"}},
      {"\x01\x1F" "a", {"a"}},
      {"\"\"\"\"a", {"a"}},
      {"", {}},
      // The second byte of 表 (0x95 0x5C) and of a character ending in
      // 0x20 or 0x22 never splits or quotes.
      {"\x95\x5C.txt", {"\x95\x5C.txt"}},
      {"\x81\x20x y", {"\x81\x20x", "y"}},
      {"\x81\x22x y", {"\x81\x22x", "y"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Args all = rt::SplitCommandLine(std::string("p ") + c.line);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0], "p");
    EXPECT_EQ(Args(all.begin() + 1, all.end()), c.args);
  }
}

TEST(SplitCommandLine, QuotedProgramNameIsOneArgument) {
  EXPECT_EQ(rt::SplitCommandLine("\"C:\\Program Files\\Rowpluck.exe\" in.txt"),
            (Args{"C:\\Program Files\\Rowpluck.exe", "in.txt"}));
}

TEST(ArgumentsFromArgv, DropsEmptyArgumentsAndQuotes) {
  const char* argv[] = {"Rowpluck", "in.txt", "", "\"", "a\"b\"", "/SL1"};
  EXPECT_EQ(rt::ArgumentsFromArgv(6, argv), (Args{"in.txt", "ab", "/SL1"}));
}

}  // namespace
