// The console utility library's fixed texts, as Shift-JIS bytes. The UTF-8
// comment above each constant shows what it says.
#ifndef ROWPLUCK_CONKIT_MESSAGES_H
#define ROWPLUCK_CONKIT_MESSAGES_H

#include <string_view>

namespace conkit::msg {

// パラメータが足りません。
inline constexpr std::string_view kTooFewParams =
    "\x83\x70\x83\x89\x83\x81\x81\x5B\x83\x5E\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";
// パラメータが多すぎます。
inline constexpr std::string_view kTooManyParams =
    "\x83\x70\x83\x89\x83\x81\x81\x5B\x83\x5E\x82\xAA\x91\xBD\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81\x42";
// ファイルが見つかりません。 (after the label)
inline constexpr std::string_view kFileMissing =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
    "\x81\x42";
// ファイルがゼロバイトです。 (after the label)
inline constexpr std::string_view kFileEmpty =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x83\x5B\x83\x8D\x83\x6F\x83\x43\x83\x67\x82\xC5\x82\xB7"
    "\x81\x42";
//  を上書きしますか? (Yes/No):  (after the file name)
inline constexpr std::string_view kOverwriteQuestion =
    " \x82\xF0\x8F\xE3\x8F\x91\x82\xAB\x82\xB5\x82\xDC\x82\xB7\x82\xA9? (Yes/No):";
// パラメータを再指定して実行してください。
inline constexpr std::string_view kGiveParamsAgain =
    "\x83\x70\x83\x89\x83\x81\x81\x5B\x83\x5E\x82\xF0\x8D\xC4\x8E\x77\x92\xE8\x82\xB5\x82\xC4\x8E\xC0"
    "\x8D\x73\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42";

// The banner's fixed parts.
inline constexpr std::string_view kVersionMiddle = ".exe\" for command-prompt of WindowsXP  version ";
inline constexpr std::string_view kMismatchOpen = "( \"";
inline constexpr std::string_view kMismatchClose = "\" is not original name )";
inline constexpr std::string_view kRightsPrefix = "Copyright (C) ";
inline constexpr std::string_view kReferenceYear = "2006";
inline constexpr std::string_view kRightsHolder = " Rowpluck Developers. All rights reserved.";

}  // namespace conkit::msg

#endif  // ROWPLUCK_CONKIT_MESSAGES_H
