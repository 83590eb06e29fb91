// A plain model of how a command line is cut into arguments, written to be
// read rather than to be fast: the text is first cut into characters, then
// the characters into arguments. Used by the fuzz target to check
// rt::SplitCommandLine and rt::ArgumentsFromArgv; free of product code so
// that a unit test can use it too.
#ifndef ROWPLUCK_FUZZ_COMMAND_LINE_MODEL_H
#define ROWPLUCK_FUZZ_COMMAND_LINE_MODEL_H

#include <string>
#include <string_view>
#include <vector>

namespace model {

// Lead bytes of code page 932: 0x81 to 0x9F and 0xE0 to 0xFC.
inline bool IsCp932Lead(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The text as characters: a lead byte and the byte after it are one
// character; a lead byte that is the last byte stands alone.
inline std::vector<std::string_view> Cp932Characters(std::string_view text) {
  std::vector<std::string_view> chars;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t len = (IsCp932Lead(text[i]) && i + 1 < text.size()) ? 2 : 1;
    chars.push_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

// Whether the text holds a double quote character (a 0x22 byte that is not
// the second byte of a double-byte character).
inline bool HoldsQuoteCharacter(std::string_view text) {
  for (std::string_view c : Cp932Characters(text))
    if (c == "\"") return true;
  return false;
}

// The whole command line, program name first, as arguments.
inline std::vector<std::string> SplitCommandLine(std::string_view text) {
  // The command line is a zero-terminated text: nothing after a 0x00 exists.
  std::size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);

  const std::vector<std::string_view> chars = Cp932Characters(text);
  auto isQuote = [&](std::size_t k) { return k < chars.size() && chars[k] == "\""; };
  auto isGap = [&](std::size_t k) {
    return chars[k].size() == 1 && static_cast<unsigned char>(chars[k][0]) <= 0x20;
  };

  std::vector<std::string> args;
  std::size_t k = 0;
  for (;;) {
    // Before an argument: gap characters and pairs of adjacent quotes.
    while (k < chars.size() && (isGap(k) || (isQuote(k) && isQuote(k + 1))))
      k += isGap(k) ? 1 : 2;
    if (k == chars.size()) return args;

    std::string arg;
    bool quoted = false;
    for (; k < chars.size(); ++k) {
      if (isQuote(k)) {
        quoted = !quoted;  // quotes open and close sections; never kept
        continue;
      }
      if (!quoted && isGap(k)) break;
      arg += chars[k];
    }
    if (arg.empty()) return args;  // a lone quote at the end of the text
    args.push_back(arg);
  }
}

// Arguments handed over already split (argv without the program name):
// quotes removed byte by byte, empty arguments dropped.
inline std::vector<std::string> ArgumentsFromSplit(const std::vector<std::string>& argv) {
  std::vector<std::string> args;
  for (const std::string& a : argv) {
    std::string kept;
    for (char c : a)
      if (c != '"') kept += c;
    if (!kept.empty()) args.push_back(kept);
  }
  return args;
}

}  // namespace model

#endif  // ROWPLUCK_FUZZ_COMMAND_LINE_MODEL_H
