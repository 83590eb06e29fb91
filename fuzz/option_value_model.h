// A plain model of how an option's number is read: the text after the key
// is checked piece by piece (blanks, sign, prefix, digits) and the digits
// are then handed to the C library's strtoll/strtoull with 64-bit room, so
// range and wrap-around come from ordinary arithmetic, not from the
// product's digit loop. Free of product code so that a unit test can use it.
#ifndef ROWPLUCK_FUZZ_OPTION_VALUE_MODEL_H
#define ROWPLUCK_FUZZ_OPTION_VALUE_MODEL_H

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace model {

inline bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The number after the argument's first three bytes, or 0 when that text
// is not a valid decimal or hexadecimal 32-bit number.
inline std::int32_t OptionValue(std::string_view argument) {
  std::string text(argument.size() > 3 ? argument.substr(3) : std::string_view());

  // Leading blanks (0x20 only).
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;  // empty, or blanks alone
  text.erase(0, first);

  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    text.erase(0, 1);
  }

  bool hex = true;
  std::string digits;
  if (text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0) {
    digits = text.substr(2);
  } else if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
    digits = text.substr(1);
  } else {
    hex = false;
    digits = text;
  }
  if (digits.empty()) return 0;
  for (char c : digits)
    if (hex ? !IsHexDigit(c) : !IsDecimalDigit(c)) return 0;

  // Leading zeros never count; what is left must fit the form's width.
  std::size_t nonZero = digits.find_first_not_of('0');
  std::string significant = nonZero == std::string::npos ? "" : digits.substr(nonZero);
  if (significant.empty()) return 0;

  if (hex) {
    if (significant.size() > 8) return 0;
    std::uint64_t pattern = std::strtoull(significant.c_str(), nullptr, 16);
    if (negative) pattern = (std::uint64_t{1} << 32) - pattern;  // -x modulo 2^32
    pattern &= 0xFFFFFFFFu;
    // Two's complement: patterns from 0x80000000 up stand for negatives.
    std::int64_t value = static_cast<std::int64_t>(pattern);
    if (value >= 0x80000000LL) value -= 0x100000000LL;
    return static_cast<std::int32_t>(value);
  }

  if (significant.size() > 10) return 0;  // more than any 32-bit number has
  std::int64_t value = std::strtoll(significant.c_str(), nullptr, 10);
  if (negative) value = -value;
  if (value < -2147483648LL || value > 2147483647LL) return 0;
  return static_cast<std::int32_t>(value);
}

// Upper-cases a to z byte by byte, as the option keys are compared.
inline std::string UpperKey(std::string_view key) {
  std::string out(key);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

// Which setting an argument sets: 0 none, 1 /SL, 2 /SI, 3 /OL, 4 /OI.
inline int OptionKeyIndex(std::string_view argument) {
  if (argument.size() < 3) return 0;
  const std::string key = UpperKey(argument.substr(0, 3));
  const char* const kKeys[] = {"/SL", "/SI", "/OL", "/OI"};
  for (int i = 0; i < 4; ++i)
    if (key == kKeys[i]) return i + 1;
  return 0;
}

}  // namespace model

#endif  // ROWPLUCK_FUZZ_OPTION_VALUE_MODEL_H
