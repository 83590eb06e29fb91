#include "app/extraction.h"

#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// The build turns the AVX2 path off where the compiler does not keep
// 32-byte stack slots aligned (GCC for 64-bit Windows): a spilled vector
// would then fault.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && \
    !defined(ROWPLUCK_NO_AVX2)
#include <immintrin.h>
#define ROWPLUCK_HAVE_AVX2 1
#endif

namespace app {
namespace {

using Mode = Extractor::Mode;

constexpr char kLf = '\n';
constexpr char kCr = '\r';
constexpr char kEof = rt::kEndOfText;
constexpr char kComma = ',';
constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

// ---------------------------------------------------------------------------
// Byte classes. Only LF, CR, 0x1A and the comma matter; every other byte is
// copied or passed over in runs. The input is looked at 64 bytes (a chunk)
// at a time: one mask per class, bit k standing for byte k of the chunk.

struct ChunkMasks {
  std::uint64_t lf, cr, eof, comma;
};

using ClassifyFn = void (*)(const char* p, std::size_t chunks, ChunkMasks* out);

template <bool kCommas>
void ClassifyBytes(const char* p, std::size_t chunks, ChunkMasks* out) {
  for (std::size_t i = 0; i < chunks; ++i, p += 64) {
    ChunkMasks m{0, 0, 0, 0};
    for (unsigned k = 0; k < 64; ++k) {
      const std::uint64_t bit = std::uint64_t{1} << k;
      switch (p[k]) {
        case kLf: m.lf |= bit; break;
        case kCr: m.cr |= bit; break;
        case kEof: m.eof |= bit; break;
        case kComma: m.comma |= kCommas ? bit : 0; break;
        default: break;
      }
    }
    out[i] = m;
  }
}

#if defined(__SSE2__)
inline std::uint64_t Bits16(__m128i eq, unsigned shift) {
  return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(eq))} << shift;
}

template <bool kCommas>
void ClassifySse2(const char* p, std::size_t chunks, ChunkMasks* out) {
  const __m128i lf = _mm_set1_epi8(kLf), cr = _mm_set1_epi8(kCr);
  const __m128i eof = _mm_set1_epi8(kEof), comma = _mm_set1_epi8(kComma);
  for (std::size_t i = 0; i < chunks; ++i, p += 64) {
    ChunkMasks m{0, 0, 0, 0};
    for (unsigned k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
      m.lf |= Bits16(_mm_cmpeq_epi8(v, lf), 16 * k);
      m.cr |= Bits16(_mm_cmpeq_epi8(v, cr), 16 * k);
      m.eof |= Bits16(_mm_cmpeq_epi8(v, eof), 16 * k);
      if (kCommas) m.comma |= Bits16(_mm_cmpeq_epi8(v, comma), 16 * k);
    }
    out[i] = m;
  }
}
#endif

#if defined(ROWPLUCK_HAVE_AVX2)
// Written out without helpers taking vectors as arguments: such arguments
// are not reliably aligned on every target ABI.
template <bool kCommas>
__attribute__((target("avx2"))) void ClassifyAvx2(const char* p, std::size_t chunks,
                                                  ChunkMasks* out) {
  const __m256i lf = _mm256_set1_epi8(kLf), cr = _mm256_set1_epi8(kCr);
  const __m256i eof = _mm256_set1_epi8(kEof), comma = _mm256_set1_epi8(kComma);
  for (std::size_t i = 0; i < chunks; ++i, p += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    ChunkMasks m;
    m.lf = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, lf))) |
           std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, lf)))}
               << 32;
    m.cr = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, cr))) |
           std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, cr)))}
               << 32;
    m.eof = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, eof))) |
            std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, eof)))}
                << 32;
    m.comma = 0;
    if (kCommas) {
      m.comma =
          static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, comma))) |
          std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(b, comma)))}
              << 32;
    }
    out[i] = m;
  }
}

// AVX2 for the classifier, and the bit-count instruction that every
// processor with AVX2 has, for the line counting.
bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("popcnt") != 0;
  }();
  return has;
}
#endif

// The fastest classifier this processor runs; commas are looked for only
// when an item window needs them.
ClassifyFn PickClassifier(bool commas) {
#if defined(ROWPLUCK_HAVE_AVX2)
  if (HasAvx2()) return commas ? ClassifyAvx2<true> : ClassifyAvx2<false>;
#endif
#if defined(__SSE2__)
  return commas ? ClassifySse2<true> : ClassifySse2<false>;
#else
  return commas ? ClassifyBytes<true> : ClassifyBytes<false>;
#endif
}

