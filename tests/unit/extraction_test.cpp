#include "app/extraction.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Settings {
  std::int32_t skipLines = 0, skipItems = 0, outputLines = 0, outputItems = 0;
};

struct Counts {
  std::int64_t input, skipped, invalid, unwritten, output;
  bool operator==(const Counts& o) const {
    return input == o.input && skipped == o.skipped && invalid == o.invalid &&
           unwritten == o.unwritten && output == o.output;
  }
};

std::ostream& operator<<(std::ostream& os, const Counts& c) {
  return os << "{in " << c.input << ", skip " << c.skipped << ", invalid " << c.invalid
            << ", unwritten " << c.unwritten << ", out " << c.output << "}";
}

struct Result {
  std::string output;
  Counts counts;
  std::size_t consumed;  // bytes taken before the input ended
};

// A sink with a 128-byte buffer, so that flushes happen mid-line too.
struct StringSink {
  char buffer[128];
  std::string written;
  rt::ByteSink sink;
  StringSink() {
    sink.buffer = buffer;
    sink.capacity = sizeof buffer;
    sink.flush = [](rt::ByteSink& s) {
      static_cast<StringSink*>(s.context)->written.append(s.buffer, s.used);
      s.used = 0;
    };
    sink.context = this;
  }
  std::string All() { return written + std::string(buffer, sink.used); }
};

// Feeds `input` to the engine in blocks of `block` bytes.
Result Extract(const std::string& input, Settings set, std::size_t block) {
  app::RunState state;
  state.SkipLines = set.skipLines;
  state.SkipItems = set.skipItems;
  state.OutputLines = set.outputLines;
  state.OutputItems = set.outputItems;
  app::Extractor ex;
  app::BeginExtraction(ex, state);
  StringSink out;
  std::size_t pos = 0;
  while (pos < input.size() && !ex.ended) {
    std::size_t n = std::min(block, input.size() - pos);
    const char* begin = input.data() + pos;
    const char* stop = app::ExtractBlock(ex, begin, begin + n, out.sink);
    pos += static_cast<std::size_t>(stop - begin);
  }
  app::FinishExtraction(ex, out.sink);
  Counts c{state.InputCount, state.SkippedCount, state.InvalidSkipCount, state.UnwrittenCount,
           state.OutputCount};
  EXPECT_EQ(c.input, c.skipped + c.invalid + c.unwritten + c.output);
  return {out.All(), c, pos};
}

struct Case {
  const char* name;
  std::string input;
  Settings settings;
  std::string output;
  Counts counts;
};

