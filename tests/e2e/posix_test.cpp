// End-to-end cases that need more than files in a folder: links, devices,
// FIFOs, closed standard handles, a renamed binary, and an input that goes
// away while the tool waits for its answer. They use POSIX facilities, so
// they run against the POSIX build only.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
using e2e::Question;
using e2e::Report;

std::string Summary(const std::string& in, const std::string& out, std::int64_t lines) {
  return e2e::Summary(in, out, lines, 0, 0, 0, lines);
}

const std::string kInput = "a,b\r\nc,d\r\n";
const std::string kCopied = "a,b\r\nc,d\r\n";

class Posix : public testing::Test {
 protected:
  void SetUp() override {
    if (e2e::WindowsTarget()) GTEST_SKIP() << "POSIX only";
    dir_ = e2e::MakeWorkdir();
    e2e::WriteFile(Path("in.txt"), kInput);
  }
  void TearDown() override {
    if (!dir_.empty() && !HasFailure()) e2e::Cleanup(dir_);
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  e2e::Result Run(std::vector<std::string> args, const std::string& answer = "") {
    e2e::Run run;
    run.args = std::move(args);
    if (!answer.empty()) {
      run.stdinMode = e2e::Stdin::Bytes;
      run.stdinBytes = answer;
    }
    return RunWith(run);
  }
  e2e::Result RunWith(const e2e::Run& run) {
    e2e::Result r = e2e::RunIn(dir_, run);
    RecordProperty("dir", dir_);
    return r;
  }
  void ExpectResult(const e2e::Result& r, const std::string& out, const std::string& err,
                    int exitCode) {
    SCOPED_TRACE("in " + dir_ + "\nstdout:\n" + e2e::Escape(r.out) + "\nstderr:\n" +
                 e2e::Escape(r.err));
    EXPECT_EQ(r.exitCode, exitCode);
    EXPECT_EQ(e2e::Escape(r.out), e2e::Escape(out));
    EXPECT_EQ(e2e::Escape(e2e::NormalizeReport(r.err)), e2e::Escape(err));
  }
  std::string dir_;
};

// The input named as the output through a link is refused before anything
// is cut.
TEST_F(Posix, OutputThatIsTheInputThroughALinkIsRefused) {
  ASSERT_EQ(symlink("in.txt", Path("sym.csv").c_str()), 0);
  ASSERT_EQ(link(Path("in.txt").c_str(), Path("hard.csv").c_str()), 0);
  for (const std::string& out : std::vector<std::string>{"sym.csv", "hard.csv", dir_ + "/in.txt", dir_ + "/./in.txt"}) {
    SCOPED_TRACE(out);
    ExpectResult(Run({"in.txt", out}, "y\n"),
                 Question(out) + Line(am::kCannotOverwriteOutput), "", 99);
    EXPECT_EQ(e2e::ReadFile(Path("in.txt")), kInput);
  }
}

TEST_F(Posix, AbsoluteOutputPathNamesTheOutput) {
  const std::string out = dir_ + "/out.csv";
  ExpectResult(Run({"in.txt", "/OI1", out}), Summary("in.txt", out, 2), "", 0);
  EXPECT_EQ(e2e::ReadFile(out), "a\r\nc\r\n");
}

TEST_F(Posix, OutputOnAFullDeviceEndsWithTheReport) {
  ExpectResult(Run({"in.txt", "/dev/full"}, "y\n"), Question("/dev/full"),
               Report(IoError(112)), 1);
}

// A disk that fills while lines are written: the report, and an output that
// holds whole 128-byte blocks of what was to be written, nothing else.
TEST_F(Posix, DiskFillsWhileWriting) {
  const std::string mnt = Path("small");
  ASSERT_EQ(mkdir(mnt.c_str(), 0755), 0);
  if (geteuid() != 0 ||
      system(("mount -t tmpfs -o size=64k tmpfs '" + mnt + "' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  std::string input, expected;
  for (int i = 0; i < 20000; ++i) {
    std::string line = "line " + std::to_string(i) + ",\x95\x5C,item";
    input += line + "\n";
    expected += line + "\r\n";
  }
  e2e::WriteFile(Path("big.txt"), input);
  e2e::Result r = Run({"big.txt", mnt + "/out.csv"});
  const std::string written = e2e::ReadFile(mnt + "/out.csv");
  system(("umount '" + mnt + "'").c_str());
  ExpectResult(r, "", Report(IoError(112)), 1);
  EXPECT_GT(written.size(), 0u);
  EXPECT_LT(written.size(), expected.size());
  EXPECT_EQ(written.size() % 128, 0u);
  EXPECT_EQ(written, expected.substr(0, written.size()));
}

TEST_F(Posix, StandardOutputOnAFullDevice) {
  e2e::Run run;
  run.args = {"in.txt"};
  run.stdoutMode = e2e::Stdout::DevFull;
  // The summary fills the 128-byte console buffer: its write fails.
  ExpectResult(RunWith(run), "", Report(IoError(112)), 1);
  EXPECT_EQ(e2e::ReadFile(Path("in.csv")), kCopied);
}

TEST_F(Posix, ClosedStandardOutputNeverLandsInADataFile) {
  e2e::Run run;
  run.args = {"in.txt"};
  run.stdoutMode = e2e::Stdout::Closed;
  ExpectResult(RunWith(run), "", Report(IoError(105)), 1);
  EXPECT_EQ(e2e::ReadFile(Path("in.csv")), kCopied);
  EXPECT_EQ(e2e::ReadFile(Path("in.txt")), kInput);
  // Even a refusal whose one line would only have been buffered: the first
  // console line fails, so the report tells why nothing was said.
  run.args = {"in.txt", "a", "b", "c", "d", "e", "f"};
  ExpectResult(RunWith(run), "", Report(IoError(105)), 1);
}

TEST_F(Posix, ARefusalIsPrintedInFullWhenOutputIsRedirected) {
  ExpectResult(Run({"in.txt", "a", "b", "c", "d", "e", "f"}), Line(cm::kTooManyParams), "", 99);
}

TEST_F(Posix, OutputThatIsAFifoWithoutReaderDoesNotHang) {
  ASSERT_EQ(mkfifo(Path("pipe.csv").c_str(), 0644), 0);
  ExpectResult(Run({"in.txt", "pipe.csv"}, "y\n"),
               Question("pipe.csv") + Line(am::kCannotOverwriteOutput), "", 99);
}

TEST_F(Posix, InputRemovedWhileTheQuestionWaits) {
  e2e::WriteFile(Path("in.csv"), "old");
  e2e::Run run;
  run.args = {"in.txt"};
  run.stdinBytes = "y\n";
  run.whenAsked = [&] { unlink(Path("in.txt").c_str()); };
  ExpectResult(RunWith(run), Question("in.csv"),
               Report(rt::msg::kFileNotFound), 1);
  EXPECT_EQ(e2e::ReadFile(Path("in.csv")), "old");  // never cut: the open came first
}

TEST_F(Posix, InputReplacedByAFifoWhileTheQuestionWaits) {
  e2e::WriteFile(Path("in.csv"), "old");
  e2e::Run run;
  run.args = {"in.txt"};
  run.stdinBytes = "y\n";
  run.whenAsked = [&] {
    unlink(Path("in.txt").c_str());
    mkfifo(Path("in.txt").c_str(), 0644);
  };
  // A FIFO with no writer reads as an empty input: nothing hangs.
  ExpectResult(RunWith(run), Question("in.csv") + Summary("in.txt", "in.csv", 0), "", 0);
  EXPECT_EQ(e2e::ReadFile(Path("in.csv")), "");
}

TEST_F(Posix, NamesTheSystemRefuses) {
  const std::string longName(300, 'n');
  ExpectResult(Run({longName}), Line(std::string(am::kInputLabel) + std::string(cm::kFileMissing)),
               "", 99);
  ExpectResult(Run({"in.txt", longName + ".csv"}), Line(am::kCannotOverwriteOutput), "", 99);
}

TEST_F(Posix, WildcardAndDoubleByteNamesAreLiteral) {
  const struct {
    std::string input, output;
  } cases[] = {
      {"a*b.txt", "a*b.csv"},
      {"q?.txt", "q?.csv"},
      {"\x95\x5C.txt", "\x95\x5C.csv"},                       // 表.txt
      {"data.\x83\x5C", "data.csv"},                          // data.ソ
      {"\x83\x5C\x83\x74\x83\x67.\x95\x5C\x8E\xA6", "\x83\x5C\x83\x74\x83\x67.csv"},  // ソフト.表示
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(e2e::Escape(c.input));
    e2e::WriteFile(Path(c.input), kInput);
    ExpectResult(Run({c.input}), Summary(c.input, c.output, 2), "", 0);
    EXPECT_EQ(e2e::ReadFile(Path(c.output)), kCopied);
  }
}

TEST_F(Posix, RenamedBinaryShowsTheNameNotice) {
  const std::string bin = e2e::MakeWorkdir();
  const std::string copy = bin + "/extract";
  ASSERT_EQ(system(("cp '" + std::string(getenv("ROWPLUCK_EXE")) + "' '" + copy + "'").c_str()), 0);
  e2e::Run run;
  run.exe = copy;
  e2e::Result r = RunWith(run);
  const std::string notice = Line(" ( \"extract\" is not original name )");
  const std::string rights = Line(" Copyright (C) 2006 Rowpluck Developers. All rights reserved.");
  EXPECT_EQ(r.exitCode, 0);
  ASSERT_GE(r.out.size(), notice.size() + rights.size());
  EXPECT_EQ(r.out.substr(r.out.size() - notice.size() - rights.size()), notice + rights);
  e2e::Cleanup(bin);
}

}  // namespace