inline unsigned LowestBit(std::uint64_t m) { return static_cast<unsigned>(__builtin_ctzll(m)); }
inline unsigned HighestBit(std::uint64_t m) { return 63u - static_cast<unsigned>(__builtin_clzll(m)); }

// The bits below the lowest set bit of m (all bits when m is 0).
inline std::uint64_t BelowLowest(std::uint64_t m) { return (m & (0 - m)) - 1; }

// With kHardware, the processor's own instruction (the caller is compiled
// for it); otherwise a few shifts and adds.
template <bool kHardware>
inline unsigned CountBits(std::uint64_t x) {
  if (kHardware) return static_cast<unsigned>(__builtin_popcountll(x));
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<unsigned>((x * 0x0101010101010101ULL) >> 56);
}

// The position of the n-th set bit of m (n counted from 1, m holds at least n).
inline unsigned NthBit(std::uint64_t m, std::int64_t n) {
  for (; n > 1; --n) m &= m - 1;
  return LowestBit(m);
}

enum : unsigned { kClassLf = 1, kClassCr = 2, kClassEof = 4, kClassComma = 8 };

template <unsigned kSet>
inline std::uint64_t Select(const ChunkMasks& m) {
  return ((kSet & kClassLf) ? m.lf : 0) | ((kSet & kClassCr) ? m.cr : 0) |
         ((kSet & kClassEof) ? m.eof : 0) | ((kSet & kClassComma) ? m.comma : 0);
}

// Long stretches without a byte of interest (a line of many KiB, the rest
// of a line that is passed over) are crossed by a plain scan instead of
// masks: compares ORed together, one test per 64 bytes.
template <unsigned kSet>
const char* ScanBytes(const char* p, const char* end) {
  for (; p < end; ++p) {
    const char c = *p;
    if (((kSet & kClassLf) && c == kLf) || ((kSet & kClassCr) && c == kCr) ||
        ((kSet & kClassEof) && c == kEof) || ((kSet & kClassComma) && c == kComma))
      return p;
  }
  return end;
}

#if defined(__SSE2__)
template <unsigned kSet>
inline __m128i Hits16(__m128i v) {
  __m128i hit = _mm_setzero_si128();
  if (kSet & kClassLf) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(kLf)));
  if (kSet & kClassCr) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(kCr)));
  if (kSet & kClassEof) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(kEof)));
  if (kSet & kClassComma) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_set1_epi8(kComma)));
  return hit;
}

template <unsigned kSet>
const char* ScanSse2(const char* p, const char* end) {
  for (; end - p >= 16; p += 16) {
    const int mask = _mm_movemask_epi8(Hits16<kSet>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
    if (mask != 0) return p + LowestBit(static_cast<unsigned>(mask));
  }
  return ScanBytes<kSet>(p, end);
}
#endif

#if defined(ROWPLUCK_HAVE_AVX2)
template <unsigned kSet>
__attribute__((target("avx2"))) const char* ScanAvx2(const char* p, const char* end) {
  const __m256i lf = _mm256_set1_epi8(kLf), cr = _mm256_set1_epi8(kCr);
  const __m256i eof = _mm256_set1_epi8(kEof), comma = _mm256_set1_epi8(kComma);
  for (; end - p >= 64; p += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    __m256i ha = _mm256_setzero_si256(), hb = _mm256_setzero_si256();
    if (kSet & kClassLf) {
      ha = _mm256_or_si256(ha, _mm256_cmpeq_epi8(a, lf));
      hb = _mm256_or_si256(hb, _mm256_cmpeq_epi8(b, lf));
    }
    if (kSet & kClassCr) {
      ha = _mm256_or_si256(ha, _mm256_cmpeq_epi8(a, cr));
      hb = _mm256_or_si256(hb, _mm256_cmpeq_epi8(b, cr));
    }
    if (kSet & kClassEof) {
      ha = _mm256_or_si256(ha, _mm256_cmpeq_epi8(a, eof));
      hb = _mm256_or_si256(hb, _mm256_cmpeq_epi8(b, eof));
    }
    if (kSet & kClassComma) {
      ha = _mm256_or_si256(ha, _mm256_cmpeq_epi8(a, comma));
      hb = _mm256_or_si256(hb, _mm256_cmpeq_epi8(b, comma));
    }
    if (!_mm256_testz_si256(_mm256_or_si256(ha, hb), _mm256_or_si256(ha, hb))) {
      const std::uint64_t m =
          static_cast<std::uint32_t>(_mm256_movemask_epi8(ha)) |
          std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hb))} << 32;
      return p + LowestBit(m);
    }
  }
  return ScanSse2<kSet>(p, end);
}
#endif

