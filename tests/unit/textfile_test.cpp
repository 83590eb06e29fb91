#include "runtime/textfile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// Writes `bytes` to a scratch file and reads it back line by line through a
// buffer of `block` bytes.
std::vector<std::string> ReadLines(const std::string& bytes, std::size_t block) {
  const std::string name = testing::TempDir() + "textfile_test.txt";
  std::FILE* f = std::fopen(name.c_str(), "wb");
  EXPECT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  std::vector<char> buffer(block);
  rt::InputFile in;
  rt::OpenInputFile(in, name, buffer.data(), buffer.size());
  std::vector<std::string> lines;
  while (!rt::AtEndOfInput(in)) lines.push_back(rt::ReadLine(in));
  EXPECT_EQ(rt::ReadLine(in), "");  // reading at the end is no error
  rt::CloseInputFile(in);
  std::remove(name.c_str());
  return lines;
}

TEST(LineRules, ReadLineAndEndTest) {
  using Lines = std::vector<std::string>;
  const struct {
    const char* name;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"no final line end", "a\r\nb", {"a", "b"}},
      {"trailing empty line", "a\r\n\r\n", {"a", ""}},
      {"cr dropped", "a\rb\r\r\n", {"ab"}},
      {"only 0x1a", "\x1A", {}},
      {"0x1a ends the line", "a\x1A" "b\n", {"a"}},
      {"0x1a starts third line", "a\nb\n\x1A" "c", {"a", "b"}},
      {"cr after last line", "a\n\r", {"a", ""}},
      {"nul kept", std::string("\0\n", 2), {std::string(1, '\0')}},
  };
  for (const auto& c : cases) {
    for (std::size_t block : {1u, 2u, 3u, 4096u}) {
      SCOPED_TRACE(std::string(c.name) + " block " + std::to_string(block));
      EXPECT_EQ(ReadLines(c.bytes, block), c.lines);
    }
  }
}

}  // namespace
