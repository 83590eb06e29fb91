// The operating system as Rowpluck sees it: the few calls the tool needs,
// implemented once per platform (os_posix.cpp, os_win32.cpp). Nothing above
// this layer includes an OS header or tests for a platform.
#ifndef ROWPLUCK_PLATFORM_OS_H
#define ROWPLUCK_PLATFORM_OS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace os {

// An OS error as the user will see it. `number` is 0 for success. When
// `native` is false the number is one of the Windows error numbers that the
// tool's messages are keyed by (2 file not found, 5 access denied, 112 disk
// full, ...); when true it is a platform number with no such meaning, shown
// only as a number.
struct Error {
  int number = 0;
  bool native = false;
  explicit operator bool() const { return number != 0; }
};

using Handle = std::intptr_t;
constexpr Handle kNoHandle = -1;

enum class EntryKind { Missing, File, Directory };

// Prepares the process before anything else runs: standard handles that
// were closed at start are taken up so that no file the tool opens can land
// on them, and a reader that has gone makes a write fail instead of killing
// the process.
void Init();

// The command line as one text when the platform hands it over unsplit;
// false when the platform gives the arguments already split (argv).
bool CommandLineText(std::string* text);

// The full path of the running executable.
std::string ExecutablePath();

// Whether '/' separates directories in file names on this platform.
bool SlashIsPathSeparator();

// The executable suffix of this platform (".exe" or empty).
const char* ExecutableSuffix();

// Whether an absolute path begins with '/', the option prefix, so that a
// last argument such as /tmp/out.csv must be told apart from an option.
bool AbsolutePathsBeginWithSlash();

Handle StdInput();
Handle StdOutput();
Handle StdError();
bool IsConsole(Handle h);

// Whether `h` can take writes at all: a standard output bound to no usable
// device fails here with 105, before any text is buffered for it.
Error CheckOutputHandle(Handle h);

// Opens an existing file for reading from its first byte; others may read
// it but not write it while it is open.
Error OpenInput(const std::string& name, Handle* out);

// Creates `name` for writing, or cuts an existing file to length 0. Refuses,
// before anything is cut, when `name` is the file open as `input` under any
// spelling, and when opening would block (a FIFO with no reader).
Error CreateOutput(const std::string& name, Handle input, Handle* out);

// Reads up to `size` bytes; *got is 0 at the end of the file. A broken pipe
// reads as the end.
Error Read(Handle h, void* buffer, std::size_t size, std::size_t* got);

// Writes all `size` bytes or fails.
Error Write(Handle h, const void* buffer, std::size_t size);

Error Close(Handle h);

// The length of an existing file, asking for read access only.
Error FileSize(const std::string& name, std::uint64_t* size);

// What the file system holds under `name`, without opening it.
EntryKind Lookup(const std::string& name);

[[noreturn]] void Exit(int code);

// Tests only: arms the fault seam (platform/faults.h) with a plan such as
// "read:3=5,write:1=112". The product never calls it.
void ArmFaults(const char* plan);

}  // namespace os

#endif  // ROWPLUCK_PLATFORM_OS_H