template <unsigned kSet>
const char* Scan(const char* p, const char* end) {
#if defined(ROWPLUCK_HAVE_AVX2)
  if (HasAvx2()) return ScanAvx2<kSet>(p, end);
#endif
#if defined(__SSE2__)
  return ScanSse2<kSet>(p, end);
#else
  return ScanBytes<kSet>(p, end);
#endif
}

// The byte classes of one block of input, worked out 4 KiB at a time as
// they are asked for, so that masks and bytes are still in the first-level
// cache when they are used. Bits past the end of the block are clear.
struct ByteClasses {
  static constexpr std::size_t kWindow = 64;  // chunks classified at a time
  const char* begin;
  const char* end;
  std::size_t size;
  std::size_t chunks;
  ClassifyFn classify;
  std::size_t first = 0;   // the chunk window[0] stands for
  std::size_t loaded = 0;  // chunks worked out in window
  ChunkMasks window[kWindow];
};

void InitByteClasses(ByteClasses& bc, const char* begin, const char* end, bool commas) {
  bc.begin = begin;
  bc.end = end;
  bc.size = static_cast<std::size_t>(end - begin);
  bc.chunks = (bc.size + 63) / 64;
  bc.classify = PickClassifier(commas);
  bc.first = 0;
  bc.loaded = 0;
}

std::size_t ChunkOf(const ByteClasses& bc, const char* p) {
  return static_cast<std::size_t>(p - bc.begin) / 64;
}
unsigned BitOf(const ByteClasses& bc, const char* p) {
  return static_cast<unsigned>(p - bc.begin) % 64;
}
const char* At(const ByteClasses& bc, std::size_t chunk, unsigned bit) {
  return bc.begin + chunk * 64 + bit;
}

// Works out the masks of chunks i, i + 1, ... (as many as the window holds).
void LoadClasses(ByteClasses& bc, std::size_t i) {
  const std::size_t count = bc.chunks - i < ByteClasses::kWindow ? bc.chunks - i : ByteClasses::kWindow;
  const std::size_t whole = bc.size / 64;  // chunks that lie wholly inside
  const std::size_t inside = i + count <= whole ? count : whole - i;
  bc.classify(bc.begin + i * 64, inside, bc.window);
  if (inside < count) {  // the short last chunk, padded with bytes of no class
    alignas(64) char tail[64] = {};
    std::memcpy(tail, bc.begin + whole * 64, bc.size - whole * 64);
    bc.classify(tail, 1, bc.window + inside);
  }
  bc.first = i;
  bc.loaded = count;
}

// The masks of chunks i, i + 1, ... as far as they are worked out in one
// go; *count gets their number (at least 1).
const ChunkMasks* ClassWindow(ByteClasses& bc, std::size_t i, std::size_t* count) {
  if (i - bc.first >= bc.loaded) LoadClasses(bc, i);
  *count = bc.loaded - (i - bc.first);
  return bc.window + (i - bc.first);
}

// The bits of chunk i that stand for bytes of the block.
std::uint64_t BitsInside(const ByteClasses& bc, std::size_t i) {
  const std::size_t n = bc.size - i * 64;
  return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
}

