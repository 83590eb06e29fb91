#include "conkit/banner.h"

#include "conkit/messages.h"
#include "platform/os.h"
#include "runtime/args.h"
#include "runtime/console.h"
#include "runtime/text.h"

namespace conkit {

std::string VersionText(std::string_view name, std::string_view major, std::string_view minor,
                        std::string_view suffix, std::string_view extra) {
  std::string out = "\"";
  out += name;
  out += msg::kVersionMiddle;
  out += major;
  out += '.';
  out += minor;
  out += suffix;
  out += extra;
  return out;
}

void WriteVersionLine(std::string_view name, std::string_view major, std::string_view minor,
                      std::string_view suffix) {
  rt::WriteConsoleLine(VersionText(name, major, minor, suffix, ""));
}

std::string NameMismatchNotice(std::string_view name, std::string_view lead,
                               std::string_view actualName, std::string_view exeSuffix) {
  std::string expected(name);
  expected += exeSuffix;
  if (rt::LowerCp932(actualName) == rt::LowerCp932(expected)) return {};
  std::string out(lead);
  out += msg::kMismatchOpen;
  out += actualName;
  out += msg::kMismatchClose;
  return out;
}

std::string NameMismatchNotice(std::string_view name, std::string_view lead) {
  std::string_view actual = rt::FileNamePart(rt::Arg(0), os::SlashIsPathSeparator());
  return NameMismatchNotice(name, lead, actual, os::ExecutableSuffix());
}

void WriteNameMismatchNotice(std::string_view name) {
  std::string notice = NameMismatchNotice(name, " ");
  if (!notice.empty()) rt::WriteConsoleLine(notice);
}

std::string RightsText(std::string_view firstYear) {
  std::string out(msg::kRightsPrefix);
  out += firstYear;
  if (firstYear != msg::kReferenceYear) {
    out += '-';
    out += msg::kReferenceYear;
  }
  out += msg::kRightsHolder;
  return out;
}

void WriteRightsNotice(std::string_view firstYear) {
  rt::WriteConsoleLine(" " + RightsText(firstYear));
}

}  // namespace conkit
