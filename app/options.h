// The four options that set the window: /SL, /SI, /OL and /OI.
#ifndef ROWPLUCK_APP_OPTIONS_H
#define ROWPLUCK_APP_OPTIONS_H

#include <cstdint>
#include <string_view>

#include "app/run_state.h"

namespace app {

// The number written after the argument's first three bytes; 0, silently,
// when the text is not a valid decimal or hexadecimal 32-bit number.
std::int32_t OptionValue(std::string_view argument);

// When `argument` begins with one of the four keys (letter case aside),
// stores its number in the matching setting; ignores it otherwise.
void ReadOptionText(std::string_view argument, RunState& state);

// The same for the command-line argument with the given index.
void ReadOption(int index, RunState& state);

}  // namespace app

#endif  // ROWPLUCK_APP_OPTIONS_H