// The first byte at or after p in one of the classes of kSet, or bc.end.
// The search may stop early at `limit`, which it then returns.
template <unsigned kSet>
const char* Find(ByteClasses& bc, const char* p, const char* limit) {
  std::size_t i = ChunkOf(bc, p);
  if (i >= bc.chunks) return bc.end;
  if (i - bc.first >= bc.loaded) LoadClasses(bc, i);
  const unsigned bit = BitOf(bc, p);
  const std::size_t k = i - bc.first;
  std::uint64_t m = Select<kSet>(bc.window[k]) >> bit;
  // With the next chunk at hand, a byte up to 64 bytes ahead is found
  // whichever of the two chunks holds it.
  const char* from = At(bc, i + 1, 0);  // the first byte not looked at
  if (k + 1 < bc.loaded) {
    m |= Select<kSet>(bc.window[k + 1]) << 1 << (63 - bit);
    from = p + 64;
  }
  if (m != 0) return p + LowestBit(m);
  // Nothing near: what follows may well be a long stretch, crossed
  // fastest by a plain scan.
  if (from >= limit) return from < bc.end ? limit : bc.end;
  return Scan<kSet>(from, limit);
}

template <unsigned kSet>
const char* Find(ByteClasses& bc, const char* p) {
  return Find<kSet>(bc, p, bc.end);
}

// ---------------------------------------------------------------------------
// Whole lines at a time. These take many lines in one pass over the masks,
// with no work per line; each starts at the start of a line.

struct LinesTaken {
  const char* stop;   // where the next byte is taken
  std::int64_t lines;  // lines begun, the open one included
  bool lineOpen;       // stop lies inside a begun line
  bool ended;          // stop is at a 0x1A that ends the input
};

// Passes over lines until `limit` lines have begun and ended, a 0x1A ends
// the input, or the block ends (inside a line, perhaps).
template <bool kHardware>
[[gnu::always_inline]] inline LinesTaken PassLinesWith(ByteClasses& bc, const char* p,
                                                       std::int64_t limit) {
  std::size_t i = ChunkOf(bc, p);
  std::uint64_t keep = ~std::uint64_t{0} << BitOf(bc, p);
  std::int64_t lineEnds = 0;
  while (i < bc.chunks) {
    std::size_t count;
    const ChunkMasks* w = ClassWindow(bc, i, &count);
    for (std::size_t k = 0; k < count; ++k, ++i, keep = ~std::uint64_t{0}) {
      const std::uint64_t eof = w[k].eof & keep;
      const std::uint64_t lf = w[k].lf & keep & BelowLowest(eof);
      const unsigned n = CountBits<kHardware>(lf);
      if (lineEnds + n >= limit)
        return {At(bc, i, NthBit(lf, limit - lineEnds)) + 1, limit, false, false};
      lineEnds += n;
      if (eof != 0) {
        // The line that holds the 0x1A, unless it starts there, has begun.
        const char* e = At(bc, i, LowestBit(eof));
        const bool begun = e != p && e[-1] != kLf;
        return {e, lineEnds + begun, false, true};
      }
    }
  }
  const bool open = bc.end[-1] != kLf;
  return {bc.end, lineEnds + open, open, false};
}

// When the whole line is copied, a line written out is the very bytes it
// was read as if it has at least one byte, ends in CR LF and holds no other
// CR nor a 0x1A. Takes such lines, at most `limit` of them, up to the first
// line that is not so; a line that the block cuts short is taken as far as
// it goes when it is so up to there (all but a CR at the very end, whose
// line end is still to come).
template <bool kHardware>
[[gnu::always_inline]] inline LinesTaken TakeUnchangedLinesWith(ByteClasses& bc, const char* p,
                                                                std::int64_t limit) {
  std::size_t i = ChunkOf(bc, p);
  const unsigned first = BitOf(bc, p);
  const std::size_t last = bc.chunks - 1;
  std::uint64_t keep = ~std::uint64_t{0} << first;
  std::uint64_t afterCr = 0;                          // the byte before is a CR
  std::uint64_t afterLf = std::uint64_t{1} << first;  // a line starts here
  std::int64_t lines = 0;
  std::size_t endChunk = 0;  // the last chunk with a line end taken ...
  std::uint64_t ends = 0;    // ... and its line ends
  while (i <= last) {
    std::size_t count;
    const ChunkMasks* w = ClassWindow(bc, i, &count);
    for (std::size_t k = 0; k < count; ++k, ++i, keep = ~std::uint64_t{0}) {
      std::uint64_t lf = w[k].lf & keep;
      const std::uint64_t cr = w[k].cr & keep;
      // Wrong: a 0x1A; a CR not followed by LF; a LF not after a CR; a CR
      // that starts a line (the line is empty).
      std::uint64_t wrong =
          (w[k].eof & keep) | (((cr << 1) | afterCr) ^ lf) | (((lf << 1) | afterLf) & cr);
      afterCr = cr >> 63;
      afterLf = lf >> 63;
      // The bit past the block's last byte only says that byte is a CR.
      if (i == last) wrong &= BitsInside(bc, i);
      unsigned n = CountBits<kHardware>(lf);
      if (wrong != 0 || lines + n >= limit) {
        lf &= BelowLowest(wrong);
        n = CountBits<kHardware>(lf);
        if (lines + n >= limit) return {At(bc, i, NthBit(lf, limit - lines)) + 1, limit, false, false};
        lines += n;
        if (lf != 0) return {At(bc, i, HighestBit(lf)) + 1, lines, false, false};
        return {ends != 0 ? At(bc, endChunk, HighestBit(ends)) + 1 : p, lines, false, false};
      }
      lines += n;
      if (lf != 0) {
        endChunk = i;
        ends = lf;
      }
    }
  }
  const char* lastEnd = ends != 0 ? At(bc, endChunk, HighestBit(ends)) + 1 : p;
  const char* stop = bc.end[-1] == kCr ? bc.end - 1 : bc.end;
  if (stop == lastEnd) return {lastEnd, lines, false, false};
  return {stop, lines + 1, true, false};
}

