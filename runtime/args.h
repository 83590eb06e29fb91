// The command-line arguments: index 0 is the full path of the running
// executable, 1 to ArgCount() the arguments after the program name.
#ifndef ROWPLUCK_RUNTIME_ARGS_H
#define ROWPLUCK_RUNTIME_ARGS_H

#include <string>
#include <string_view>
#include <vector>

namespace rt {

// Splits a whole command line (program name first) by the console rules:
// code page 932 double-byte characters, blanks and control bytes between
// arguments, double-quoted sections, no escape character.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Arguments already split by a shell: empty ones are dropped and double
// quotes removed, so that none is empty and none holds a quote, as on the
// console. The program name (argv[0]) is not included.
std::vector<std::string> ArgumentsFromArgv(int argc, const char* const* argv);

// Takes the arguments once, at start: from the platform's command line when
// it has one, from argv otherwise.
void InitArguments(int argc, const char* const* argv);

int ArgCount();
const std::string& Arg(int index);

}  // namespace rt

#endif  // ROWPLUCK_RUNTIME_ARGS_H
