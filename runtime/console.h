// Console lines on standard output. A console gets every line at once;
// a file or pipe gets text through a 128-byte buffer that is written
// whenever it is full, before a failure report and at the end.
#ifndef ROWPLUCK_RUNTIME_CONSOLE_H
#define ROWPLUCK_RUNTIME_CONSOLE_H

#include <string_view>

#include "platform/os.h"

namespace rt {

// Writes `text` unchanged followed by CR LF; a failure ends the run with
// the failure report.
void WriteConsoleLine(std::string_view text);

// Writes out whatever standard output still buffers.
os::Error FlushConsole();

}  // namespace rt

#endif  // ROWPLUCK_RUNTIME_CONSOLE_H
