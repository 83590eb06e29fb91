// Fuzz target: the command-line splitter (the console's one-text command
// line) and the argv path of the POSIX build, each against the model.
//
// Properties: the same arguments as the model; no argument is empty; none
// holds a double quote character; quoting every argument and joining them
// with blanks gives the same arguments back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/command_line_model.h"
#include "fuzz/fuzz_check.h"
#include "runtime/args.h"

namespace {

using fuzzcheck::Escaped;

// Known splits, checked once at start so that the model itself is held to
// the rules before it judges the product. Q is a double quote, _ a blank.
struct KnownSplit {
  const char* afterProgram;
  std::vector<std::string> args;
};

std::string Spelled(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) out += *p == 'Q' ? '"' : *p == '_' ? ' ' : *p;
  return out;
}

void CheckKnownSplits() {
  const KnownSplit kCases[] = {
      {"a_QQ_b", {"a", "b"}},
      {"QQ_QQ", {}},
      {"aQb_cQd", {"ab cd"}},
      {"Qa_b", {"a b"}},
      {"a\tb", {"a", "b"}},
      {"a_Q", {"a"}},
      {"x\\Qy_zQ", {"x\\y z"}},
      // The second byte of a double-byte character is no blank or quote.
      {"\x83\x20_\x95\"_b", {"\x83\x20", "\x95\"", "b"}},
      {"Q\x81Q_b", {"\x81\" b"}},
  };
  for (const KnownSplit& c : kCases) {
    std::string line = "Rowpluck " + Spelled(c.afterProgram);
    std::vector<std::string> want = c.args;
    want.insert(want.begin(), "Rowpluck");
    std::vector<std::string> fromModel = model::SplitCommandLine(line);
    FUZZ_CHECK(fromModel == want, "model, known split " + Escaped(line) + ": got " +
                                      Escaped(fromModel) + ", want " + Escaped(want));
    std::vector<std::string> fromProduct = rt::SplitCommandLine(line);
    FUZZ_CHECK(fromProduct == want, "product, known split " + Escaped(line) + ": got " +
                                        Escaped(fromProduct) + ", want " + Escaped(want));
  }
}

void CheckSplit(std::string_view line) {
  const std::vector<std::string> got = rt::SplitCommandLine(line);
  const std::vector<std::string> want = model::SplitCommandLine(line);
  FUZZ_CHECK(got == want, "SplitCommandLine(" + Escaped(line) + ") = " + Escaped(got) +
                              ", model " + Escaped(want));

  bool quotable = true;
  for (const std::string& a : got) {
    FUZZ_CHECK(!a.empty(), "empty argument from " + Escaped(line));
    FUZZ_CHECK(!model::HoldsQuoteCharacter(a),
               "argument " + Escaped(a) + " holds a quote, from " + Escaped(line));
    // A quote placed after a lone lead byte would be taken as its second
    // byte; such an argument cannot be written back between quotes.
    std::vector<std::string_view> chars = model::Cp932Characters(a);
    if (chars.back().size() == 1 && model::IsCp932Lead(chars.back()[0])) quotable = false;
  }
  if (!quotable || got.empty()) return;

  std::string rebuilt;
  for (const std::string& a : got) rebuilt += (rebuilt.empty() ? "\"" : " \"") + a + "\"";
  const std::vector<std::string> again = rt::SplitCommandLine(rebuilt);
  FUZZ_CHECK(again == got, "quoted again " + Escaped(rebuilt) + " gives " + Escaped(again) +
                               ", first split " + Escaped(got));
}

// The input cut at its zero bytes stands for argv after the program name.
void CheckArgv(std::string_view data) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (;;) {
    std::size_t zero = data.find('\0', start);
    pieces.emplace_back(data.substr(start, zero - start));
    if (zero == std::string_view::npos) break;
    start = zero + 1;
  }
  std::vector<const char*> argv = {"Rowpluck"};
  for (const std::string& p : pieces) argv.push_back(p.c_str());
  argv.push_back(nullptr);

  const std::vector<std::string> got =
      rt::ArgumentsFromArgv(static_cast<int>(argv.size() - 1), argv.data());
  const std::vector<std::string> want = model::ArgumentsFromSplit(pieces);
  FUZZ_CHECK(got == want, "ArgumentsFromArgv(" + Escaped(pieces) + ") = " + Escaped(got) +
                              ", model " + Escaped(want));
  for (const std::string& a : got) {
    FUZZ_CHECK(!a.empty(), "empty argument from argv " + Escaped(pieces));
    FUZZ_CHECK(a.find('"') == std::string::npos, "argument " + Escaped(a) + " holds a quote");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CheckKnownSplits();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckSplit(text);
  CheckArgv(text);
  return 0;
}
