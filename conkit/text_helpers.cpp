#include "conkit/text_helpers.h"

#include "platform/os.h"
#include "runtime/text.h"

namespace conkit {

std::string PadNumber(std::int64_t value, int width, char pad) {
  std::string text = rt::IntToText(value);
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    text.insert(0, static_cast<std::size_t>(width) - text.size(), pad);
  return text;
}

std::string PadNumberBlank(std::int64_t value, int width) { return PadNumber(value, width, ' '); }

std::string AddOrChangeExt(std::string_view name, std::string_view ext) {
  return AddOrChangeExt(name, ext, os::SlashIsPathSeparator());
}

std::string AddOrChangeExt(std::string_view name, std::string_view ext, bool slashSeparates) {
  if (rt::Extension(name, slashSeparates) == ext) return std::string(name) + std::string(ext);
  return rt::ChangeExtension(name, ext, slashSeparates);
}

}  // namespace conkit
