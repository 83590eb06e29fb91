#include "app/extraction.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace app {
namespace {

using Mode = Extractor::Mode;

constexpr char kLf = '\n';
constexpr char kCr = '\r';
constexpr char kEof = rt::kEndOfText;
constexpr char kComma = ',';

// The first byte in [p, end) equal to one of the N needles, or end. Bytes
// that matter are rare, so the search runs 16 bytes at a time.
template <int N>
inline const char* FindAny(const char* p, const char* end, const char (&needles)[N]) {
#if defined(__SSE2__)
  __m128i splat[N];
  for (int k = 0; k < N; ++k) splat[k] = _mm_set1_epi8(needles[k]);
  while (end - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hit = _mm_cmpeq_epi8(v, splat[0]);
    for (int k = 1; k < N; ++k) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, splat[k]));
    int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  for (; p < end; ++p)
    for (int k = 0; k < N; ++k)
      if (*p == needles[k]) return p;
  return end;
}

constexpr char kPassNeedles[] = {kLf, kEof};
constexpr char kSkipItemNeedles[] = {kLf, kEof, kComma};
constexpr char kWindowNeedles[] = {kLf, kCr, kEof};
constexpr char kLimitedWindowNeedles[] = {kLf, kCr, kEof, kComma};

void StartLine(Extractor& ex) {
  RunState& s = *ex.state;
  ++s.InputCount;
  ex.recordLine = false;
  ex.mode = Mode::PassLine;
  if (s.SkippedCount < s.SkipLines) {
    ++s.SkippedCount;
    return;
  }
  // The limit counts written lines only; a negative limit writes nothing.
  if (s.OutputLines != 0 && s.OutputCount >= s.OutputLines) {
    ++s.UnwrittenCount;
    return;
  }
  ex.recordLine = true;
  ex.windowHasBytes = false;
  ex.commasInWindow = 0;
  if (s.SkipItems < 0) return;  // never reached: the window stays empty
  if (s.SkipItems == 0) {
    ex.mode = Mode::Window;
    return;
  }
  ex.commasLeft = s.SkipItems;
  ex.mode = Mode::SkipItems;
}

void EndLine(Extractor& ex, rt::ByteSink& out) {
  ex.mode = Mode::BetweenLines;
  if (!ex.recordLine) return;
  if (ex.windowHasBytes) {
    rt::SinkPut(out, "\r\n", 2);
    ++ex.state->OutputCount;
  } else {
    ++ex.state->InvalidSkipCount;
  }
}

void CopyRun(Extractor& ex, const char* p, const char* q, rt::ByteSink& out) {
  if (q == p) return;
  rt::SinkPut(out, p, static_cast<std::size_t>(q - p));
  ex.windowHasBytes = true;
}

}  // namespace

void BeginExtraction(Extractor& ex, RunState& state) {
  ex = Extractor{};
  ex.state = &state;
}

const char* ExtractBlock(Extractor& ex, const char* p, const char* end, rt::ByteSink& out) {
  // OutputItems of 0 or below is never reached: commas inside the window
  // then need no attention.
  const bool limitedWindow = ex.state->OutputItems > 0;
  while (p < end) {
    const char* q;
    switch (ex.mode) {
      case Mode::BetweenLines:
        if (*p == kEof) {
          ex.ended = true;
          return p;
        }
        StartLine(ex);
        continue;

      case Mode::PassLine:
        q = FindAny(p, end, kPassNeedles);
        if (q == end) return end;
        EndLine(ex, out);
        if (*q == kEof) {
          ex.ended = true;
          return q;
        }
        p = q + 1;
        continue;

      case Mode::SkipItems:
        q = FindAny(p, end, kSkipItemNeedles);
        if (q == end) return end;
        if (*q == kComma) {
          if (--ex.commasLeft == 0) ex.mode = Mode::Window;
          p = q + 1;
          continue;
        }
        EndLine(ex, out);
        if (*q == kEof) {
          ex.ended = true;
          return q;
        }
        p = q + 1;
        continue;

      case Mode::Window:
        q = limitedWindow ? FindAny(p, end, kLimitedWindowNeedles) : FindAny(p, end, kWindowNeedles);
        CopyRun(ex, p, q, out);
        if (q == end) return end;
        p = q + 1;
        switch (*q) {
          case kCr:  // a CR never belongs to a line, wherever it stands
            continue;
          case kComma:
            if (++ex.commasInWindow == ex.state->OutputItems) {
              ex.mode = Mode::PassLine;  // the window ends before this comma
            } else {
              CopyRun(ex, q, p, out);
            }
            continue;
          case kLf:
            EndLine(ex, out);
            continue;
          default:  // 0x1A ends the line and the input
            EndLine(ex, out);
            ex.ended = true;
            return q;
        }
    }
  }
  return end;
}

void FinishExtraction(Extractor& ex, rt::ByteSink& out) {
  if (ex.mode != Mode::BetweenLines) EndLine(ex, out);
}

void RunExtraction(rt::InputFile& input, rt::OutputFile& output, RunState& state) {
  Extractor ex;
  BeginExtraction(ex, state);
  while (!ex.ended && rt::FillInput(input)) {
    const char* begin = input.buffer + input.pos;
    const char* stop = ExtractBlock(ex, begin, input.buffer + input.len, output.sink);
    input.pos += static_cast<std::size_t>(stop - begin);
  }
  FinishExtraction(ex, output.sink);
}

}  // namespace app
