#include "runtime/args.h"

#include "platform/os.h"
#include "runtime/text.h"

namespace rt {
namespace {

std::vector<std::string> gArgs;  // gArgs[0] is the executable path

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(line[k]); };
  for (;;) {
    // Between arguments: control bytes, blanks and pairs of quotes.
    for (;;) {
      if (i < n && byte(i) >= 0x01 && byte(i) <= 0x20) {
        ++i;
      } else if (i + 1 < n && line[i] == '"' && line[i + 1] == '"') {
        i += 2;
      } else {
        break;
      }
    }
    if (i >= n || line[i] == '\0') break;
    std::string arg;
    bool quoted = false;
    while (i < n && line[i] != '\0') {
      unsigned char b = byte(i);
      if (!quoted && b <= 0x20) break;
      if (b == '"') {
        quoted = !quoted;
        ++i;
        continue;
      }
      // A double-byte character travels whole: its second byte is never a
      // blank or a quote of its own.
      std::size_t len = (IsLeadByte(b) && i + 1 < n && line[i + 1] != '\0') ? 2 : 1;
      arg.append(line.substr(i, len));
      i += len;
    }
    if (arg.empty()) break;  // only a lone quote at the end comes out empty
    out.push_back(std::move(arg));
  }
  return out;
}

std::vector<std::string> ArgumentsFromArgv(int argc, const char* const* argv) {
  std::vector<std::string> out;
  for (int k = 1; k < argc; ++k) {
    std::string arg;
    for (const char* p = argv[k]; *p; ++p)
      if (*p != '"') arg.push_back(*p);
    if (!arg.empty()) out.push_back(std::move(arg));
  }
  return out;
}

void InitArguments(int argc, const char* const* argv) {
  gArgs.clear();
  gArgs.push_back(os::ExecutablePath());
  std::string line;
  std::vector<std::string> rest;
  if (os::CommandLineText(&line)) {
    rest = SplitCommandLine(line);
    if (!rest.empty()) rest.erase(rest.begin());  // the program as invoked
  } else {
    rest = ArgumentsFromArgv(argc, argv);
  }
  for (auto& a : rest) gArgs.push_back(std::move(a));
}

int ArgCount() { return gArgs.empty() ? 0 : static_cast<int>(gArgs.size()) - 1; }

const std::string& Arg(int index) {
  static const std::string kEmpty;
  if (index < 0 || static_cast<std::size_t>(index) >= gArgs.size()) return kEmpty;
  return gArgs[static_cast<std::size_t>(index)];
}

}  // namespace rt
