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

namespace {

// A sink whose writes land in a string, recording the size of each.
struct RecordingSink {
  char buffer[256];
  std::string file;
  std::vector<std::size_t> writes;
  rt::ByteSink sink;
  RecordingSink() {
    sink.buffer = buffer;
    sink.capacity = sizeof buffer;
    sink.context = this;
    sink.write = [](rt::ByteSink& s, const char* data, std::size_t size) {
      auto* self = static_cast<RecordingSink*>(s.context);
      self->file.append(data, size);
      self->writes.push_back(size);
    };
    sink.flush = [](rt::ByteSink& s) {
      std::size_t n = s.used;
      s.used = 0;
      s.write(s, s.buffer, n);
    };
  }
};

// Long runs skip the buffer, but the bytes must come out in order, and
// every write before the last must be whole 128-byte blocks, so that a file
// cut short by a failure holds whole blocks only.
TEST(SinkPutRun, KeepsOrderAndWritesWholeBlocks) {
  const struct {
    const char* name;
    std::size_t buffered;  // bytes put before the run
    std::size_t run;
    std::size_t front;     // free room before the run
  } cases[] = {
      {"buffer moved in front of the run", 10, 1000, 64},
      {"buffer topped up first", 100, 1000, 0},
      {"buffer larger than the room", 200, 777, 64},
      {"empty buffer", 0, 513, 0},
      {"block-aligned buffer", 128, 300, 0},
      {"short run goes through the buffer", 5, 100, 64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSink rs;
    std::string before(c.buffered, 'b');
    rt::SinkPut(rs.sink, before.data(), before.size());
    std::string memory(c.front, '?');
    std::string run;
    for (std::size_t i = 0; i < c.run; ++i) run.push_back(static_cast<char>('a' + i % 26));
    memory += run;
    rt::SinkPutRun(rs.sink, memory.data() + c.front, c.run, c.front);
    for (std::size_t size : rs.writes) EXPECT_EQ(size % 128, 0u);
    rs.sink.flush(rs.sink);
    EXPECT_EQ(rs.file, before + run);
  }
}

}  // namespace
