#include "runtime/console.h"

#include <cstring>
#include <string>

#include "runtime/failure.h"

namespace rt {
namespace {

constexpr std::size_t kBufferSize = 128;

struct Console {
  bool attached = false;
  bool isConsole = false;
  os::Error unusable;  // the handle takes no writes at all
  os::Handle handle = os::kNoHandle;
  char buffer[kBufferSize];
  std::size_t used = 0;
};

Console gOut;

void Attach() {
  if (gOut.attached) return;
  gOut.attached = true;
  gOut.handle = os::StdOutput();
  gOut.unusable = os::CheckOutputHandle(gOut.handle);
  gOut.isConsole = !gOut.unusable && os::IsConsole(gOut.handle);
}

// Appends to the 128-byte buffer, writing it whenever it is full.
os::Error Buffer(std::string_view text) {
  while (!text.empty()) {
    std::size_t room = kBufferSize - gOut.used;
    std::size_t n = text.size() < room ? text.size() : room;
    std::memcpy(gOut.buffer + gOut.used, text.data(), n);
    gOut.used += n;
    text.remove_prefix(n);
    if (gOut.used == kBufferSize) {
      gOut.used = 0;  // a failed block is not written again
      if (os::Error e = os::Write(gOut.handle, gOut.buffer, kBufferSize)) return e;
    }
  }
  return {};
}

}  // namespace

void WriteConsoleLine(std::string_view text) {
  Attach();
  os::Error e;
  if (gOut.unusable) {
    // Even a line that would only have been buffered fails at once.
    e = gOut.unusable;
  } else if (gOut.isConsole) {
    std::string line(text);
    line += "\r\n";
    e = os::Write(gOut.handle, line.data(), line.size());
  } else {
    e = Buffer(text);
    if (!e) e = Buffer("\r\n");
  }
  if (e) FailInOut(e, RT_CALLER_ADDRESS());
}

os::Error FlushConsole() {
  if (!gOut.attached || gOut.used == 0) return {};
  std::size_t n = gOut.used;
  gOut.used = 0;
  return os::Write(gOut.handle, gOut.buffer, n);
}

}  // namespace rt
