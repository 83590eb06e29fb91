// A plain model of the Shift-JIS file-name rules and the locale-aware
// lower-casing: the name is stepped through from its first byte, character
// by character, as a reader of the text would, instead of looking back from
// a byte as the product does. Free of product code so that a unit test can
// use it too.
#ifndef ROWPLUCK_FUZZ_FILE_NAME_MODEL_H
#define ROWPLUCK_FUZZ_FILE_NAME_MODEL_H

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/command_line_model.h"

namespace model {

// For every byte of the text, whether it is the second byte of a
// double-byte character, found by stepping from the start.
inline std::vector<bool> SecondBytes(std::string_view text) {
  std::vector<bool> second(text.size(), false);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsCp932Lead(text[i]) && i + 1 < text.size()) second[++i] = true;
  }
  return second;
}

// The position of the last single-byte character of `name` that is in
// `set`; npos when there is none.
inline std::size_t LastSeparatorOf(std::string_view name, std::string_view set) {
  const std::vector<bool> second = SecondBytes(name);
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (!second[i] && set.find(name[i]) != std::string_view::npos) found = i;
  return found;
}

inline std::string DirectorySeparators(bool slashSeparates) {
  return slashSeparates ? "\\:/" : "\\:";
}

// Everything after the last directory or drive separator.
inline std::string FileNamePart(std::string_view name, bool slashSeparates) {
  std::size_t at = LastSeparatorOf(name, DirectorySeparators(slashSeparates));
  return std::string(at == std::string_view::npos ? name : name.substr(at + 1));
}

// Everything up to and including the last directory or drive separator.
inline std::string DirectoryPart(std::string_view name, bool slashSeparates) {
  std::size_t at = LastSeparatorOf(name, DirectorySeparators(slashSeparates));
  return std::string(at == std::string_view::npos ? std::string_view() : name.substr(0, at + 1));
}

// The extension: from the last dot of the file-name part to the end.
inline std::string Extension(std::string_view name, bool slashSeparates) {
  std::string part = FileNamePart(name, slashSeparates);
  std::size_t dot = LastSeparatorOf(part, ".");
  // The part starts at a character boundary of the name, so stepping
  // through the part alone finds the same characters.
  return dot == std::string::npos ? std::string() : part.substr(dot);
}

inline std::string ChangeExtension(std::string_view name, std::string_view ext,
                                   bool slashSeparates) {
  std::string old = Extension(name, slashSeparates);
  std::string out(name.substr(0, name.size() - old.size()));
  return out + std::string(ext);
}

inline std::string AddOrChangeExt(std::string_view name, std::string_view ext,
                                  bool slashSeparates) {
  if (Extension(name, slashSeparates) == ext) return std::string(name) + std::string(ext);
  return ChangeExtension(name, ext, slashSeparates);
}

// Small letters of the full-width capitals of code page 932, as pairs of
// (lead << 8 | second) codes: Latin A to Z, Greek Alpha to Omega, Cyrillic
// A to Ya. The Cyrillic small letters leave out the code 0x847F.
inline const std::map<std::uint16_t, std::uint16_t>& DoubleByteSmallLetters() {
  static const std::map<std::uint16_t, std::uint16_t> table = [] {
    std::map<std::uint16_t, std::uint16_t> t;
    for (int i = 0; i < 26; ++i) t[static_cast<std::uint16_t>(0x8260 + i)] = static_cast<std::uint16_t>(0x8281 + i);
    for (int i = 0; i < 24; ++i) t[static_cast<std::uint16_t>(0x839F + i)] = static_cast<std::uint16_t>(0x83BF + i);
    std::uint16_t small = 0x8470;
    for (int i = 0; i < 33; ++i) {
      if (small == 0x847F) ++small;
      t[static_cast<std::uint16_t>(0x8440 + i)] = small++;
    }
    return t;
  }();
  return table;
}

inline std::string LowerCp932(std::string_view text) {
  std::string out;
  for (std::string_view c : Cp932Characters(text)) {
    if (c.size() == 2) {
      std::uint16_t code = static_cast<std::uint16_t>(static_cast<unsigned char>(c[0]) << 8 |
                                                      static_cast<unsigned char>(c[1]));
      auto it = DoubleByteSmallLetters().find(code);
      if (it != DoubleByteSmallLetters().end()) code = it->second;
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else if (c[0] >= 'A' && c[0] <= 'Z') {
      out += static_cast<char>(c[0] + ('a' - 'A'));
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace model

#endif  // ROWPLUCK_FUZZ_FILE_NAME_MODEL_H