LinesTaken PassLinesPlain(ByteClasses& bc, const char* p, std::int64_t limit) {
  return PassLinesWith<false>(bc, p, limit);
}
LinesTaken TakeUnchangedLinesPlain(ByteClasses& bc, const char* p, std::int64_t limit) {
  return TakeUnchangedLinesWith<false>(bc, p, limit);
}

#if defined(ROWPLUCK_HAVE_AVX2)
__attribute__((target("popcnt"))) LinesTaken PassLinesFast(ByteClasses& bc, const char* p,
                                                           std::int64_t limit) {
  return PassLinesWith<true>(bc, p, limit);
}
__attribute__((target("popcnt"))) LinesTaken TakeUnchangedLinesFast(ByteClasses& bc,
                                                                    const char* p,
                                                                    std::int64_t limit) {
  return TakeUnchangedLinesWith<true>(bc, p, limit);
}
#endif

LinesTaken PassLines(ByteClasses& bc, const char* p, std::int64_t limit) {
#if defined(ROWPLUCK_HAVE_AVX2)
  if (HasAvx2()) return PassLinesFast(bc, p, limit);
#endif
  return PassLinesPlain(bc, p, limit);
}

LinesTaken TakeUnchangedLines(ByteClasses& bc, const char* p, std::int64_t limit) {
#if defined(ROWPLUCK_HAVE_AVX2)
  if (HasAvx2()) return TakeUnchangedLinesFast(bc, p, limit);
#endif
  return TakeUnchangedLinesPlain(bc, p, limit);
}

// ---------------------------------------------------------------------------
// The line state machine.

// Where runs of the block go. A long run can be written straight from the
// input block when its memory may be used (see rt::SinkPutRun).
struct Output {
  rt::ByteSink& sink;
  const char* begin;  // the block
  const char* end;
  char* writable;     // the same bytes, writable; null when they are not
  std::size_t front;  // free bytes in front of `writable`

  void Put(const char* p, const char* q) {
    const std::size_t n = static_cast<std::size_t>(q - p);
    // Short runs, the most common, move as one 64-byte block when the
    // block and the buffer both have room past them for the bytes that are
    // not counted.
    constexpr std::size_t kShort = 64;
    if (n <= kShort && sink.capacity - sink.used >= kShort &&
        static_cast<std::size_t>(end - p) >= kShort) {
      std::memcpy(sink.buffer + sink.used, p, kShort);
      sink.used += n;
      return;
    }
    if (writable == nullptr || n < rt::kLongRun) {
      rt::SinkPut(sink, p, n);
      return;
    }
    const std::size_t at = static_cast<std::size_t>(p - begin);
    rt::SinkPutRun(sink, writable + at, n, front + at);
  }
};

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

void CopyRun(Extractor& ex, const char* p, const char* q, Output& out) {
  if (q == p) return;
  out.Put(p, q);
  ex.windowHasBytes = true;
}

