// Rowpluck's entry point and main sequence.
#ifndef ROWPLUCK_APP_ROWPLUCK_H
#define ROWPLUCK_APP_ROWPLUCK_H

namespace app {

// Runs the main sequence once, stage by stage; every way out ends the
// process.
[[noreturn]] void Main();

// Prepares the process (platform, memory, arguments), then runs Main.
[[noreturn]] void Start(int argc, const char* const* argv);

}  // namespace app

#endif  // ROWPLUCK_APP_ROWPLUCK_H
