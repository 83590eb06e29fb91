// End-to-end cases: the built binary in a fresh folder; stdout, stderr,
// exit code and every file afterwards compared as exact bytes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "app/messages.h"
#include "app/run_state.h"
#include "app/summary.h"
#include "conkit/banner.h"
#include "conkit/messages.h"
#include "runtime/failure.h"
#include "runtime/messages.h"
#include "tests/e2e/expected.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Files;
namespace am = app::msg;
namespace cm = conkit::msg;

using e2e::IoError;
using e2e::Line;
using e2e::Question;
using e2e::Report;
using e2e::Summary;

const std::string kCannotOverwrite = Line(am::kCannotOverwriteOutput);
const std::string kGiveParamsAgain = Line(cm::kGiveParamsAgain);

std::string UsageScreen(const std::string& mismatchNotice) {
  std::string s = Line("") + Line(am::kUsagePurpose) + Line("") + Line(am::kUsageCall) + Line("") +
                  Line(am::kUsageSkipLines) + Line(am::kUsageSkipItems) +
                  Line(am::kUsageOutputLines) + Line(am::kUsageOutputItems) + Line("") +
                  Line(am::kUsageDefaultOutput) + Line(am::kUsageCsvInput) + Line("") +
                  Line("\"Rowpluck.exe\" for command-prompt of WindowsXP  version 1.0");
  if (!mismatchNotice.empty()) s += Line(mismatchNotice);
  return s + Line(" Copyright (C) 2006 Rowpluck Developers. All rights reserved.");
}

const std::string kNineLines = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n";

struct Case {
  std::string name;
  Files before;
  e2e::Run run;
  std::string out;
  std::string err;
  int exitCode;
  Files after;  // every file in the folder afterwards
  bool posixOnly = false;
  bool windowsOnly = false;
};

// Stands in an argument or in the expected output for the case's folder,
// spelled as the program sees it (Z:\tmp\... for the Windows build).
const std::string kWorkdir = "<workdir>";

Files With(Files files, const std::string& name, const std::string& bytes) {
  files[name] = bytes;
  return files;
}

