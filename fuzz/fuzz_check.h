// Shared helpers of the fuzz targets: a difference between the product and
// its model is printed as escaped bytes and turned into a crash, which
// libFuzzer records together with the input that caused it.
#ifndef ROWPLUCK_FUZZ_FUZZ_CHECK_H
#define ROWPLUCK_FUZZ_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzcheck {

// Bytes as a C-like literal: printable ASCII as it is, everything else
// (Shift-JIS bytes, CR, LF, 0x1A, 0x00) as \xNN, so a mismatch reads at a glance.
inline std::string Escaped(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char b : bytes) {
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      out.push_back(static_cast<char>(b));
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  out += "\"";
  return out;
}

inline std::string Escaped(const std::vector<std::string>& list) {
  std::string out = "{";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i) out += ", ";
    out += Escaped(list[i]);
  }
  out += "}";
  return out;
}

[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "\n==== model difference ====\n%s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzzcheck

// The message is built only when the check fails: the targets run millions
// of inputs, and most checks sit in their inner loops.
#define FUZZ_CHECK(condition, message)                   \
  do {                                                   \
    if (!(condition)) ::fuzzcheck::Fail(message);        \
  } while (0)

#endif  // ROWPLUCK_FUZZ_FUZZ_CHECK_H
