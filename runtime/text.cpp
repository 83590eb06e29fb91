#include "runtime/text.h"

namespace rt {

bool IsTrailByteAt(std::string_view text, std::size_t pos) {
  if (pos == 0 || pos >= text.size()) return false;
  std::size_t run = 0;
  for (std::size_t i = pos; i > 0 && IsLeadByte(static_cast<unsigned char>(text[i - 1])); --i)
    ++run;
  return run % 2 == 1;
}

std::string IntToText(std::int64_t value) {
  char buf[24];
  char* end = buf + sizeof buf;
  char* p = end;
  // Work on the magnitude as unsigned so that the most negative value works.
  std::uint64_t mag = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                : static_cast<std::uint64_t>(value);
  do {
    *--p = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag != 0);
  if (value < 0) *--p = '-';
  return std::string(p, end);
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Full-width capitals of code page 932 and their small letters, by lead byte.
static bool LowerDoubleByte(unsigned char lead, unsigned char& trail) {
  if (lead == 0x82 && trail >= 0x60 && trail <= 0x79) {  // Ａ..Ｚ -> ａ..ｚ
    trail = static_cast<unsigned char>(trail + 0x21);
    return true;
  }
  if (lead == 0x83 && trail >= 0x9F && trail <= 0xB6) {  // Α..Ω -> α..ω
    trail = static_cast<unsigned char>(trail + 0x20);
    return true;
  }
  if (lead == 0x84 && trail >= 0x40 && trail <= 0x60) {  // А..Я -> а..я
    unsigned i = trail - 0x40u;  // the small letters skip 0x7F
    trail = static_cast<unsigned char>(i < 15 ? 0x70 + i : 0x80 + (i - 15));
    return true;
  }
  return false;
}

std::string LowerCp932(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b) && i + 1 < out.size()) {
      unsigned char trail = static_cast<unsigned char>(out[i + 1]);
      if (LowerDoubleByte(b, trail)) out[i + 1] = static_cast<char>(trail);
      ++i;  // the second byte is never a letter of its own
      continue;
    }
    if (b >= 'A' && b <= 'Z') out[i] = static_cast<char>(b - 'A' + 'a');
  }
  return out;
}

// The 0-based position of the last byte of `name` that is in `set` and is
// not the second byte of a double-byte character; npos when there is none.
static std::size_t LastSeparator(std::string_view name, std::string_view set) {
  for (std::size_t i = name.size(); i > 0; --i) {
    if (set.find(name[i - 1]) != std::string_view::npos && !IsTrailByteAt(name, i - 1))
      return i - 1;
  }
  return std::string_view::npos;
}

std::string_view FileNamePart(std::string_view name, bool slashSeparates) {
  std::size_t at = LastSeparator(name, slashSeparates ? "\\:/" : "\\:");
  return at == std::string_view::npos ? name : name.substr(at + 1);
}

std::string_view Extension(std::string_view name, bool slashSeparates) {
  std::size_t at = LastSeparator(name, slashSeparates ? ".\\:/" : ".\\:");
  if (at == std::string_view::npos || name[at] != '.') return {};
  return name.substr(at);
}

std::string ChangeExtension(std::string_view name, std::string_view ext,
                            bool slashSeparates) {
  std::size_t at = LastSeparator(name, slashSeparates ? ".\\:/" : ".\\:");
  std::string out(at != std::string_view::npos && name[at] == '.' ? name.substr(0, at) : name);
  out += ext;
  return out;
}

}  // namespace rt
