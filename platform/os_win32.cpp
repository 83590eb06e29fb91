// Win32 implementation of the platform layer. The whole file is compiled
// only when the target is Windows.
//
// Errors are the numbers GetLastError reports, unchanged: they are the very
// numbers the tool's messages are keyed by.
#ifdef _WIN32

#include "platform/os.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/faults.h"

namespace os {
namespace {

// What the standard output reports when the process has no usable device
// bound to it: writing there is writing a file that is not open for output.
constexpr int kNotOpenForOutput = 105;

// The largest block handed to ReadFile or WriteFile in one call.
constexpr std::size_t kMaxTransfer = 1u << 30;

HANDLE Win(Handle h) { return reinterpret_cast<HANDLE>(h); }
Handle Ours(HANDLE h) { return reinterpret_cast<Handle>(h); }

// A handle the process never received: GetStdHandle gives NULL when no
// standard handle was passed on, INVALID_HANDLE_VALUE when it cannot say.
bool IsUnusable(Handle h) { return h == 0 || Win(h) == INVALID_HANDLE_VALUE; }

Error LastError() {
  DWORD e = GetLastError();
  // A failed call that left no number must still read as a failure.
  return {e != 0 ? static_cast<int>(e) : static_cast<int>(ERROR_GEN_FAILURE), false};
}

}  // namespace

// Windows numbers handles freely, so a standard handle missing at start can
// never be handed out again to a file the tool opens; a reader that has gone
// makes WriteFile fail without a signal. Nothing to prepare.
void Init() {}

bool CommandLineText(std::string* text) {
  const char* line = GetCommandLineA();
  text->assign(line != nullptr ? line : "");
  return true;
}

std::string ExecutablePath() {
  // The path is cut to the buffer when it does not fit: grow until it does.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return "Rowpluck.exe";
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 32768) return path;
    path.resize(path.size() * 2);
  }
}

bool SlashIsPathSeparator() { return false; }
const char* ExecutableSuffix() { return ".exe"; }
bool AbsolutePathsBeginWithSlash() { return false; }

Handle StdInput() { return Ours(GetStdHandle(STD_INPUT_HANDLE)); }
Handle StdOutput() { return Ours(GetStdHandle(STD_OUTPUT_HANDLE)); }
Handle StdError() { return Ours(GetStdHandle(STD_ERROR_HANDLE)); }

bool IsConsole(Handle h) {
  // A character device is not enough: NUL is one too, and it has no mode.
  DWORD mode;
  return !IsUnusable(h) && GetFileType(Win(h)) == FILE_TYPE_CHAR &&
         GetConsoleMode(Win(h), &mode) != 0;
}

Error CheckOutputHandle(Handle h) {
  // No zero-byte write here: on a pipe it would reach the reader as a
  // message of its own.
  if (IsUnusable(h)) return {kNotOpenForOutput, false};
  SetLastError(NO_ERROR);
  if (GetFileType(Win(h)) == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
    return {kNotOpenForOutput, false};
  return {};
}

Error OpenInput(const std::string& name, Handle* out) {
  *out = kNoHandle;
  if (Error e; faults::Due(faults::Call::Open, &e)) return e;
  HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  *out = Ours(h);
  return {};
}

// The input is held open allowing readers only, so creating over it fails
// with a sharing violation under any spelling of its name before anything is
// cut: the share rules make the identity check, and `input` is not needed.
Error CreateOutput(const std::string& name, Handle, Handle* out) {
  *out = kNoHandle;
  if (Error e; faults::Due(faults::Call::Create, &e)) return e;
  HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  *out = Ours(h);
  return {};
}

Error Read(Handle h, void* buffer, std::size_t size, std::size_t* got) {
  *got = 0;
  if (Error e; faults::Due(faults::Call::Read, &e)) return e;
  // A process started without a standard input finds it empty, as the
  // POSIX build does with a closed descriptor.
  if (IsUnusable(h)) return {};
  DWORD n = 0;
  DWORD want = static_cast<DWORD>(size < kMaxTransfer ? size : kMaxTransfer);
  if (!ReadFile(Win(h), buffer, want, &n, nullptr)) {
    // The writing end of a pipe has gone: the input has ended.
    if (GetLastError() == ERROR_BROKEN_PIPE) return {};
    return LastError();
  }
  *got = n;
  return {};
}

Error Write(Handle h, const void* buffer, std::size_t size) {
  if (Error e; faults::Due(faults::Call::Write, &e)) return e;
  if (IsUnusable(h)) return {kNotOpenForOutput, false};
  const char* p = static_cast<const char*>(buffer);
  while (size > 0) {
    DWORD n = 0;
    DWORD want = static_cast<DWORD>(size < kMaxTransfer ? size : kMaxTransfer);
    if (!WriteFile(Win(h), p, want, &n, nullptr)) {
      // A standard output whose handle takes no writes has no usable
      // device bound to it, whatever the handle's value.
      if (GetLastError() == ERROR_INVALID_HANDLE && h == StdOutput())
        return {kNotOpenForOutput, false};
      return LastError();
    }
    // A device that takes nothing and reports no error has no room left.
    if (n == 0) return {static_cast<int>(ERROR_DISK_FULL), false};
    p += n;
    size -= n;
  }
  return {};
}

Error Close(Handle h) {
  if (Error e; faults::Due(faults::Call::Close, &e)) return e;
  if (!CloseHandle(Win(h))) return LastError();
  return {};
}

Error FileSize(const std::string& name, std::uint64_t* size) {
  *size = 0;
  if (Error e; faults::Due(faults::Call::Size, &e)) return e;
  // Read access only, and others may go on reading and writing: the query
  // works on a read-only file and on one another program is writing.
  HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return LastError();
  DWORD high = 0;
  SetLastError(NO_ERROR);
  DWORD low = GetFileSize(h, &high);
  // INVALID_FILE_SIZE is also the low half of a real length; only the
  // error number tells the two apart.
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    Error e = LastError();
    CloseHandle(h);
    return e;
  }
  *size = (static_cast<std::uint64_t>(high) << 32) | low;
  if (!CloseHandle(h)) return LastError();
  return {};
}

EntryKind Lookup(const std::string& name) {
  // The directory search reads '*' and '?' as a pattern and would report
  // whatever it matches first; such a name is no file of its own.
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return EntryKind::Missing;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(name.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return EntryKind::Missing;
  FindClose(h);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory
                                                            : EntryKind::File;
}

void Exit(int code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace os

#endif  // _WIN32
