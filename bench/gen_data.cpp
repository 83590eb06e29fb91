// Writes the benchmark's input files, the same bytes on every run.
//
//   gen_data csv  FILE BYTES        lines of 10 comma-separated items, CR LF ends
//   gen_data line FILE BYTES        the same kind of items, one line, no line end
//   gen_data mix  FILE BYTES SEED   awkward input for identity checks
//
// Items mix ASCII (numbers, codes, words) with double-byte Shift-JIS text
// (kanji, hiragana, katakana), about 60 bytes a line. FILE gets exactly
// BYTES bytes. On success the number of LF bytes written goes to stdout.
//
// "mix" strings together, at random, pieces that the line rules treat
// differently: CR LF and bare LF line ends, empty lines, CRs inside lines
// and at their start, leading and doubled commas, double-byte text, runs
// of ordinary bytes from one byte to hundreds of KiB (so that lines cross
// read blocks) and, now and then, a 0x1A.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// splitmix64: small, fast and the same everywhere.
struct Random {
  std::uint64_t state = 0x526f77706c75636bULL;
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // A number in [lo, hi].
  unsigned Between(unsigned lo, unsigned hi) {
    return lo + static_cast<unsigned>(Next() % (hi - lo + 1));
  }
};

// Double-byte characters as (lead, trail) pairs. Trail bytes of Shift-JIS
// run from 0x40 to 0xFC without 0x7F; none of them is a comma, CR, LF or
// 0x1A.
struct Kana {
  std::vector<std::uint16_t> kanji, hiragana, katakana;
  Kana() {
    for (unsigned lead = 0x89; lead <= 0x97; ++lead)  // first-level kanji, full rows
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
        if (trail != 0x7F) kanji.push_back(static_cast<std::uint16_t>(lead << 8 | trail));
    for (unsigned trail = 0x9F; trail <= 0xF1; ++trail)
      hiragana.push_back(static_cast<std::uint16_t>(0x8200 | trail));
    for (unsigned trail = 0x40; trail <= 0x96; ++trail)
      if (trail != 0x7F) katakana.push_back(static_cast<std::uint16_t>(0x8300 | trail));
  }
};

class Writer {
 public:
  explicit Writer(std::FILE* f) : file_(f) { buf_.reserve(kChunk + 1024); }
  void Byte(char c) { buf_.push_back(c); }
  void Bytes(const char* p, std::size_t n) { buf_.append(p, n); }
  void Double(std::uint16_t c) {
    buf_.push_back(static_cast<char>(c >> 8));
    buf_.push_back(static_cast<char>(c & 0xFF));
  }
  std::size_t Pending() const { return buf_.size(); }
  void Cut(std::size_t n) { buf_.resize(n); }
  void Drain(bool all) {
    if (!all && buf_.size() < kChunk) return;
    if (!buf_.empty() && std::fwrite(buf_.data(), 1, buf_.size(), file_) != buf_.size()) {
      std::perror("gen_data: write");
      std::exit(1);
    }
    buf_.clear();
  }

 private:
  static constexpr std::size_t kChunk = 4 << 20;
  std::FILE* file_;
  std::string buf_;
};

void Digits(Writer& w, Random& r, unsigned lo, unsigned hi) {
  unsigned n = r.Between(lo, hi);
  w.Byte(static_cast<char>('1' + r.Between(0, 8)));
  for (unsigned i = 1; i < n; ++i) w.Byte(static_cast<char>('0' + r.Between(0, 9)));
}

void Letters(Writer& w, Random& r, unsigned lo, unsigned hi, char first) {
  unsigned n = r.Between(lo, hi);
  for (unsigned i = 0; i < n; ++i) w.Byte(static_cast<char>(first + r.Between(0, 25)));
}

void Chars(Writer& w, Random& r, const std::vector<std::uint16_t>& set, unsigned lo, unsigned hi) {
  unsigned n = r.Between(lo, hi);
  for (unsigned i = 0; i < n; ++i) w.Double(set[r.Next() % set.size()]);
}

// One record of 10 items without its line end: about 58 bytes, so that
// a line with its CR LF is about 60.
void Record(Writer& w, Random& r, const Kana& k) {
  Digits(w, r, 7, 7);  // customer number
  w.Byte(',');
  Chars(w, r, k.kanji, 2, 5);  // family name
  w.Byte(',');
  Chars(w, r, k.katakana, 2, 5);  // reading
  w.Byte(',');
  Letters(w, r, 1, 2, 'A');  // code
  Digits(w, r, 2, 3);
  w.Byte(',');
  Digits(w, r, 1, 6);  // amount
  w.Byte(',');
  if (r.Between(0, 9) != 0) Chars(w, r, k.hiragana, 1, 4);  // remark, sometimes empty
  w.Byte(',');
  Letters(w, r, 2, 8, 'a');  // tag
  w.Byte(',');
  Digits(w, r, 1, 3);  // count
  w.Byte(',');
  Chars(w, r, k.kanji, 1, 4);  // place
  w.Byte(',');
  Letters(w, r, 1, 1, 'A');  // mixed ASCII and kanji
  Chars(w, r, k.kanji, 1, 2);
}

