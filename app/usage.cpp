#include "app/usage.h"

#include "app/messages.h"
#include "conkit/banner.h"
#include "runtime/console.h"

namespace app {

void ShowUsage() {
  const std::string_view rows[] = {
      "",
      msg::kUsagePurpose,
      "",
      msg::kUsageCall,
      "",
      msg::kUsageSkipLines,
      msg::kUsageSkipItems,
      msg::kUsageOutputLines,
      msg::kUsageOutputItems,
      "",
      msg::kUsageDefaultOutput,
      msg::kUsageCsvInput,
      "",
  };
  for (std::string_view row : rows) rt::WriteConsoleLine(row);
  conkit::WriteVersionLine(msg::kProgramName, msg::kMajorVersion, msg::kMinorVersion, "");
  conkit::WriteNameMismatchNotice(msg::kProgramName);
  conkit::WriteRightsNotice(msg::kFirstYear);
}

}  // namespace app