// Lines of the record phase, each cut in one go: the line must lie whole
// in the block and hold no 0x1A and no CR but one right before its LF.
// Stops before the first line that is not so, and when the line limit is
// reached; with the whole line as the window, also after a line that ends
// in CR LF, since the lines after it may well be taken unchanged in bulk.
// Returns where it stopped.
const char* TakeWindowLines(Extractor& ex, ByteClasses& bc, const char* p, Output& out) {
  RunState& s = *ex.state;
  const std::int32_t skipItems = s.SkipItems;
  const std::int32_t outputItems = s.OutputItems;
  const bool wholeLine = skipItems == 0 && outputItems <= 0;
  const std::int64_t room = s.OutputLines > 0 ? s.OutputLines - s.OutputCount : kNoLimit;
  const char* const end = bc.end;
  std::int64_t lines = 0, written = 0, empty = 0;
  while (written < room) {
    const char* q = Find<kClassLf | kClassCr | kClassEof>(bc, p);
    if (q == end || *q == kEof) break;
    const char* const lineEnd = q;  // the line's bytes are [p, lineEnd)
    const char* next = q + 1;
    const bool crLf = *q == kCr;
    if (crLf) {
      if (next == end || *next != kLf) break;  // a CR inside the line
      ++next;
    }
    // The window: after the skipItems-th comma, up to the outputItems-th
    // comma after that or the line end.
    const char* from = p;
    bool reached = true;
    for (std::int32_t k = 0; k < skipItems; ++k) {
      const char* c = Find<kClassComma>(bc, from, lineEnd);
      if (c >= lineEnd) {
        reached = false;
        break;
      }
      from = c + 1;
    }
    const char* to = lineEnd;
    if (reached && outputItems > 0) {
      const char* c = from;
      for (std::int32_t k = 0; k < outputItems; ++k) {
        c = Find<kClassComma>(bc, k == 0 ? c : c + 1, lineEnd);
        if (c >= lineEnd) break;
      }
      if (c < lineEnd) to = c;
    }
    if (!reached || to == from) {
      ++empty;
    } else if (crLf && to == lineEnd) {
      out.Put(from, next);  // written with the very CR LF it was read with
      ++written;
    } else {
      out.Put(from, to);
      rt::SinkPut(out.sink, "\r\n", 2);
      ++written;
    }
    ++lines;
    p = next;
    if (wholeLine && crLf) break;
  }
  s.InputCount += lines;
  s.OutputCount += written;
  s.InvalidSkipCount += empty;
  return p;
}

// Takes whole lines at the start of a line when they need no work of
// their own: lines to skip, lines past the line limit, lines whose window
// is empty from the start, lines that the whole-line copy writes unchanged
// and lines whose window is cut in one go. False when the line must go
// through the state machine; otherwise p is set to where the taking
// stopped.
bool TakeLines(Extractor& ex, ByteClasses& bc, const char*& p, Output& out) {
  RunState& s = *ex.state;
  LinesTaken t;
  bool recorded = true;  // lines taken are recorded (written or counted empty)
  if (s.SkippedCount < s.SkipLines) {
    t = PassLines(bc, p, s.SkipLines - s.SkippedCount);
    s.SkippedCount += t.lines;
    recorded = false;
  } else if (s.OutputLines != 0 && s.OutputCount >= s.OutputLines) {
    t = PassLines(bc, p, kNoLimit);
    s.UnwrittenCount += t.lines;
    recorded = false;
  } else if (s.SkipItems < 0) {
    // The window is never reached: every line is recorded empty, and since
    // none is written, the line limit never comes into play.
    t = PassLines(bc, p, kNoLimit);
    s.InvalidSkipCount += t.lineOpen ? t.lines - 1 : t.lines;
  } else {
    if (s.SkipItems == 0 && s.OutputItems <= 0) {
      t = TakeUnchangedLines(bc, p, s.OutputLines > 0 ? s.OutputLines - s.OutputCount : kNoLimit);
      if (t.stop != p) {
        out.Put(p, t.stop);
        s.OutputCount += t.lineOpen ? t.lines - 1 : t.lines;
        s.InputCount += t.lines;
        p = t.stop;
        if (t.lineOpen) {
          // As StartLine leaves a line, with bytes written already.
          ex.mode = Mode::Window;
          ex.recordLine = true;
          ex.windowHasBytes = true;
          ex.commasInWindow = 0;
        }
        return true;
      }
    }
    const char* stop = TakeWindowLines(ex, bc, p, out);
    if (stop == p) return false;
    p = stop;
    return true;
  }
  s.InputCount += t.lines;
  p = t.stop;
  ex.ended = t.ended;
  if (t.lineOpen) {
    // As StartLine leaves a line that writes nothing more.
    ex.mode = Mode::PassLine;
    ex.recordLine = recorded;
    ex.windowHasBytes = false;
  }
  return true;
}

