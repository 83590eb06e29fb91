// Ending the process, and the one failure report for errors that no stage
// handles itself.
#ifndef ROWPLUCK_RUNTIME_FAILURE_H
#define ROWPLUCK_RUNTIME_FAILURE_H

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace rt {

// The message shown for a failed file or console operation.
std::string IoErrorMessage(os::Error error);

// The report's first write: two lines, the second ending in CR LF. A "." is
// added after a message whose last byte is not one.
std::string FailureReportText(std::string_view kind, std::string_view program,
                              std::uint32_t location, std::string_view message);

// Writes out buffered console text, then exits with `code`. Files the tool
// opened itself are neither flushed nor closed.
[[noreturn]] void EndProcess(int code);

// The failure report for a failed file or console operation at `where` (an
// address in the program's code), then the end with exit code 1.
[[noreturn]] void FailInOut(os::Error error, const void* where);

// The same for memory that ran out.
[[noreturn]] void FailOutOfMemory(const void* where);

}  // namespace rt

// The place in the caller's code that asked for the failed operation.
#define RT_CALLER_ADDRESS() __builtin_return_address(0)

#endif  // ROWPLUCK_RUNTIME_FAILURE_H