const Case kCases[] = {
    // Line rules.
    {"crlf lines", "a\r\nb\r\n", {}, "a\r\nb\r\n", {2, 0, 0, 0, 2}},
    {"lf lines", "a\nb\n", {}, "a\r\nb\r\n", {2, 0, 0, 0, 2}},
    {"no final line end", "a\r\nb", {}, "a\r\nb\r\n", {2, 0, 0, 0, 2}},
    {"cr dropped anywhere", "a\rb\r\r\n", {}, "ab\r\n", {1, 0, 0, 0, 1}},
    {"lone cr never ends a line", "a\rb", {}, "ab\r\n", {1, 0, 0, 0, 1}},
    {"trailing empty line", "a\r\n\r\n", {}, "a\r\n", {2, 0, 1, 0, 1}},
    {"cr alone after last line is a line", "a\n\r", {}, "a\r\n", {2, 0, 1, 0, 1}},
    {"cr lf line is empty", "\r\n", {}, "", {1, 0, 1, 0, 0}},
    {"0x1a alone", "\x1A", {}, "", {0, 0, 0, 0, 0}},
    {"0x1a starts third line", "a\nb\n\x1A" "c\n", {}, "a\r\nb\r\n", {2, 0, 0, 0, 2}},
    {"0x1a mid-line", "a\x1A" "b\nc\n", {}, "a\r\n", {1, 0, 0, 0, 1}},
    {"nul bytes pass", std::string("a\0b\n", 4), {}, std::string("a\0b\r\n", 5), {1, 0, 0, 0, 1}},
    {"empty input", "", {}, "", {0, 0, 0, 0, 0}},
    {"shift-jis copied", "\x95\x5C,\x83\x5C\r\n", {0, 1}, "\x83\x5C\r\n", {1, 0, 0, 0, 1}},

    // The item window of a,b,c,d.
    {"si0 oi0", "a,b,c,d", {0, 0, 0, 0}, "a,b,c,d\r\n", {1, 0, 0, 0, 1}},
    {"si1 oi0", "a,b,c,d", {0, 1, 0, 0}, "b,c,d\r\n", {1, 0, 0, 0, 1}},
    {"si1 oi2", "a,b,c,d", {0, 1, 0, 2}, "b,c\r\n", {1, 0, 0, 0, 1}},
    {"si0 oi1", "a,b,c,d", {0, 0, 0, 1}, "a\r\n", {1, 0, 0, 0, 1}},
    {"si3 oi1", "a,b,c,d", {0, 3, 0, 1}, "d\r\n", {1, 0, 0, 0, 1}},
    {"si4 empty", "a,b,c,d", {0, 4, 0, 0}, "", {1, 0, 1, 0, 0}},
    {"si2 oi5", "a,b,c,d", {0, 2, 0, 5}, "c,d\r\n", {1, 0, 0, 0, 1}},
    {"leading comma oi1", ",b\n", {0, 0, 0, 1}, "", {1, 0, 1, 0, 0}},
    {"quotes not honoured", "\"x,y\",z", {0, 1}, "y\",z\r\n", {1, 0, 0, 0, 1}},
    {"cr inside window", "a,\rb,c\n", {0, 1, 0, 1}, "b\r\n", {1, 0, 0, 0, 1}},
    {"cr is the whole window", "a,\r,c\n", {0, 1, 0, 1}, "", {1, 0, 1, 0, 0}},
    {"negative si empties", "a,b\nc\n", {0, -1}, "", {2, 0, 2, 0, 0}},
    {"negative oi acts like 0", "a,b,c\n", {0, 1, 0, -3}, "b,c\r\n", {1, 0, 0, 0, 1}},

    // Skipping and the line limit.
    {"skip more than there is", "a\nb\n", {5}, "", {2, 2, 0, 0, 0}},
    {"negative skip skips nothing", "a\nb\n", {-2}, "a\r\nb\r\n", {2, 0, 0, 0, 2}},
    {"skip then write", "h\na\nb\n", {1}, "a\r\nb\r\n", {3, 1, 0, 0, 2}},
    {"limit 2 of 5", "1\n2\n3\n4\n5\n", {0, 0, 2}, "1\r\n2\r\n", {5, 0, 0, 3, 2}},
    {"limit counts written lines", "\n2\n3\n4\n", {0, 0, 2}, "2\r\n3\r\n", {4, 0, 1, 1, 2}},
    {"negative limit writes nothing", "1\n2\n", {0, 0, -1}, "", {2, 0, 0, 2, 0}},
    {"all four", "h\nk,a,b,c\nk\nk,x\nk,y,z\n", {1, 1, 2, 1},
     "a\r\nx\r\n", {5, 1, 1, 1, 2}},
};

TEST(Extraction, LineRulesAndWindows) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Result r = Extract(c.input, c.settings, c.input.size() + 1);
    EXPECT_EQ(r.output, c.output);
    EXPECT_EQ(r.counts, c.counts);
  }
}

// No state may be lost between blocks: every split of the input gives the
// same bytes and counts.
TEST(Extraction, EveryBlockSizeGivesTheSameResult) {
  for (const Case& c : kCases) {
    for (std::size_t block = 1; block <= c.input.size(); ++block) {
      SCOPED_TRACE(std::string(c.name) + " block " + std::to_string(block));
      Result r = Extract(c.input, c.settings, block);
      EXPECT_EQ(r.output, c.output);
      EXPECT_EQ(r.counts, c.counts);
    }
  }
}

TEST(Extraction, StopsAtEndOfTextWithoutTakingIt) {
  Result r = Extract("ab\n\x1A" "cd\n", {}, 2);
  EXPECT_EQ(r.consumed, 3u);
}

// Long runs go through the 16-byte scanner: a special byte at every
// offset of a long line must still be found.
TEST(Extraction, FindsSpecialBytesAtEveryOffsetOfLongRuns) {
  for (std::size_t at = 0; at < 70; ++at) {
    SCOPED_TRACE(at);
    std::string line(70, 'x');
    line[at] = ',';
    Result r = Extract(line + "\r\n", {0, 1}, 4096);
    std::string tail = line.substr(at + 1);
    EXPECT_EQ(r.output, tail.empty() ? "" : tail + "\r\n");
    std::string withCr = line;
    withCr[at] = '\r';
    EXPECT_EQ(Extract(withCr, {}, 4096).output, std::string(69, 'x') + "\r\n");
  }
}

}  // namespace
