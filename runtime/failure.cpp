#include "runtime/failure.h"

#include <cstdio>

#include "runtime/args.h"
#include "runtime/console.h"
#include "runtime/messages.h"
#include "runtime/text.h"

namespace rt {

std::string IoErrorMessage(os::Error error) {
  if (!error.native) {
    switch (error.number) {
      case 2: return std::string(msg::kFileNotFound);
      case 3: return std::string(msg::kPathNotFound);
      case 4: return std::string(msg::kTooManyOpenFiles);
      case 5: return std::string(msg::kAccessDenied);
      case 100: return std::string(msg::kReadPastEnd);
      case 101: return std::string(msg::kDiskFull);
      case 106: return std::string(msg::kNotANumber);
      default: break;
    }
  }
  std::string out(msg::kIoErrorOpen);
  out += IntToText(error.number);
  out += msg::kIoErrorClose;
  return out;
}

std::string FailureReportText(std::string_view kind, std::string_view program,
                              std::uint32_t location, std::string_view message) {
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(location));
  std::string out(kind);
  out += msg::kReportModule;
  out += program;
  out += msg::kReportAt;
  out += hex;
  out += msg::kReportOccurred;
  out += "\r\n";
  out += message;
  if (!message.empty() && message.back() != '.') out += '.';
  out += "\r\n";
  return out;
}

void EndProcess(int code) {
  (void)FlushConsole();  // a failure here changes nothing
  os::Exit(code);
}

static std::uint32_t Location(const void* where) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(where));
}

[[noreturn]] static void Report(std::string_view kind, std::string_view message,
                                const void* where) {
  std::string program(FileNamePart(Arg(0), os::SlashIsPathSeparator()));
  std::string text = FailureReportText(kind, program, Location(where), message);
  (void)os::Write(os::StdError(), text.data(), text.size());
  (void)os::Write(os::StdError(), "\r\n", 2);
  os::Exit(1);
}

void FailInOut(os::Error error, const void* where) {
  // Console lines printed before the failure come before the report; when
  // writing them out fails, that failure is the one reported.
  if (os::Error flush = FlushConsole()) error = flush;
  Report(msg::kKindInOut, IoErrorMessage(error), where);
}

void FailOutOfMemory(const void* where) {
  if (os::Error flush = FlushConsole()) Report(msg::kKindInOut, IoErrorMessage(flush), where);
  Report(msg::kKindOutOfMemory, msg::kOutOfMemory, where);
}

}  // namespace rt
