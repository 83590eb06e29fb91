#include "runtime/failure.h"

#include <gtest/gtest.h>

#include "runtime/messages.h"

namespace {

TEST(IoErrorMessage, MapsKnownNumbersAndShowsOthers) {
  const struct {
    os::Error error;
    std::string message;
  } cases[] = {
      {{2, false}, std::string(rt::msg::kFileNotFound)},
      {{3, false}, std::string(rt::msg::kPathNotFound)},
      {{4, false}, std::string(rt::msg::kTooManyOpenFiles)},
      {{5, false}, std::string(rt::msg::kAccessDenied)},
      {{100, false}, std::string(rt::msg::kReadPastEnd)},
      {{101, false}, std::string(rt::msg::kDiskFull)},
      {{106, false}, std::string(rt::msg::kNotANumber)},
      {{32, false}, "I/O \x83\x47\x83\x89\x81\x5B (32)"},
      {{112, false}, "I/O \x83\x47\x83\x89\x81\x5B (112)"},
      {{123, false}, "I/O \x83\x47\x83\x89\x81\x5B (123)"},
      // A platform number never goes through the table: EIO (5) is not
      // "access denied".
      {{5, true}, "I/O \x83\x47\x83\x89\x81\x5B (5)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error.number);
    EXPECT_EQ(rt::IoErrorMessage(c.error), c.message);
  }
}

TEST(FailureReportText, FollowsTheTemplate) {
  EXPECT_EQ(rt::FailureReportText("EInOutError", "Rowpluck.exe", 0x4A3Fu, "abc"),
            "EInOutError \x82\xAA\x83\x82\x83\x57\x83\x85\x81\x5B\x83\x8B Rowpluck.exe \x82\xCC "
            "00004A3F \x82\xC5\x94\xAD\x90\xB6\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x42\r\nabc.\r\n");
  // Only a last byte "." suppresses the added one; an empty message gets none.
  EXPECT_EQ(rt::FailureReportText("K", "p", 0xFFFFFFFFu, "x.").substr(0, 1), "K");
  std::string dotted = rt::FailureReportText("K", "p", 0xFFFFFFFFu, "x.");
  EXPECT_EQ(dotted.substr(dotted.size() - 4), "x.\r\n");
  EXPECT_NE(dotted.find("FFFFFFFF"), std::string::npos);
  std::string empty = rt::FailureReportText("K", "p", 1u, "");
  EXPECT_EQ(empty.substr(empty.size() - 4), "\r\n\r\n");
}

}  // namespace
