// Number padding and the default output name.
#ifndef ROWPLUCK_CONKIT_TEXT_HELPERS_H
#define ROWPLUCK_CONKIT_TEXT_HELPERS_H

#include <cstdint>
#include <string>
#include <string_view>

namespace conkit {

// The number's decimal text, preceded by as many `pad` bytes as the width
// exceeds its length; never shortened.
std::string PadNumber(std::int64_t value, int width, char pad);
std::string PadNumberBlank(std::int64_t value, int width);

// `name` with its extension changed to `ext`; when its extension already is
// `ext` (byte for byte), `ext` is appended once more. The directory part
// stays, so the result lies beside the named file. The first form uses the
// platform's separators.
std::string AddOrChangeExt(std::string_view name, std::string_view ext);
std::string AddOrChangeExt(std::string_view name, std::string_view ext, bool slashSeparates);

}  // namespace conkit

#endif  // ROWPLUCK_CONKIT_TEXT_HELPERS_H
