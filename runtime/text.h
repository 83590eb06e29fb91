// Shift-JIS (code page 932) text primitives: byte strings, with lengths and
// positions in bytes. Only the file-name rules and the locale-aware
// lower-casing look at double-byte characters.
#ifndef ROWPLUCK_RUNTIME_TEXT_H
#define ROWPLUCK_RUNTIME_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

// Lead bytes of code page 932: 0x81 to 0x9F and 0xE0 to 0xFC.
inline bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Whether the byte at 0-based `pos` is the second byte of a double-byte
// character: the run of lead bytes directly before it has odd length.
bool IsTrailByteAt(std::string_view text, std::size_t pos);

// Decimal digits, "-" before a negative number, no padding or separators.
std::string IntToText(std::int64_t value);

// a to z become A to Z; every other byte stays, double-byte ones included.
std::string UpperAscii(std::string_view text);

// Lower-casing by the rules of code page 932: A to Z, and the full-width
// Latin, Greek and Cyrillic capitals; the byte length never changes.
std::string LowerCp932(std::string_view text);

// File-name rules. `slashSeparates` adds '/' to the separators '\' and ':'.
std::string_view FileNamePart(std::string_view name, bool slashSeparates);
std::string_view Extension(std::string_view name, bool slashSeparates);
std::string ChangeExtension(std::string_view name, std::string_view ext,
                            bool slashSeparates);

}  // namespace rt

#endif  // ROWPLUCK_RUNTIME_TEXT_H
