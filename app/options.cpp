#include "app/options.h"

#include "runtime/args.h"
#include "runtime/text.h"

namespace app {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` as hexadecimal: leading zeros, then at most eight digits,
// a 32-bit two's-complement pattern. False when not valid.
bool ReadHex(std::string_view digits, std::uint32_t* pattern) {
  if (digits.empty()) return false;
  std::uint32_t value = 0;
  int significant = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0) return false;
    if (significant == 0 && d == 0) continue;
    if (++significant > 8) return false;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  *pattern = value;
  return true;
}

// Reads `digits` as a decimal magnitude with the sign applied; false when
// not valid or outside the 32-bit range.
bool ReadDecimal(std::string_view digits, bool negative, std::int32_t* out) {
  if (digits.empty()) return false;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  *out = static_cast<std::int32_t>(negative ? -value : value);
  return true;
}

}  // namespace

std::int32_t OptionValue(std::string_view argument) {
  std::string_view text = argument.size() > 3 ? argument.substr(3) : std::string_view();
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::size_t prefix = 0;
  if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") {
    prefix = 2;
  } else if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    prefix = 1;
  }
  if (prefix > 0) {
    std::uint32_t pattern = 0;
    if (!ReadHex(text.substr(prefix), &pattern)) return 0;
    if (negative) pattern = 0u - pattern;  // negation modulo 2^32
    return static_cast<std::int32_t>(pattern);
  }
  std::int32_t value = 0;
  if (!ReadDecimal(text, negative, &value)) return 0;
  return value;
}

void ReadOptionText(std::string_view argument, RunState& state) {
  if (argument.size() < 3) return;
  std::string key = rt::UpperAscii(argument.substr(0, 3));
  std::int32_t* setting = nullptr;
  if (key == "/SL") {
    setting = &state.SkipLines;
  } else if (key == "/SI") {
    setting = &state.SkipItems;
  } else if (key == "/OL") {
    setting = &state.OutputLines;
  } else if (key == "/OI") {
    setting = &state.OutputItems;
  } else {
    return;
  }
  *setting = OptionValue(argument);
}

void ReadOption(int index, RunState& state) { ReadOptionText(rt::Arg(index), state); }

}  // namespace app
