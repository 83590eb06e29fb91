#include "tests/e2e/harness.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {
namespace {

std::string Env(const char* name, const char* fallback = "") {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}

std::vector<std::string> SplitWords(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::string Convert(const std::string& bytes, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  std::string out(bytes.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* o = out.data();
  std::size_t outLeft = out.size();
  std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) return bytes;  // not convertible: as it is
  out.resize(out.size() - outLeft);
  return out;
}

void ListInto(const std::string& root, const std::string& rel, Files& files) {
  DIR* d = opendir((root + "/" + rel).c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    std::string relName = rel.empty() ? name : rel + "/" + name;
    std::string full = root + "/" + relName;
    struct stat st;
    if (lstat(full.c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      ListInto(root, relName, files);
    } else if (S_ISREG(st.st_mode)) {
      std::string key = WindowsTarget() ? Convert(relName, "UTF-8", "CP932") : relName;
      files[key] = ReadFile(full);
    }
  }
  closedir(d);
}

void RemoveTree(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    chmod(path.c_str(), 0700);
    if (DIR* d = opendir(path.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name != "." && name != "..") RemoveTree(path + "/" + name);
      }
      closedir(d);
    }
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

// Waits until `pid` sits in read(0, ...): it is then waiting for its answer
// (the question itself may still be in its output buffer).
void WaitUntilReadingStdin(pid_t pid) {
  const std::string path = "/proc/" + std::to_string(pid) + "/syscall";
  for (int i = 0; i < 5000; ++i) {
    std::string s = ReadFile(path);
    if (s.rfind("0 0x0 ", 0) == 0) return;  // syscall 0 (read) on descriptor 0
    usleep(2000);
  }
  throw std::runtime_error("the program never read its standard input");
}

}  // namespace

bool WindowsTarget() { return Env("ROWPLUCK_TARGET") == "windows"; }

std::string ProgramFileName() {
  std::string exe = Env("ROWPLUCK_EXE");
  std::size_t slash = exe.find_last_of('/');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

std::string HostName(const std::string& sjisName) {
  return WindowsTarget() ? Convert(sjisName, "CP932", "UTF-8") : sjisName;
}

std::string TargetPath(const std::string& hostPath) {
  if (!WindowsTarget()) return hostPath;
  std::string out = "Z:" + hostPath;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string MakeWorkdir() {
  std::string base = Env("TMPDIR", "/tmp");
  std::string templ = base + "/rowpluck-e2e.XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  return buf.data();
}

void Cleanup(const std::string& dir) { RemoveTree(dir); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

Files ListFiles(const std::string& dir) {
  Files files;
  ListInto(dir, "", files);
  return files;
}

Result RunIn(const std::string& dir, const Run& run) {
  const std::string capture = MakeWorkdir();
  const std::string outPath = capture + "/stdout", errPath = capture + "/stderr",
                    inPath = capture + "/stdin";
  WriteFile(inPath, run.stdinBytes);

  std::vector<std::string> argv = SplitWords(Env("ROWPLUCK_LAUNCHER"));
  argv.push_back(run.exe.empty() ? Env("ROWPLUCK_EXE") : run.exe);
  for (const std::string& a : run.args) argv.push_back(HostName(a));
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  int pipeFds[2] = {-1, -1};
  if (run.whenAsked && pipe(pipeFds) != 0) throw std::runtime_error("pipe");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    int in = run.whenAsked ? pipeFds[0]
             : run.stdinMode == Stdin::Bytes ? open(inPath.c_str(), O_RDONLY)
                                             : open("/dev/null", O_RDONLY);
    if (run.whenAsked) close(pipeFds[1]);
    int out = run.stdoutMode == Stdout::DevFull
                  ? open("/dev/full", O_WRONLY)
                  : open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (int fd : {in, out, err})
      if (fd > 2) close(fd);
    if (run.stdinMode == Stdin::Closed) close(0);
    if (run.stdoutMode == Stdout::Closed) close(1);
    signal(SIGPIPE, SIG_DFL);
    if (!run.faults.empty()) setenv("ROWPLUCK_FAULTS", run.faults.c_str(), 1);
    execvp(cargv[0], cargv.data());
    _exit(127);
  }
  if (run.whenAsked) {
    close(pipeFds[0]);
    WaitUntilReadingStdin(pid);
    run.whenAsked();
    if (!run.stdinBytes.empty() &&
        write(pipeFds[1], run.stdinBytes.data(), run.stdinBytes.size()) < 0)
      throw std::runtime_error("write to stdin");
    close(pipeFds[1]);
  }
  Result r;
  int status = 0;
  const std::time_t deadline = std::time(nullptr) + 120;
  for (;;) {
    pid_t got = waitpid(pid, &status, WNOHANG);
    if (got == pid) break;
    if (std::time(nullptr) > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      r.err = "(killed after 120 s)";
      break;
    }
    usleep(2000);
  }
  if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
  else if (WIFSIGNALED(status)) r.exitCode = 128 + WTERMSIG(status);
  r.out = ReadFile(outPath);
  r.err += ReadFile(errPath);
  RemoveTree(capture);
  return r;
}

std::string Escape(const std::string& bytes) {
  std::string out;
  char buf[8];
  for (unsigned char c : bytes) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n\n";
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string NormalizeReport(const std::string& err) {
  // The location is the only eight-hex-digit field followed by a blank and
  // the lead byte of the closing words.
  const std::string marker = " \x82\xCC ";  // " の "
  std::size_t at = err.find(marker);
  if (at == std::string::npos || at + marker.size() + 8 > err.size()) return err;
  std::string out = err;
  for (std::size_t i = 0; i < 8; ++i) {
    char c = out[at + marker.size() + i];
    bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (!hex) return err;
    out[at + marker.size() + i] = '0';
  }
  return out;
}

}  // namespace e2e
