// POSIX implementation of the platform layer. The whole file is compiled
// only when the target is not Windows.
#ifndef _WIN32

#include "platform/os.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/faults.h"

namespace os {
namespace {

// errno onto the Windows numbers that the tool's messages are keyed by. Any
// other errno keeps its own number and is shown only as a number: EIO is 5
// here and must never read as "access denied".
Error FromErrno(int e, Handle h = kNoHandle) {
  switch (e) {
    case ENOENT: return {2, false};
    case ENOTDIR: return {3, false};
    case EMFILE:
    case ENFILE: return {4, false};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return {5, false};
    case EBUSY:
    case ETXTBSY: return {32, false};
    case ENOSPC:
    case EDQUOT: return {112, false};
    case EPIPE: return {109, false};
    case EBADF:
      if (h == STDOUT_FILENO) return {105, false};
      return {e, true};
    default: return {e == 0 ? EIO : e, true};
  }
}

int Fd(Handle h) { return static_cast<int>(h); }

}  // namespace

void Init() {
  // A descriptor 0, 1 or 2 closed by the caller would be handed out again by
  // the next open, and console text would then land in a data file. Taking
  // each free slot with a read-only /dev/null makes console writes fail
  // instead (and makes a closed standard input read as empty).
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    int got = open("/dev/null", O_RDONLY);
    if (got != -1 && got != fd) close(got);
  }
  // A reader that has gone must make the write fail, so that the run ends
  // with a failure report instead of a silent kill.
  signal(SIGPIPE, SIG_IGN);
}

bool CommandLineText(std::string*) { return false; }

std::string ExecutablePath() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return "Rowpluck";
  return std::string(buf, static_cast<std::size_t>(n));
}

bool SlashIsPathSeparator() { return true; }
const char* ExecutableSuffix() { return ""; }
bool AbsolutePathsBeginWithSlash() { return true; }

Handle StdInput() { return STDIN_FILENO; }
Handle StdOutput() { return STDOUT_FILENO; }
Handle StdError() { return STDERR_FILENO; }
bool IsConsole(Handle h) { return isatty(Fd(h)) == 1; }

Error CheckOutputHandle(Handle h) {
  // A descriptor closed at start holds the read-only /dev/null of Init.
  int fl = fcntl(Fd(h), F_GETFL);
  if (fl == -1 || (fl & O_ACCMODE) == O_RDONLY) return {105, false};
  return {};
}

// Opens without blocking (a FIFO with no writer must not hang the tool),
// then returns the descriptor to blocking reads.
static int OpenNonBlocking(const std::string& name, int flags) {
  int fd;
  do {
    fd = open(name.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  } while (fd == -1 && errno == EINTR);
  if (fd == -1) return -1;
  int fl = fcntl(fd, F_GETFL);
  if (fl != -1) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  return fd;
}

Error OpenInput(const std::string& name, Handle* out) {
  *out = kNoHandle;
  if (Error e; faults::Due(faults::Call::Open, &e)) return e;
  if (name.empty()) return {2, false};
  int fd = OpenNonBlocking(name, O_RDONLY);
  if (fd == -1) return FromErrno(errno);
  *out = fd;
  return {};
}

Error CreateOutput(const std::string& name, Handle input, Handle* out) {
  *out = kNoHandle;
  if (Error e; faults::Due(faults::Call::Create, &e)) return e;
  if (name.empty()) return {2, false};
  // No O_TRUNC: the file is cut only after it is known not to be the input.
  int fd = OpenNonBlocking(name, O_WRONLY | O_CREAT);
  if (fd == -1) return FromErrno(errno);
  struct stat outSt, inSt;
  if (fstat(fd, &outSt) != 0) {
    Error e = FromErrno(errno);
    close(fd);
    return e;
  }
  if (input != kNoHandle && fstat(Fd(input), &inSt) == 0 &&
      inSt.st_dev == outSt.st_dev && inSt.st_ino == outSt.st_ino) {
    close(fd);
    return {32, false};  // the input is open: as a sharing violation
  }
  // An empty file is left as it is: cutting it changes nothing, but on
  // some file systems (ext4) a cut to length 0 makes the close write the
  // whole new content out at once, which costs as much as the copy itself.
  if (S_ISREG(outSt.st_mode) && outSt.st_size != 0 && ftruncate(fd, 0) != 0) {
    Error e = FromErrno(errno);
    close(fd);
    return e;
  }
  // An existing empty file still shows that it was written anew, even when
  // nothing is written to it, as the cut would have shown.
  if (S_ISREG(outSt.st_mode) && outSt.st_size == 0) futimens(fd, nullptr);
  *out = fd;
  return {};
}

Error Read(Handle h, void* buffer, std::size_t size, std::size_t* got) {
  *got = 0;
  if (Error e; faults::Due(faults::Call::Read, &e)) return e;
  for (;;) {
    ssize_t n = read(Fd(h), buffer, size);
    if (n >= 0) {
      *got = static_cast<std::size_t>(n);
      return {};
    }
    if (errno == EINTR) continue;
    if (errno == EPIPE || errno == ECONNRESET) return {};  // a broken pipe is the end
    return FromErrno(errno, h);
  }
}

Error Write(Handle h, const void* buffer, std::size_t size) {
  if (Error e; faults::Due(faults::Call::Write, &e)) return e;
  const char* p = static_cast<const char*>(buffer);
  while (size > 0) {
    ssize_t n = write(Fd(h), p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FromErrno(errno, h);
    }
    if (n == 0) return {112, false};
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return {};
}

Error Close(Handle h) {
  if (Error e; faults::Due(faults::Call::Close, &e)) return e;
  if (close(Fd(h)) != 0 && errno != EINTR) return FromErrno(errno, h);
  return {};
}

Error FileSize(const std::string& name, std::uint64_t* size) {
  *size = 0;
  if (Error e; faults::Due(faults::Call::Size, &e)) return e;
  int fd = OpenNonBlocking(name, O_RDONLY);
  if (fd == -1) return FromErrno(errno);
  struct stat st;
  if (fstat(fd, &st) != 0) {
    Error e = FromErrno(errno);
    close(fd);
    return e;
  }
  *size = static_cast<std::uint64_t>(st.st_size);
  if (close(fd) != 0 && errno != EINTR) return FromErrno(errno);
  return {};
}

EntryKind Lookup(const std::string& name) {
  struct stat st;
  if (name.empty() || stat(name.c_str(), &st) != 0) return EntryKind::Missing;
  return S_ISDIR(st.st_mode) ? EntryKind::Directory : EntryKind::File;
}

void Exit(int code) { _exit(code); }

}  // namespace os

#endif  // _WIN32
