// Rowpluck: writes a window of the lines and comma-separated items of a
// text file to a new file, then prints a summary of counts.
//
//   Rowpluck input-file [/SLn] [/SIn] [/OLn] [/OIn] [output-file]
//
// This file is the main sequence, stage by stage; the work lives in the
// modules it calls.
#include "app/Rowpluck.h"

#include <new>
#include <string>

#include "app/extraction.h"
#include "app/messages.h"
#include "app/options.h"
#include "app/run_state.h"
#include "app/summary.h"
#include "app/usage.h"
#include "conkit/guards.h"
#include "conkit/text_helpers.h"
#include "platform/os.h"
#include "runtime/args.h"
#include "runtime/console.h"
#include "runtime/failure.h"
#include "runtime/textfile.h"

namespace app {
namespace {

constexpr int kMinArgs = 1;
constexpr int kMaxArgs = 6;

// Large blocks for speed; the output buffer is a multiple of 128 bytes so
// that a file cut short by a failure holds whole 128-byte blocks only.
constexpr std::size_t kInputBlock = 256 * 1024;
constexpr std::size_t kOutputBlock = 256 * 1024;
static_assert(kOutputBlock % 128 == 0, "output is written in 128-byte blocks");
// Free room in front of the input block: what the output buffer holds is
// moved there, so that it leaves in one write with a long run of input
// bytes that follows it unchanged.
constexpr std::size_t kInputHeadroom = 4096;

// The program-wide state of one run.
RunState gRunState;
std::string gInputFileName;
std::string gOutputFileName;
rt::InputFile gInputFile;
rt::OutputFile gOutputFile;
alignas(64) char gInputBuffer[kInputHeadroom + kInputBlock];
alignas(64) char gOutputBuffer[kOutputBlock];

// Held back from the start and given up when memory runs out, so that the
// failure report itself still has room to be built.
char* gMemoryReserve = nullptr;

void OutOfMemory() {
  if (gMemoryReserve == nullptr) os::Exit(1);  // ran out again while reporting
  delete[] gMemoryReserve;
  gMemoryReserve = nullptr;
  rt::FailOutOfMemory(RT_CALLER_ADDRESS());
}

// The last argument is read as an option when it begins with "/", or when
// it is the only one. Where absolute paths begin with "/" too, one that
// holds a second "/" (/tmp/out.csv) names the output file instead.
bool LastArgumentIsOption(const std::string& last, int count) {
  if (count == 1) return true;
  if (last.empty() || last[0] != '/') return false;
  return !(os::AbsolutePathsBeginWithSlash() && last.find('/', 1) != std::string::npos);
}

void SettleOutputName(RunState& state) {
  const int count = rt::ArgCount();
  const std::string& last = rt::Arg(count);
  if (!LastArgumentIsOption(last, count)) {
    gOutputFileName = last;
    return;
  }
  ReadOption(count, state);
  gOutputFileName = conkit::AddOrChangeExt(gInputFileName, ".csv");
}

}  // namespace

void Main() {
  if (conkit::IsHelpRequest()) {
    ShowUsage();
    rt::EndProcess(0);
  }
  conkit::CheckParamCount(kMinArgs, kMaxArgs);
  gInputFileName = rt::Arg(1);
  conkit::CheckFileExists(gInputFileName, msg::kInputLabel);
  conkit::CheckFileNotEmpty(gInputFileName, msg::kInputLabel);
  for (int i = 2; i <= rt::ArgCount() - 1; ++i) ReadOption(i, gRunState);
  SettleOutputName(gRunState);
  conkit::ConfirmOverwrite(gOutputFileName);

  rt::OpenInputFile(gInputFile, gInputFileName, gInputBuffer + kInputHeadroom, kInputBlock,
                    kInputHeadroom);
  if (rt::CreateOutputFile(gOutputFile, gOutputFileName, gInputFile, gOutputBuffer, kOutputBlock))
    conkit::Refuse(msg::kCannotOverwriteOutput);

  RunExtraction(gInputFile, gOutputFile, gRunState);

  rt::CloseInputFile(gInputFile);
  rt::CloseOutputFile(gOutputFile);
  WriteRunSummary(gInputFileName, gOutputFileName, gRunState);
  rt::EndProcess(0);
}

void Start(int argc, const char* const* argv) {
  os::Init();
  gMemoryReserve = new char[64 * 1024];
  std::set_new_handler(OutOfMemory);
  rt::InitArguments(argc, argv);
  Main();
}

}  // namespace app