const char* ExtractCore(Extractor& ex, const char* p, const char* end, Output& out) {
  RunState& s = *ex.state;
  // OutputItems of 0 or below is never reached: commas inside the window
  // then need no attention.
  const bool limitedWindow = s.OutputItems > 0;
  ByteClasses bc;
  InitByteClasses(bc, p, end, s.SkipItems > 0 || limitedWindow);
  while (p < end) {
    const char* q;
    switch (ex.mode) {
      case Mode::BetweenLines:
        if (*p == kEof) {
          ex.ended = true;
          return p;
        }
        if (TakeLines(ex, bc, p, out)) {
          if (ex.ended) return p;
          continue;
        }
        StartLine(ex);
        continue;

      case Mode::PassLine:
        q = Find<kClassLf | kClassEof>(bc, p);
        if (q == end) return end;
        EndLine(ex, out.sink);
        if (*q == kEof) {
          ex.ended = true;
          return q;
        }
        p = q + 1;
        continue;

      case Mode::SkipItems:
        q = Find<kClassLf | kClassEof | kClassComma>(bc, p);
        if (q == end) return end;
        if (*q == kComma) {
          if (--ex.commasLeft == 0) ex.mode = Mode::Window;
          p = q + 1;
          continue;
        }
        EndLine(ex, out.sink);
        if (*q == kEof) {
          ex.ended = true;
          return q;
        }
        p = q + 1;
        continue;

      case Mode::Window: {
        // Commas inside the window are copied with the bytes around them,
        // so a run only ends where a byte is dropped or the window ends.
        const char* run = p;
        for (;;) {
          q = limitedWindow ? Find<kClassLf | kClassCr | kClassEof | kClassComma>(bc, p)
                            : Find<kClassLf | kClassCr | kClassEof>(bc, p);
          if (q == end) {
            CopyRun(ex, run, end, out);
            return end;
          }
          p = q + 1;
          if (*q == kComma) {
            if (++ex.commasInWindow != s.OutputItems) continue;
            CopyRun(ex, run, q, out);  // the window ends before this comma
            ex.mode = Mode::PassLine;
            break;
          }
          if (*q == kCr) {
            if (p < end && *p == kLf && (ex.windowHasBytes || q != run)) {
              // A window that runs to a CR LF line end is written with the
              // very bytes it was read with.
              CopyRun(ex, run, p + 1, out);
              ++s.OutputCount;
              ex.mode = Mode::BetweenLines;
              p = p + 1;
              break;
            }
            CopyRun(ex, run, q, out);  // a CR never belongs to a line
            run = p;
            continue;
          }
          CopyRun(ex, run, q, out);
          EndLine(ex, out.sink);
          if (*q == kEof) {  // 0x1A ends the line and the input
            ex.ended = true;
            return q;
          }
          break;
        }
        continue;
      }
    }
  }
  return end;
}

}  // namespace

void BeginExtraction(Extractor& ex, RunState& state) {
  ex = Extractor{};
  ex.state = &state;
}

const char* ExtractBlock(Extractor& ex, const char* begin, const char* end, rt::ByteSink& out) {
  Output o{out, begin, end, nullptr, 0};
  return ExtractCore(ex, begin, end, o);
}

void FinishExtraction(Extractor& ex, rt::ByteSink& out) {
  if (ex.mode != Mode::BetweenLines) EndLine(ex, out);
}

void RunExtraction(rt::InputFile& input, rt::OutputFile& output, RunState& state) {
  Extractor ex;
  BeginExtraction(ex, state);
  while (!ex.ended && rt::FillInput(input)) {
    char* begin = input.buffer + input.pos;
    // Everything in front of the unread bytes, headroom included, has been
    // taken and is free.
    Output o{output.sink, begin, input.buffer + input.len, begin, input.headroom + input.pos};
    const char* stop = ExtractCore(ex, begin, input.buffer + input.len, o);
    input.pos += static_cast<std::size_t>(stop - begin);
  }
  FinishExtraction(ex, output.sink);
}

}  // namespace app
