// The closing lines of a console tool's usage screen: the version line, the
// notice shown when the executable does not carry the tool's own name, and
// the rights notice.
#ifndef ROWPLUCK_CONKIT_BANNER_H
#define ROWPLUCK_CONKIT_BANNER_H

#include <string>
#include <string_view>

namespace conkit {

std::string VersionText(std::string_view name, std::string_view major, std::string_view minor,
                        std::string_view suffix, std::string_view extra);
void WriteVersionLine(std::string_view name, std::string_view major, std::string_view minor,
                      std::string_view suffix);

// Empty when `actualName` (the executable's file name) is `name` plus the
// platform's executable suffix, letter case aside.
std::string NameMismatchNotice(std::string_view name, std::string_view lead,
                               std::string_view actualName, std::string_view exeSuffix);
// The same for the running executable.
std::string NameMismatchNotice(std::string_view name, std::string_view lead);
void WriteNameMismatchNotice(std::string_view name);

std::string RightsText(std::string_view firstYear);
void WriteRightsNotice(std::string_view firstYear);

}  // namespace conkit

#endif  // ROWPLUCK_CONKIT_BANNER_H
