// The seven lines printed after a run: both file names and the five
// counters, right-aligned to the width of InputCount.
#ifndef ROWPLUCK_APP_SUMMARY_H
#define ROWPLUCK_APP_SUMMARY_H

#include <string>
#include <vector>

#include "app/run_state.h"

namespace app {

std::vector<std::string> RunSummaryLines(const std::string& inputName,
                                         const std::string& outputName, const RunState& state);

void WriteRunSummary(const std::string& inputName, const std::string& outputName,
                     const RunState& state);

}  // namespace app

#endif  // ROWPLUCK_APP_SUMMARY_H
