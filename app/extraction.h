// Record extraction: skips leading lines, cuts the item window out of every
// further line and writes each non-empty window as a line of the output,
// counting what it did in the RunState.
//
// The input streams through as blocks; no line is ever held whole, so
// memory stays the same whatever the line length.
#ifndef ROWPLUCK_APP_EXTRACTION_H
#define ROWPLUCK_APP_EXTRACTION_H

#include <cstdint>

#include "app/run_state.h"
#include "runtime/textfile.h"

namespace app {

// Where the extraction stands between two blocks of input.
struct Extractor {
  enum class Mode {
    BetweenLines,  // the next byte starts a line, unless it ends the input
    PassLine,      // nothing more of this line is written
    SkipItems,     // passing over the leading items of the line
    Window,        // copying the window
  };
  RunState* state = nullptr;
  Mode mode = Mode::BetweenLines;
  bool recordLine = false;      // the line's end writes it or counts it invalid
  bool windowHasBytes = false;  // a byte of the window has been written
  bool ended = false;           // a 0x1A has ended the input
  std::int64_t commasLeft = 0;  // commas still to pass before the window
  std::int64_t commasInWindow = 0;
};

void BeginExtraction(Extractor& ex, RunState& state);

// Takes input bytes from [begin, end) and returns where it stopped: at
// `end`, or at a 0x1A, which ends the input (ex.ended is then set).
const char* ExtractBlock(Extractor& ex, const char* begin, const char* end, rt::ByteSink& out);

// The input is at its end: finishes a line that has no line end.
void FinishExtraction(Extractor& ex, rt::ByteSink& out);

// Reads `input` to its end and writes the windows to `output`.
void RunExtraction(rt::InputFile& input, rt::OutputFile& output, RunState& state);

}  // namespace app

#endif  // ROWPLUCK_APP_EXTRACTION_H