// One random piece of awkward input. A clean mix is mostly CR LF lines of
// items, so that long stretches are copied unchanged between the oddities.
void MixPiece(Writer& w, Random& r, const Kana& k, bool clean) {
  if (clean && r.Between(0, 99) != 0) {
    switch (r.Between(0, 9)) {
      case 0: w.Bytes("\r\n", 2); break;
      case 1: case 2: w.Byte(','); break;
      case 3: Chars(w, r, k.kanji, 1, 3); break;
      default: Letters(w, r, 1, 8, 'a'); break;
    }
    return;
  }
  switch (r.Between(0, 19)) {
    case 0: case 1: case 2: w.Bytes("\r\n", 2); break;
    case 3: w.Byte('\n'); break;
    case 4: w.Byte('\r'); break;
    case 5: case 6: case 7: w.Byte(','); break;
    case 8: Chars(w, r, k.kanji, 1, 3); break;
    case 9: w.Bytes("\r\n\r\n", 4); break;
    case 10: w.Bytes("\n,", 2); break;
    case 11:
      if (r.Between(0, 99) == 0) w.Byte(0x1A);
      break;
    case 12: {  // a long run, now and then one that crosses read blocks
      unsigned n = r.Between(0, 7) == 0 ? r.Between(1, 600000) : r.Between(1, 3000);
      for (unsigned i = 0; i < n; ++i) w.Byte(static_cast<char>('a' + i % 26));
      break;
    }
    case 13: w.Bytes("\r\r\n", 3); break;
    default: Letters(w, r, 1, 12, 'a'); break;
  }
}

// ASCII digits and commas, exactly n bytes, to bring the file to its size.
void Filler(Writer& w, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) w.Byte(i % 8 == 7 ? ',' : static_cast<char>('0' + i % 8));
}

}  // namespace

int main(int argc, char** argv) {
  const bool mix = argc == 5 && std::strcmp(argv[1], "mix") == 0;
  if (!mix && (argc != 4 || (std::strcmp(argv[1], "csv") != 0 && std::strcmp(argv[1], "line") != 0))) {
    std::fprintf(stderr, "usage: gen_data csv|line FILE BYTES | gen_data mix FILE BYTES SEED\n");
    return 2;
  }
  const bool lines = std::strcmp(argv[1], "csv") == 0;
  const std::uint64_t total = std::strtoull(argv[3], nullptr, 10);
  if (total < 16 && !mix) {
    std::fprintf(stderr, "gen_data: BYTES must be at least 16\n");
    return 2;
  }
  std::FILE* f = std::fopen(argv[2], "wb");
  if (f == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  Random r;
  Kana k;
  Writer w(f);
  if (mix) {  // held whole in memory: mixed inputs are a few MiB at most
    const std::uint64_t seed = std::strtoull(argv[4], nullptr, 10);
    r.state ^= seed * 0x2545F4914F6CDD1DULL;
    while (w.Pending() < total) MixPiece(w, r, k, seed % 3 == 0);
    w.Cut(static_cast<std::size_t>(total));
    w.Drain(true);
    if (std::fclose(f) != 0) {
      std::perror(argv[2]);
      return 1;
    }
    return 0;
  }
  std::uint64_t written = 0;
  std::uint64_t lineFeeds = 0;
  // A record is at most about 90 bytes; stop while two short filler
  // records still fit.
  constexpr std::uint64_t kTail = 512;
  while (total - written - w.Pending() > kTail) {
    Record(w, r, k);
    if (lines) {
      w.Bytes("\r\n", 2);
      ++lineFeeds;
    } else {
      w.Byte(',');
    }
    if (w.Pending() >= (4u << 20)) {
      written += w.Pending();
      w.Drain(true);
    }
  }
  std::uint64_t rest = total - written - w.Pending();
  if (lines) {
    // Two filler records with their line ends fill the rest.
    std::size_t first = static_cast<std::size_t>(rest / 2);
    std::size_t second = static_cast<std::size_t>(rest - first);
    Filler(w, first - 2);
    w.Bytes("\r\n", 2);
    Filler(w, second - 2);
    w.Bytes("\r\n", 2);
    lineFeeds += 2;
  } else {
    Filler(w, static_cast<std::size_t>(rest));
  }
  w.Drain(true);
  if (std::fclose(f) != 0) {
    std::perror(argv[2]);
    return 1;
  }
  std::printf("%llu\n", static_cast<unsigned long long>(lineFeeds));
  return 0;
}
