// Runs the built Rowpluck in a fresh folder and captures everything it does,
// so that cases compare stdout, stderr, exit code and files as exact bytes.
//
// ROWPLUCK_EXE names the binary; ROWPLUCK_LAUNCHER, when set, is a command
// put in front of it (e.g. "wine"); ROWPLUCK_TARGET=windows says the binary
// is the Windows build.
#ifndef ROWPLUCK_TESTS_E2E_HARNESS_H
#define ROWPLUCK_TESTS_E2E_HARNESS_H

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace e2e {

enum class Stdin { Null, Bytes, Closed };
enum class Stdout { File, Closed, DevFull };

struct Run {
  std::vector<std::string> args;
  Stdin stdinMode = Stdin::Null;
  std::string stdinBytes;
  Stdout stdoutMode = Stdout::File;
  // When set, standard input is a pipe: once the program waits for its
  // answer, this runs, then stdinBytes are written and the pipe closed.
  std::function<void()> whenAsked;
  std::string exe;  // another binary than ROWPLUCK_EXE
  std::string faults;  // ROWPLUCK_FAULTS for the binary with the fault seam
};

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

using Files = std::map<std::string, std::string>;  // name -> bytes

bool WindowsTarget();

// The program's file name as the failure report shows it.
std::string ProgramFileName();

// A name as the host file system spells it: Shift-JIS names become UTF-8
// for the Windows build under Wine, which converts them.
std::string HostName(const std::string& sjisName);

// A host path as the program spells it: Z:\tmp\x for the Windows build
// under Wine, which maps the drive Z: onto the host's root.
std::string TargetPath(const std::string& hostPath);

// A fresh folder, removed by Cleanup() unless a case failed.
std::string MakeWorkdir();
void Cleanup(const std::string& dir);

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// All regular files below `dir` (names relative to it, Shift-JIS as on the
// host), with their bytes.
Files ListFiles(const std::string& dir);

Result RunIn(const std::string& dir, const Run& run);

// Bytes printed safely, for failure messages.
std::string Escape(const std::string& bytes);

// The failure report with its location field blanked to 00000000.
std::string NormalizeReport(const std::string& err);

}  // namespace e2e

#endif  // ROWPLUCK_TESTS_E2E_HARNESS_H
