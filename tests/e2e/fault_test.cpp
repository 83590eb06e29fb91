// Failures the system will not produce on demand, made by the fault seam of
// the test build (Rowpluck-faults): each must end with the right report and
// exit code, no summary, and files that hold only what was really written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/messages.h"
#include "app/run_state.h"
#include "app/summary.h"
#include "conkit/messages.h"
#include "runtime/failure.h"
#include "runtime/messages.h"
#include "tests/e2e/expected.h"
#include "tests/e2e/harness.h"

namespace {

namespace am = app::msg;
namespace cm = conkit::msg;

using e2e::IoError;
using e2e::Line;

// The test build's own file name (Rowpluck-faults, or Rowpluck-faults.exe
// for the Windows build), as its failure report shows it.
std::string Report(std::string_view message) {
  const char* exe = std::getenv("ROWPLUCK_FAULTY_EXE");
  std::string name = exe ? exe : "Rowpluck-faults";
  return e2e::Report(message, name.substr(name.find_last_of('/') + 1));
}

const std::string kInput = "a,b\r\nc,d\r\n";
const std::string kCopied = "a,b\r\nc,d\r\n";

struct FaultCase {
  const char* name;
  const char* faults;
  std::vector<std::string> args;
  bool outputExists;  // in.csv exists before, holding "old"; the answer is y
  std::string out;
  std::string err;
  int exitCode;
  const char* inCsv;  // in.csv afterwards; nullptr when it must not exist
};

std::vector<FaultCase> Cases() {
  const std::string question = e2e::Question("in.csv");
  return {
      {"size query fails", "size:1=5", {"in.txt"}, false, "", Report(rt::msg::kAccessDenied), 1,
       nullptr},
      {"opening the input fails", "open:1=32", {"in.txt"}, false, "", Report(IoError(32)), 1,
       nullptr},
      {"creating the output fails", "create:1=5", {"in.txt"}, false,
       Line(am::kCannotOverwriteOutput), "", 99, nullptr},
      {"reading the input fails", "read:1=5!", {"in.txt"}, false, "", Report(IoError(5)), 1, ""},
      {"writing the output fails", "write:1=112", {"in.txt"}, false, "", Report(IoError(112)), 1,
       ""},
      {"closing the input fails", "close:1=5", {"in.txt"}, false, "",
       Report(rt::msg::kAccessDenied), 1, ""},
      {"closing the output fails", "close:2=5", {"in.txt"}, false, "",
       Report(rt::msg::kAccessDenied), 1, kCopied.c_str()},
      {"writing the summary fails", "write:2=112", {"in.txt"}, false, "", Report(IoError(112)), 1,
       kCopied.c_str()},
      {"reading the answer fails", "read:1=5!", {"in.txt"}, true, question, Report(IoError(5)), 1,
       "old"},
      // Writing out the console at the end is the one failure that is
      // ignored: the refusal still ends with 99.
      {"refusal message cannot be written", "write:1=112", {"in.txt", "1", "2", "3", "4", "5", "6"},
       false, "", "", 99, nullptr},
  };
}

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class Faults : public testing::TestWithParam<FaultCase> {};

TEST_P(Faults, ReportExitCodeAndFiles) {
  if (!std::getenv("ROWPLUCK_FAULTY_EXE")) GTEST_SKIP() << "needs the test build with the fault seam";
  const FaultCase& c = GetParam();
  const std::string dir = e2e::MakeWorkdir();
  e2e::WriteFile(dir + "/in.txt", kInput);
  if (c.outputExists) e2e::WriteFile(dir + "/in.csv", "old");
  e2e::Run run;
  run.args = c.args;
  run.exe = std::getenv("ROWPLUCK_FAULTY_EXE");
  run.faults = c.faults;
  if (c.outputExists) {
    run.stdinMode = e2e::Stdin::Bytes;
    run.stdinBytes = "y\n";
  }
  e2e::Result r = e2e::RunIn(dir, run);
  SCOPED_TRACE(std::string(c.faults) + " in " + dir + "\nstdout:\n" + e2e::Escape(r.out) +
               "\nstderr:\n" + e2e::Escape(r.err));
  EXPECT_EQ(r.exitCode, c.exitCode);
  EXPECT_EQ(e2e::Escape(r.out), e2e::Escape(c.out));
  EXPECT_EQ(e2e::Escape(e2e::NormalizeReport(r.err)), e2e::Escape(c.err));
  e2e::Files files = e2e::ListFiles(dir);
  EXPECT_EQ(files["in.txt"], kInput);
  if (c.inCsv == nullptr) {
    EXPECT_EQ(files.count("in.csv"), 0u);
  } else {
    EXPECT_EQ(e2e::Escape(files["in.csv"]), e2e::Escape(c.inCsv));
  }
  if (!testing::Test::HasFailure()) e2e::Cleanup(dir);
}

std::string CaseName(const testing::TestParamInfo<FaultCase>& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Faults, testing::ValuesIn(Cases()), CaseName);

// A failure in the middle of a large input: the output keeps the whole
// 128-byte blocks written before it, and they are exactly the start of the
// copy. CR LF lines take the engine's path that writes long runs straight
// from the input; LF lines go through the output buffer.
TEST(FaultsMidway, FailureKeepsWholeBlocksOnly) {
  if (!std::getenv("ROWPLUCK_FAULTY_EXE"))
    GTEST_SKIP() << "needs the test build with the fault seam";
  for (const char* lineEnd : {"\n", "\r\n"}) {
    std::string input, expected;
    for (int i = 0; i < 40000; ++i) {
      std::string line = "record " + std::to_string(i) + ",x";
      input += line + lineEnd;
      expected += line + "\r\n";
    }
    for (const char* faults : {"read:3=5", "write:1=112", "write:2=112", "write:3=112"}) {
      SCOPED_TRACE(std::string(faults) + (lineEnd[0] == '\r' ? " crlf" : " lf"));
      const std::string dir = e2e::MakeWorkdir();
      e2e::WriteFile(dir + "/in.txt", input);
      e2e::Run run;
      run.args = {"in.txt"};
      run.exe = std::getenv("ROWPLUCK_FAULTY_EXE");
      run.faults = faults;
      e2e::Result r = e2e::RunIn(dir, run);
      EXPECT_EQ(r.exitCode, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(e2e::NormalizeReport(r.err),
                faults[0] == 'r' ? Report(rt::msg::kAccessDenied) : Report(IoError(112)));
      const std::string written = e2e::ReadFile(dir + "/in.csv");
      EXPECT_EQ(written.size() % 128, 0u);
      EXPECT_LT(written.size(), expected.size());
      EXPECT_EQ(written, expected.substr(0, written.size()));
      if (!testing::Test::HasFailure()) e2e::Cleanup(dir);
    }
  }
}

}  // namespace
