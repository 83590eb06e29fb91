// A plain, line-at-a-time model of the record extraction: the whole input
// is first cut into lines by the reading rules, then each line goes through
// the skipping phase or the record phase (line limit, item start, window,
// output) exactly as the steps read, with 1-based positions. It holds whole
// lines and rebuilds every window, so it is slow and obvious where the
// product's streaming state machine is fast and subtle.
//
// Free of product code, so that a unit test can use it as its oracle too.
#ifndef ROWPLUCK_FUZZ_EXTRACTION_MODEL_H
#define ROWPLUCK_FUZZ_EXTRACTION_MODEL_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace model {

struct ExtractionSettings {
  std::int32_t SkipLines = 0;    // leading lines to skip
  std::int32_t SkipItems = 0;    // leading items of each line to skip
  std::int32_t OutputLines = 0;  // lines to write at most (0: all)
  std::int32_t OutputItems = 0;  // items of each line to write at most (0: all)
};

struct ExtractionCounts {
  std::int64_t InputCount = 0;
  std::int64_t OutputCount = 0;
  std::int64_t SkippedCount = 0;
  std::int64_t UnwrittenCount = 0;
  std::int64_t InvalidSkipCount = 0;
};

struct ExtractionResult {
  std::string output;  // the bytes of the output file
  ExtractionCounts counts;
};

// The lines of an input by the reading rules: a LF ends a line and is not
// part of it; a CR is never part of a line; a 0x1A ends the input; a last
// line without a line end is still a line.
inline std::vector<std::string> InputLines(std::string_view input) {
  std::size_t endOfText = input.find('\x1A');
  if (endOfText != std::string_view::npos) input = input.substr(0, endOfText);

  std::vector<std::string> lines;
  std::string raw;  // the current line's bytes as read, CRs included
  bool open = false;  // bytes of a line have been read since the last LF
  for (char c : input) {
    if (c == '\n') {
      lines.push_back(raw);
      raw.clear();
      open = false;
      continue;
    }
    open = true;
    raw += c;
  }
  if (open) lines.push_back(raw);  // e.g. "a" or a lone CR after the last LF

  for (std::string& line : lines) {
    std::string kept;
    for (char c : line)
      if (c != '\r') kept += c;
    line = kept;
  }
  return lines;
}

// A piece of `text` by 1-based start and count: a start below 1 counts as
// 1; a start past the end, or a negative count, gives the empty text; a
// count past the end stops at the end.
inline std::string Piece(const std::string& text, std::int64_t start, std::int64_t count) {
  if (start < 1) start = 1;
  if (count < 0 || start > static_cast<std::int64_t>(text.size())) return std::string();
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count));
}

// The window of one line of the record phase.
inline std::string LineWindow(const std::string& line, const ExtractionSettings& s) {
  const std::int64_t length = static_cast<std::int64_t>(line.size());

  // Item start: just after the comma whose count equals SkipItems; beyond
  // the end of the line when there are fewer commas (or SkipItems < 0).
  std::int64_t itemStart = 1;
  if (s.SkipItems != 0) {
    itemStart = length + 1;
    std::int64_t commas = 0;
    for (std::int64_t pos = 1; pos <= length; ++pos) {
      if (line[static_cast<std::size_t>(pos - 1)] == ',' && ++commas == s.SkipItems) {
        itemStart = pos + 1;
        break;
      }
    }
  }

  if (s.OutputItems == 0) return Piece(line, itemStart, length);

  // Walk towards the end, stopping before the comma whose count reaches
  // OutputItems; a negative OutputItems is never reached.
  std::string window;
  std::int64_t commas = 0;
  for (std::int64_t pos = itemStart; pos <= length; ++pos) {
    char c = line[static_cast<std::size_t>(pos - 1)];
    if (c == ',' && ++commas == s.OutputItems) break;
    window += c;
  }
  return window;
}

inline ExtractionResult Extract(std::string_view input, const ExtractionSettings& s) {
  const std::vector<std::string> lines = InputLines(input);
  ExtractionResult r;
  std::size_t next = 0;

  // Skipping phase.
  for (std::int64_t i = 0; i < s.SkipLines; ++i) {
    if (next == lines.size()) break;
    ++next;
    ++r.counts.InputCount;
    ++r.counts.SkippedCount;
  }

  // Record phase.
  for (; next < lines.size(); ++next) {
    ++r.counts.InputCount;
    if (s.OutputLines != 0 && r.counts.OutputCount >= s.OutputLines) {
      ++r.counts.UnwrittenCount;
      continue;
    }
    std::string window = LineWindow(lines[next], s);
    if (window.empty()) {
      ++r.counts.InvalidSkipCount;
      continue;
    }
    r.output += window;
    r.output += "\r\n";
    ++r.counts.OutputCount;
  }
  return r;
}

}  // namespace model

#endif  // ROWPLUCK_FUZZ_EXTRACTION_MODEL_H