std::vector<Case> Cases() {
  const Files in = {{"in.txt", "a,b,c\r\nd,e\nf"}};
  const Files data = {{"data.txt", "h1,h2,h3\r\nx,y,z\r\n,only\r\n1,2,3\r\n"}};
  const Files nine = {{"n.txt", kNineLines}};
  std::string twelve;
  for (int i = 1; i <= 12; ++i) twelve += std::to_string(i) + "\n";
  e2e::Run yes;
  yes.stdinMode = e2e::Stdin::Bytes;
  yes.stdinBytes = "y\r\n";

  std::vector<Case> cases = {
      // The main path: every non-empty line copied with CR LF line ends.
      {"copy", in, {{"in.txt"}}, Summary("in.txt", "in.csv", 3, 0, 0, 0, 3), "", 0,
       With(in, "in.csv", "a,b,c\r\nd,e\r\nf\r\n")},
      {"road of one run", data, {{"data.txt", "/SL1", "/OI2"}},
       Summary("data.txt", "data.csv", 4, 1, 0, 0, 3), "", 0,
       With(data, "data.csv", "x,y\r\n,only\r\n1,2\r\n")},
      {"window with empty item", data, {{"data.txt", "/SL1", "/OI1"}},
       Summary("data.txt", "data.csv", 4, 1, 1, 0, 2), "", 0,
       With(data, "data.csv", "x\r\n1\r\n")},
      {"nine lines skip three", nine, {{"n.txt", "/SL3"}},
       Summary("n.txt", "n.csv", 9, 3, 0, 0, 6), "", 0,
       With(nine, "n.csv", "4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n")},
      {"width two", {{"t.txt", twelve}}, {{"t.txt", "/sl2"}},
       Summary("t.txt", "t.csv", 12, 2, 0, 0, 10), "", 0,
       {{"t.txt", twelve}, {"t.csv", "3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n"}}},
      {"line limit", nine, {{"n.txt", "/OL2", "out.txt"}},
       Summary("n.txt", "out.txt", 9, 0, 0, 7, 2), "", 0, With(nine, "out.txt", "1\r\n2\r\n")},
      {"skip everything", nine, {{"n.txt", "/SL$FF"}},
       Summary("n.txt", "n.csv", 9, 9, 0, 0, 0), "", 0, With(nine, "n.csv", "")},

      // Which argument names the output.
      {"option then output", nine, {{"n.txt", "/SL8", "out.txt"}},
       Summary("n.txt", "out.txt", 9, 8, 0, 0, 1), "", 0, With(nine, "out.txt", "9\r\n")},
      {"name in option position ignored", nine, {{"n.txt", "out.txt", "/OL1"}},
       Summary("n.txt", "n.csv", 9, 0, 0, 8, 1), "", 0, With(nine, "n.csv", "1\r\n")},
      {"csv input gets csv appended", {{"d.csv", "x\n"}}, {{"d.csv"}},
       Summary("d.csv", "d.csv.csv", 1, 0, 0, 0, 1), "", 0,
       {{"d.csv", "x\n"}, {"d.csv.csv", "x\r\n"}}},
      // Guards.
      {"too many parameters", nine, {{"n.txt", "a", "b", "c", "d", "e", "f"}},
       Line(cm::kTooManyParams), "", 99, nine},
      {"input missing", {}, {{"none.txt"}},
       Line(std::string(am::kInputLabel) + std::string(cm::kFileMissing)), "", 99, {}},
      {"input is a directory", {{"d/x", "1"}}, {{"d"}},
       Line(std::string(am::kInputLabel) + std::string(cm::kFileMissing)), "", 99, {{"d/x", "1"}}},
      // A name holding a wildcard is no pattern: nothing is found by it.
      {"name with a star is missing", in, {{"i*.txt"}},
       Line(std::string(am::kInputLabel) + std::string(cm::kFileMissing)), "", 99, in},
      {"name with a question mark is missing", in, {{"in.tx?"}},
       Line(std::string(am::kInputLabel) + std::string(cm::kFileMissing)), "", 99, in},
      {"input empty", {{"e.txt", ""}}, {{"e.txt"}},
       Line(std::string(am::kInputLabel) + std::string(cm::kFileEmpty)), "", 99, {{"e.txt", ""}}},
      {"one byte 0x1a passes the guard", {{"z.txt", "\x1A"}}, {{"z.txt"}},
       Summary("z.txt", "z.csv", 0, 0, 0, 0, 0), "", 0, {{"z.txt", "\x1A"}, {"z.csv", ""}}},

      // Output creation refused: message, exit 99, no report.
      {"output directory missing", in, {{"in.txt", "out/missing/x.csv"}}, kCannotOverwrite, "",
       99, in},
      {"output is a directory", With(in, "o/keep", "k"), {{"in.txt", "o"}}, kCannotOverwrite, "",
       99, With(in, "o/keep", "k")},

      // Double-byte names whose second byte is 0x5C, the Windows path
      // separator: 表.txt, data.ソ, ソフト.表示. (The POSIX suite has them
      // among its literal names.)
      {"double-byte name", {{"\x95\x5C.txt", "a,b\n"}}, {{"\x95\x5C.txt"}},
       Summary("\x95\x5C.txt", "\x95\x5C.csv", 1, 0, 0, 0, 1), "", 0,
       {{"\x95\x5C.txt", "a,b\n"}, {"\x95\x5C.csv", "a,b\r\n"}}, false, true},
      {"double-byte extension", {{"data.\x83\x5C", "a\n"}}, {{"data.\x83\x5C"}},
       Summary("data.\x83\x5C", "data.csv", 1, 0, 0, 0, 1), "", 0,
       {{"data.\x83\x5C", "a\n"}, {"data.csv", "a\r\n"}}, false, true},
      {"double-byte name and extension",
       {{"\x83\x5C\x83\x74\x83\x67.\x95\x5C\x8E\xA6", "a\n"}},
       {{"\x83\x5C\x83\x74\x83\x67.\x95\x5C\x8E\xA6"}},
       Summary("\x83\x5C\x83\x74\x83\x67.\x95\x5C\x8E\xA6", "\x83\x5C\x83\x74\x83\x67.csv", 1, 0, 0,
               0, 1),
       "", 0,
       {{"\x83\x5C\x83\x74\x83\x67.\x95\x5C\x8E\xA6", "a\n"},
        {"\x83\x5C\x83\x74\x83\x67.csv", "a\r\n"}},
       false, true},

      // "/" separates folders only where the platform says so.
      {"slash joins the name part", {{"sub.dir/data", "x\n"}}, {{"sub.dir/data"}},
       Summary("sub.dir/data", "sub.dir/data.csv", 1, 0, 0, 0, 1), "", 0,
       {{"sub.dir/data", "x\n"}, {"sub.dir/data.csv", "x\r\n"}}, true},
      {"slash is no separator", {{"sub.dir/data", "x\n"}}, {{"sub.dir/data"}},
       Summary("sub.dir/data", "sub.csv", 1, 0, 0, 0, 1), "", 0,
       {{"sub.dir/data", "x\n"}, {"sub.csv", "x\r\n"}}, false, true},
  };

  // Standard output that takes no text: the usage screen's first full
  // block fails, and the report names the cause. Under Wine a descriptor
  // closed at start becomes the current folder, opened for reading: a
  // handle that takes no writes. (The POSIX suite has its own cases.)
  {
    e2e::Run full{{}};
    full.stdoutMode = e2e::Stdout::DevFull;
    cases.push_back(
        {"stdout on a full disk", nine, full, "", Report(IoError(112)), 1, nine, false, true});
    e2e::Run closed{{}};
    closed.stdoutMode = e2e::Stdout::Closed;
    cases.push_back({"stdout closed", nine, closed, "", Report(IoError(105)), 1, nine, false, true});
  }

  // The overwrite question.
  const Files existing = With(in, "in.csv", "old");
  const struct {
    const char* answer;
    bool confirms;
  } answers[] = {{"y\r\n", true},  {"Y", true},     {"yes\r\n", false}, {" y\n", false},
                 {"y \n", false},  {"\r\n", false}, {"", false},        {"Yes", false},
                 {"y\x1A" "junk", true}, {"\x82\x78\r\n", false}};
  for (const auto& a : answers) {
    e2e::Run run{{"in.txt"}, e2e::Stdin::Bytes, a.answer};
    Case c{"answer " + e2e::Escape(a.answer), existing, run, Question("in.csv"), "", 0, {}};
    if (a.confirms) {
      c.out += Summary("in.txt", "in.csv", 3, 0, 0, 0, 3);
      c.after = With(in, "in.csv", "a,b,c\r\nd,e\r\nf\r\n");
    } else {
      c.out += kGiveParamsAgain;
      c.exitCode = 99;
      c.after = existing;
    }
    cases.push_back(c);
  }
  cases.push_back({"no answer on empty stdin", existing, {{"in.txt"}}, Question("in.csv") + kGiveParamsAgain,
                   "", 99, existing});
  // Wine gives a descriptor closed at start to the first file it opens
  // itself (the current folder), so a Windows process under Wine never
  // starts without a standard input.
  cases.push_back({"closed stdin refuses", existing, {{"in.txt"}, e2e::Stdin::Closed},
                   Question("in.csv") + kGiveParamsAgain, "", 99, existing, true});
  {
    e2e::Run run = yes;
    run.args = {"in.txt", "in.txt"};
    cases.push_back({"output is the input", in, run, Question("in.txt") + kCannotOverwrite, "", 99, in});
    // Other spellings of the input: the refusal comes before anything is
    // cut. Letter case, "\" and the drive spell it only on Windows.
    const struct {
      std::string spelling;
      bool windowsOnly;
    } spellings[] = {{"./in.txt", false},
                     {"IN.TXT", true},
                     {".\\in.txt", true},
                     {kWorkdir + "\\in.txt", true}};
    for (const auto& s : spellings) {
      run.args = {"in.txt", s.spelling};
      cases.push_back({"output is the input as " + s.spelling, in, run,
                       Question(s.spelling) + kCannotOverwrite, "", 99, in, false, s.windowsOnly});
    }
    // The default output name of data.CSV is the input itself there.
    const Files upper = {{"data.CSV", "x\n"}};
    run.args = {"data.CSV"};
    cases.push_back({"default output is the input in other case", upper, run,
                     Question("data.csv") + kCannotOverwrite, "", 99, upper, false, true});
  }

  // Help requests come before every other check.
  for (std::vector<std::string> args :
       {std::vector<std::string>{}, {"/?"}, {"?"}, {"/?x"}, {"?abc"},
        {"/?", "1", "2", "3", "4", "5", "6", "7"}}) {
    std::string name = "help";
    for (const auto& a : args) name += " " + a;
    cases.push_back({name, nine, {args}, UsageScreen(""), "", 0, nine});
  }
  return cases;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class EndToEnd : public testing::TestWithParam<Case> {};

void Check(const Case& c) {
  const std::string dir = e2e::MakeWorkdir();
  for (const auto& [name, bytes] : c.before) {
    std::string host = e2e::HostName(name);
    for (std::size_t slash = host.find('/'); slash != std::string::npos;
         slash = host.find('/', slash + 1))
      mkdir((dir + "/" + host.substr(0, slash)).c_str(), 0755);
    e2e::WriteFile(dir + "/" + host, bytes);
  }
  const std::string workdir = e2e::TargetPath(dir);
  auto resolve = [&](std::string text) {
    for (std::size_t at; (at = text.find(kWorkdir)) != std::string::npos;)
      text.replace(at, kWorkdir.size(), workdir);
    return text;
  };
  e2e::Run run = c.run;
  for (std::string& a : run.args) a = resolve(a);
  const std::string expectedOut = resolve(c.out);
  e2e::Result r = e2e::RunIn(dir, run);
  std::string args;
  for (const auto& a : run.args) args += " " + a;
  SCOPED_TRACE("Rowpluck" + args + "\n  in " + dir + "\n  exit " + std::to_string(r.exitCode) +
               "\n  stdout:\n" + e2e::Escape(r.out) + "\n  stderr:\n" + e2e::Escape(r.err));
  EXPECT_EQ(r.exitCode, c.exitCode);
  EXPECT_EQ(e2e::Escape(r.out), e2e::Escape(expectedOut));
  EXPECT_EQ(e2e::Escape(e2e::NormalizeReport(r.err)), e2e::Escape(c.err));
  Files after = e2e::ListFiles(dir);
  EXPECT_EQ(after.size(), c.after.size());
  for (const auto& [name, bytes] : c.after) {
    auto it = after.find(name);
    if (it == after.end()) {
      ADD_FAILURE() << "missing file " << e2e::Escape(name);
      continue;
    }
    EXPECT_EQ(e2e::Escape(it->second), e2e::Escape(bytes)) << "file " << e2e::Escape(name);
  }
  for (const auto& [name, bytes] : after)
    if (!c.after.count(name)) ADD_FAILURE() << "unexpected file " << e2e::Escape(name);
  if (!testing::Test::HasFailure()) e2e::Cleanup(dir);
}

TEST_P(EndToEnd, BytesExitCodeAndFiles) {
  const Case& c = GetParam();
  if (c.posixOnly && e2e::WindowsTarget()) GTEST_SKIP() << "POSIX only";
  if (c.windowsOnly && !e2e::WindowsTarget()) GTEST_SKIP() << "Windows only";
  Check(c);
}

std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (char ch : info.param.name) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, testing::ValuesIn(Cases()), CaseName);

}  // namespace
