// Fuzz target: the extraction engine (app::BeginExtraction, ExtractBlock,
// FinishExtraction) against the line-at-a-time model, with random settings,
// random block sizes and random output buffer sizes.
//
// Input layout:
//   byte 0..3  SkipLines, SkipItems, OutputLines, OutputItems (see Setting)
//   byte 4     block sizes: low 3 bits the largest block, the rest a seed
//   byte 5     output buffer size
//   the rest   the input file's bytes
//
// Checked: the output bytes and all five counters equal the model's; the
// counters add up; each block is taken up to its end or up to the first
// 0x1A of the input and no further; the output buffer is written out only
// when full. Every block lies in a heap block of its own exact size, so
// AddressSanitizer sees any read past it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/extraction.h"
#include "app/run_state.h"
#include "fuzz/extraction_model.h"
#include "fuzz/fuzz_check.h"
#include "runtime/textfile.h"

namespace {

using fuzzcheck::Escaped;

// Mostly 0 and small numbers, where the window's edges are; sometimes the
// extremes of the 32-bit range.
std::int32_t Setting(std::uint8_t b) {
  static const std::int32_t kExtremes[16] = {
      -2147483647 - 1, -2147483647, -1000000, -100, -17, -1, 0,      1,
      2,               3,           100,      1000, 65536, 1000000, 2147483646, 2147483647};
  if (b < 0x30) return 0;
  if (b >= 0xF0) return kExtremes[b - 0xF0];
  return static_cast<std::int32_t>(b % 12) - 2;  // -2 to 9
}

// Block sizes from a small generator, so that line ends, CR, commas and
// 0x1A fall on every side of a block boundary.
struct BlockPlan {
  std::size_t largest;
  std::uint32_t state;
  std::size_t Next() {
    state = state * 1103515245u + 12345u;
    return 1 + (state >> 8) % largest;
  }
};

BlockPlan MakeBlockPlan(std::uint8_t b, std::size_t inputSize) {
  static const std::size_t kLargest[8] = {1, 2, 3, 7, 16, 64, 128, 0};
  std::size_t largest = kLargest[b & 7];
  if (largest == 0) largest = std::max<std::size_t>(inputSize, 1);  // usually one block
  return BlockPlan{largest, static_cast<std::uint32_t>(b >> 3) + 1};
}

std::size_t SinkCapacity(std::uint8_t b) {
  static const std::size_t kSizes[6] = {1, 3, 16, 128, 256, 4096};
  return kSizes[b % 6];
}

struct Written {
  std::string bytes;
  bool flushedPartial = false;
};

void FlushToString(rt::ByteSink& sink) {
  auto* written = static_cast<Written*>(sink.context);
  if (sink.used != sink.capacity) written->flushedPartial = true;
  written->bytes.append(sink.buffer, sink.used);
  sink.used = 0;
}

std::string Describe(std::string_view input, const model::ExtractionSettings& s,
                     std::uint8_t planByte, std::size_t capacity) {
  return "input " + Escaped(input) + "\nSkipLines " + std::to_string(s.SkipLines) +
         ", SkipItems " + std::to_string(s.SkipItems) + ", OutputLines " +
         std::to_string(s.OutputLines) + ", OutputItems " + std::to_string(s.OutputItems) +
         ", block plan " + std::to_string(planByte) + ", output buffer " +
         std::to_string(capacity);
}

std::string Counts(std::int64_t input, std::int64_t skipped, std::int64_t unwritten,
                   std::int64_t invalid, std::int64_t output) {
  return "InputCount " + std::to_string(input) + ", SkippedCount " + std::to_string(skipped) +
         ", UnwrittenCount " + std::to_string(unwritten) + ", InvalidSkipCount " +
         std::to_string(invalid) + ", OutputCount " + std::to_string(output);
}

// Runs the engine over `input` block by block and compares with the model.
void CheckAgainstModel(std::string_view input, const model::ExtractionSettings& settings,
                       std::uint8_t planByte, std::uint8_t capacityByte) {
  BlockPlan plan = MakeBlockPlan(planByte, input.size());
  const std::size_t capacity = SinkCapacity(capacityByte);
  auto describe = [&] { return Describe(input, settings, planByte, capacity); };

  app::RunState state;
  state.SkipLines = settings.SkipLines;
  state.SkipItems = settings.SkipItems;
  state.OutputLines = settings.OutputLines;
  state.OutputItems = settings.OutputItems;

  Written written;
  std::unique_ptr<char[]> sinkBuffer(new char[capacity]);
  rt::ByteSink sink;
  sink.buffer = sinkBuffer.get();
  sink.capacity = capacity;
  sink.flush = FlushToString;
  sink.context = &written;

  app::Extractor ex;
  app::BeginExtraction(ex, state);
  const std::size_t endOfText = input.find('\x1A');
  std::size_t taken = 0;
  while (taken < input.size() && !ex.ended) {
    const std::size_t n = std::min(plan.Next(), input.size() - taken);
    std::unique_ptr<char[]> block(new char[n]);
    std::copy(input.begin() + static_cast<std::ptrdiff_t>(taken),
              input.begin() + static_cast<std::ptrdiff_t>(taken + n), block.get());
    const char* stop = app::ExtractBlock(ex, block.get(), block.get() + n, sink);
    FUZZ_CHECK(stop >= block.get() && stop <= block.get() + n,
               "ExtractBlock stopped outside its block\n" + describe());
    const std::size_t stopAt = taken + static_cast<std::size_t>(stop - block.get());
    if (ex.ended) {
      FUZZ_CHECK(stopAt == endOfText, "ExtractBlock ended the input at " +
                                          std::to_string(stopAt) + ", first 0x1A at " +
                                          std::to_string(endOfText) + "\n" + describe());
    } else {
      FUZZ_CHECK(stop == block.get() + n, "ExtractBlock stopped at " + std::to_string(stopAt) +
                                              " without ending the input\n" + describe());
    }
    taken += n;
  }
  FUZZ_CHECK(ex.ended == (endOfText != std::string_view::npos),
             std::string("the input ") + (ex.ended ? "ended without" : "did not end at") +
                 " a 0x1A\n" + describe());
  app::FinishExtraction(ex, sink);
  FUZZ_CHECK(!written.flushedPartial, "the output buffer was written out before it was full\n" +
                                          describe());
  written.bytes.append(sink.buffer, sink.used);  // what closing the file writes out

  const model::ExtractionResult want = model::Extract(input, settings);
  FUZZ_CHECK(written.bytes == want.output, "output " + Escaped(written.bytes) + "\nmodel  " +
                                               Escaped(want.output) + "\n" + describe());
  const model::ExtractionCounts& c = want.counts;
  FUZZ_CHECK(state.InputCount == c.InputCount && state.SkippedCount == c.SkippedCount &&
                 state.UnwrittenCount == c.UnwrittenCount &&
                 state.InvalidSkipCount == c.InvalidSkipCount &&
                 state.OutputCount == c.OutputCount,
             "counters " +
                 Counts(state.InputCount, state.SkippedCount, state.UnwrittenCount,
                        state.InvalidSkipCount, state.OutputCount) +
                 "\nmodel    " +
                 Counts(c.InputCount, c.SkippedCount, c.UnwrittenCount, c.InvalidSkipCount,
                        c.OutputCount) +
                 "\n" + describe());
  FUZZ_CHECK(state.InputCount == state.SkippedCount + state.UnwrittenCount +
                                     state.InvalidSkipCount + state.OutputCount,
             "the counters do not add up\n" + describe());
  FUZZ_CHECK(state.SkipLines == settings.SkipLines && state.SkipItems == settings.SkipItems &&
                 state.OutputLines == settings.OutputLines &&
                 state.OutputItems == settings.OutputItems,
             "the extraction changed a setting\n" + describe());
}
struct KnownExtraction {
  std::string_view input;
  model::ExtractionSettings settings;
  std::string_view output;
  model::ExtractionCounts counts;  // Input, Output, Skipped, Unwritten, InvalidSkip
};

// Known runs, checked once at start so that the model itself is held to the
// rules before it judges the product.
void CheckKnownExtractions() {
  using namespace std::string_view_literals;
  const KnownExtraction kCases[] = {
      // The item window of a,b,c,d.
      {"a,b,c,d", {0, 0, 0, 0}, "a,b,c,d\r\n", {1, 1, 0, 0, 0}},
      {"a,b,c,d", {0, 1, 0, 0}, "b,c,d\r\n", {1, 1, 0, 0, 0}},
      {"a,b,c,d", {0, 1, 0, 2}, "b,c\r\n", {1, 1, 0, 0, 0}},
      {"a,b,c,d", {0, 0, 0, 1}, "a\r\n", {1, 1, 0, 0, 0}},
      {"a,b,c,d", {0, 3, 0, 1}, "d\r\n", {1, 1, 0, 0, 0}},
      {"a,b,c,d", {0, 4, 0, 0}, "", {1, 0, 0, 0, 1}},
      {"a,b,c,d", {0, 2, 0, 5}, "c,d\r\n", {1, 1, 0, 0, 0}},
      {",x", {0, 0, 0, 1}, "", {1, 0, 0, 0, 1}},
      {"a,b", {0, -1, 0, 0}, "", {1, 0, 0, 0, 1}},
      {"a,b", {0, 0, 0, -3}, "a,b\r\n", {1, 1, 0, 0, 0}},
      // Lines: LF, CR LF, stray CRs, 0x1A, a last line without a line end.
      {"a\r\nb", {0, 0, 0, 0}, "a\r\nb\r\n", {2, 2, 0, 0, 0}},
      {"a\rb\r\r\n", {0, 0, 0, 0}, "ab\r\n", {1, 1, 0, 0, 0}},
      {"a\r\n\r\n", {0, 0, 0, 0}, "a\r\n", {2, 1, 0, 0, 1}},
      {"\r\n", {0, 0, 0, 0}, "", {1, 0, 0, 0, 1}},
      {"a\n\r", {0, 0, 0, 0}, "a\r\n", {2, 1, 0, 0, 1}},
      {"a\nb\n\x1A" "c\n", {0, 0, 0, 0}, "a\r\nb\r\n", {2, 2, 0, 0, 0}},
      {"a\x1A" "b\n", {0, 0, 0, 0}, "a\r\n", {1, 1, 0, 0, 0}},
      {"\x1A", {0, 0, 0, 0}, "", {0, 0, 0, 0, 0}},
      {"a\0b\n"sv, {0, 0, 0, 0}, "a\0b\r\n"sv, {1, 1, 0, 0, 0}},
      {"\"x,y\",z", {0, 1, 0, 0}, "y\",z\r\n", {1, 1, 0, 0, 0}},
      // Skipping and the line limit.
      {"1\n2\n", {5, 0, 0, 0}, "", {2, 0, 2, 0, 0}},
      {"1\n2\n3\n4\n5\n", {0, 0, 2, 0}, "1\r\n2\r\n", {5, 2, 0, 3, 0}},
      {",\n2\n3\n4\n", {0, 0, 2, 1}, "2\r\n3\r\n", {4, 2, 0, 1, 1}},
      {"1\n2\n3\n", {1, 0, -1, 0}, "", {3, 0, 1, 2, 0}},
      {"1\n2\n3\n", {-4, 0, 0, 0}, "1\r\n2\r\n3\r\n", {3, 3, 0, 0, 0}},
  };
  for (const KnownExtraction& c : kCases) {
    const model::ExtractionResult got = model::Extract(c.input, c.settings);
    const model::ExtractionCounts& k = got.counts;
    const model::ExtractionCounts& w = c.counts;
    const std::string where = Describe(c.input, c.settings, 7, 128);
    FUZZ_CHECK(got.output == c.output, "model, known output " + Escaped(got.output) +
                                           ", want " + Escaped(c.output) + "\n" + where);
    FUZZ_CHECK(k.InputCount == w.InputCount && k.OutputCount == w.OutputCount &&
                   k.SkippedCount == w.SkippedCount && k.UnwrittenCount == w.UnwrittenCount &&
                   k.InvalidSkipCount == w.InvalidSkipCount,
               "model, known counters " +
                   Counts(k.InputCount, k.SkippedCount, k.UnwrittenCount, k.InvalidSkipCount,
                          k.OutputCount) +
                   "\nwant " +
                   Counts(w.InputCount, w.SkippedCount, w.UnwrittenCount, w.InvalidSkipCount,
                          w.OutputCount) +
                   "\n" + where);
    for (int plan : {0, 7}) CheckAgainstModel(c.input, c.settings, static_cast<std::uint8_t>(plan), 3);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CheckKnownExtractions();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  model::ExtractionSettings settings;
  settings.SkipLines = Setting(data[0]);
  settings.SkipItems = Setting(data[1]);
  settings.OutputLines = Setting(data[2]);
  settings.OutputItems = Setting(data[3]);
  const std::string_view input(reinterpret_cast<const char*>(data) + 6, size - 6);
  CheckAgainstModel(input, settings, data[4], data[5]);
  return 0;
}
