#include "app/summary.h"

#include "app/messages.h"
#include "conkit/text_helpers.h"
#include "runtime/console.h"
#include "runtime/text.h"

namespace app {

std::vector<std::string> RunSummaryLines(const std::string& inputName,
                                         const std::string& outputName, const RunState& state) {
  // Every other counter is at most InputCount, so none is wider.
  const int width = static_cast<int>(rt::IntToText(state.InputCount).size());
  auto counter = [&](std::string_view label, std::int64_t value) {
    return std::string(label) + conkit::PadNumberBlank(value, width);
  };
  return {
      std::string(msg::kSummaryInputFile) + inputName,
      counter(msg::kSummaryInputCount, state.InputCount),
      counter(msg::kSummarySkipped, state.SkippedCount),
      counter(msg::kSummaryInvalidSkip, state.InvalidSkipCount),
      counter(msg::kSummaryUnwritten, state.UnwrittenCount),
      counter(msg::kSummaryOutputCount, state.OutputCount),
      std::string(msg::kSummaryOutputFile) + outputName,
  };
}

void WriteRunSummary(const std::string& inputName, const std::string& outputName,
                     const RunState& state) {
  for (const std::string& line : RunSummaryLines(inputName, outputName, state))
    rt::WriteConsoleLine(line);
}

}  // namespace app
