#include "conkit/guards.h"

#include "conkit/messages.h"
#include "platform/os.h"
#include "runtime/args.h"
#include "runtime/console.h"
#include "runtime/failure.h"
#include "runtime/text.h"
#include "runtime/textfile.h"

namespace conkit {

void Refuse(std::string_view message) {
  rt::WriteConsoleLine(message);
  rt::EndProcess(kRefusalExitCode);
}

bool IsHelpRequest() {
  if (rt::ArgCount() == 0) return true;
  const std::string& first = rt::Arg(1);
  return first.compare(0, 2, "/?") == 0 || first.compare(0, 1, "?") == 0;
}

void CheckParamCount(int smallest, int largest) {
  int count = rt::ArgCount();
  if (count < smallest) Refuse(msg::kTooFewParams);
  if (count > largest) Refuse(msg::kTooManyParams);
}

static bool IsExistingFile(const std::string& name) {
  return os::Lookup(name) == os::EntryKind::File;
}

void CheckFileExists(const std::string& name, std::string_view label) {
  if (IsExistingFile(name)) return;
  Refuse(std::string(label) + std::string(msg::kFileMissing));
}

std::uint64_t CheckFileNotEmpty(const std::string& name, std::string_view label) {
  std::uint64_t size = 0;
  if (os::Error e = os::FileSize(name, &size)) rt::FailInOut(e, RT_CALLER_ADDRESS());
  if (size == 0) Refuse(std::string(label) + std::string(msg::kFileEmpty));
  return size;
}

bool IsConfirmation(std::string_view answer) { return rt::UpperAscii(answer) == "Y"; }

void ConfirmOverwrite(const std::string& name) {
  if (!IsExistingFile(name)) return;
  rt::WriteConsoleLine(name + std::string(msg::kOverwriteQuestion));
  // One byte at a time, so that nothing after the answer's line is taken
  // from standard input; only two bytes are kept, enough to tell "Y" apart.
  char byte;
  rt::InputFile in;
  rt::AttachInputFile(in, os::StdInput(), &byte, 1);
  if (!IsConfirmation(rt::ReadLine(in, 2))) Refuse(msg::kGiveParamsAgain);
}

}  // namespace conkit
