// Checks a console tool runs before it does any work. A guard either
// returns or refuses: it writes its message as a console line and ends the
// process with exit code 99. A failed operation inside a guard is no
// refusal: it ends the run with the failure report.
#ifndef ROWPLUCK_CONKIT_GUARDS_H
#define ROWPLUCK_CONKIT_GUARDS_H

#include <cstdint>
#include <string>
#include <string_view>

namespace conkit {

inline constexpr int kRefusalExitCode = 99;

// No arguments, or argument 1 begins with "/?" or "?".
bool IsHelpRequest();

void CheckParamCount(int smallest, int largest);

// Refuses when `name` is no existing file (a directory counts as missing).
void CheckFileExists(const std::string& name, std::string_view label);

// Refuses when the file is empty; returns its length otherwise.
std::uint64_t CheckFileNotEmpty(const std::string& name, std::string_view label);

// When `name` exists, asks on the console and reads one line of standard
// input; refuses unless the answer is Y or y.
void ConfirmOverwrite(const std::string& name);

// Whether an answer to the overwrite question confirms it.
bool IsConfirmation(std::string_view answer);

// Writes `message` as a console line and ends with exit code 99.
[[noreturn]] void Refuse(std::string_view message);

}  // namespace conkit

#endif  // ROWPLUCK_CONKIT_GUARDS_H
