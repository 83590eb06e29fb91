// Fuzz target: the file-name rules (second bytes of double-byte characters,
// file-name part, extension, change of extension), the default output name
// (conkit::AddOrChangeExt) with both separator sets, and the case rules,
// against the model.
//
// Input: the first byte chooses the separator set (bit 0: '/' separates)
// and whether an extension of the input's own is tried (bit 1: the bytes
// after the last zero byte, behind a "."); the rest is the name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conkit/text_helpers.h"
#include "fuzz/file_name_model.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/option_value_model.h"
#include "platform/os.h"
#include "runtime/text.h"

namespace {

using fuzzcheck::Escaped;

struct KnownName {
  const char* name;
  bool slashSeparates;
  const char* extension;
  const char* output;
};

// Known default names, checked once at start so that the model itself is
// held to the rules before it judges the product.
void CheckKnownNames() {
  const KnownName kCases[] = {
      {"data.txt", false, ".txt", "data.csv"},
      {"data", false, "", "data.csv"},
      {"data.CSV", false, ".CSV", "data.csv"},
      {"data.csv", false, ".csv", "data.csv.csv"},
      {"data.csv.bak", false, ".bak", "data.csv.csv"},
      {"data.", false, ".", "data.csv"},
      {"a.b.c", false, ".c", "a.b.csv"},
      {".csv", false, ".csv", ".csv.csv"},
      {"dir.old\\data", false, "", "dir.old\\data.csv"},
      {"x.csv\\y", false, "", "x.csv\\y.csv"},
      {"C:data", false, "", "C:data.csv"},
      {"..\\data", false, "", "..\\data.csv"},
      {"sub.dir/data", false, ".dir/data", "sub.csv"},
      {"\x95\x5C.txt", false, ".txt", "\x95\x5C.csv"},                    // 表.txt
      {"\x95\x5C", false, "", "\x95\x5C.csv"},                            // 表
      {"data.\x83\x5C", false, ".\x83\x5C", "data.csv"},                  // data.ソ
      {"\x83\x5C\x83\x74\x83\x67.\x95\x5C\x8E\xA6", false, ".\x95\x5C\x8E\xA6",
       "\x83\x5C\x83\x74\x83\x67.csv"},                                   // ソフト.表示
      {"C:\\\x83\x5C\x83\x74\x83\x67\\data", false, "",
       "C:\\\x83\x5C\x83\x74\x83\x67\\data.csv"},                         // C:\ソフト\data
      {"./data", true, "", "./data.csv"},
      {"sub.dir/data", true, "", "sub.dir/data.csv"},
      {"/tmp/in.txt", true, ".txt", "/tmp/in.csv"},
      {"data.\x83\x5C", true, ".\x83\x5C", "data.csv"},
  };
  for (const KnownName& c : kCases) {
    const std::string where = Escaped(c.name) + (c.slashSeparates ? " with '/'" : " without '/'");
    std::string modelExt = model::Extension(c.name, c.slashSeparates);
    FUZZ_CHECK(modelExt == c.extension, "model, known extension of " + where + ": got " +
                                            Escaped(modelExt) + ", want " + Escaped(c.extension));
    std::string_view productExt = rt::Extension(c.name, c.slashSeparates);
    FUZZ_CHECK(productExt == c.extension, "product, known extension of " + where + ": got " +
                                              Escaped(productExt) + ", want " +
                                              Escaped(c.extension));
    std::string modelOut = model::AddOrChangeExt(c.name, ".csv", c.slashSeparates);
    FUZZ_CHECK(modelOut == c.output, "model, known output name of " + where + ": got " +
                                         Escaped(modelOut) + ", want " + Escaped(c.output));
    std::string productOut = conkit::AddOrChangeExt(c.name, ".csv", c.slashSeparates);
    FUZZ_CHECK(productOut == c.output, "product, known output name of " + where + ": got " +
                                           Escaped(productOut) + ", want " + Escaped(c.output));
  }
}

void CheckSecondBytes(std::string_view name) {
  const std::vector<bool> want = model::SecondBytes(name);
  for (std::size_t i = 0; i <= name.size(); ++i) {
    bool got = rt::IsTrailByteAt(name, i);
    bool expected = i < name.size() && want[i];
    FUZZ_CHECK(got == expected, "IsTrailByteAt(" + Escaped(name) + ", " + std::to_string(i) +
                                    ") = " + std::to_string(got) + ", model " +
                                    std::to_string(expected));
  }
}

void CheckNameRules(std::string_view name, std::string_view ext, bool slash) {
  const std::string where = "(" + Escaped(name) + ", " + Escaped(ext) +
                            (slash ? ", '/' separates)" : ", '/' does not separate)");

  std::string_view part = rt::FileNamePart(name, slash);
  std::string wantPart = model::FileNamePart(name, slash);
  FUZZ_CHECK(part == wantPart, "FileNamePart" + where + " = " + Escaped(part) + ", model " +
                                   Escaped(wantPart));

  std::string_view extension = rt::Extension(name, slash);
  std::string wantExtension = model::Extension(name, slash);
  FUZZ_CHECK(extension == wantExtension, "Extension" + where + " = " + Escaped(extension) +
                                             ", model " + Escaped(wantExtension));

  std::string changed = rt::ChangeExtension(name, ext, slash);
  std::string wantChanged = model::ChangeExtension(name, ext, slash);
  FUZZ_CHECK(changed == wantChanged, "ChangeExtension" + where + " = " + Escaped(changed) +
                                         ", model " + Escaped(wantChanged));

  std::string output = conkit::AddOrChangeExt(name, ext, slash);
  std::string wantOutput = model::AddOrChangeExt(name, ext, slash);
  FUZZ_CHECK(output == wantOutput, "AddOrChangeExt" + where + " = " + Escaped(output) +
                                       ", model " + Escaped(wantOutput));
}

// The default output name ends in ".csv" and lies beside the input.
void CheckDefaultOutputName(std::string_view name, bool slash) {
  const std::string where = "(" + Escaped(name) + (slash ? ", '/' separates)" : ", '/' does not separate)");
  std::string output = conkit::AddOrChangeExt(name, ".csv", slash);
  FUZZ_CHECK(output.size() >= 4 && output.compare(output.size() - 4, 4, ".csv") == 0,
             "AddOrChangeExt" + where + " = " + Escaped(output) + " does not end in .csv");
  std::string directory = model::DirectoryPart(name, slash);
  FUZZ_CHECK(output.compare(0, directory.size(), directory) == 0 &&
                 model::DirectoryPart(output, slash) == directory,
             "AddOrChangeExt" + where + " = " + Escaped(output) + " leaves the directory " +
                 Escaped(directory));
  // Only the extension changes: the name before it is kept whole.
  std::string stem(name.substr(0, name.size() - model::Extension(name, slash).size()));
  FUZZ_CHECK(output.compare(0, stem.size(), stem) == 0,
             "AddOrChangeExt" + where + " = " + Escaped(output) + " does not keep " + Escaped(stem));
}

void CheckCase(std::string_view text) {
  std::string lower = rt::LowerCp932(text);
  std::string wantLower = model::LowerCp932(text);
  FUZZ_CHECK(lower == wantLower, "LowerCp932(" + Escaped(text) + ") = " + Escaped(lower) +
                                     ", model " + Escaped(wantLower));
  FUZZ_CHECK(rt::LowerCp932(lower) == lower, "LowerCp932 of " + Escaped(lower) + " changes it again");

  std::string upper = rt::UpperAscii(text);
  std::string wantUpper = model::UpperKey(text);
  FUZZ_CHECK(upper == wantUpper, "UpperAscii(" + Escaped(text) + ") = " + Escaped(upper) +
                                     ", model " + Escaped(wantUpper));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CheckKnownNames();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool slash = (data[0] & 1) != 0;
  const bool ownExtension = (data[0] & 2) != 0;
  std::string_view name(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string ext = ".csv";
  if (ownExtension) {
    std::size_t zero = name.rfind('\0');
    if (zero != std::string_view::npos) {
      ext = "." + std::string(name.substr(zero + 1));
      name = name.substr(0, zero);
    }
  }

  CheckSecondBytes(name);
  CheckNameRules(name, ext, slash);
  CheckDefaultOutputName(name, slash);
  CheckDefaultOutputName(name, !slash);
  FUZZ_CHECK(conkit::AddOrChangeExt(name, ".csv") ==
                 conkit::AddOrChangeExt(name, ".csv", os::SlashIsPathSeparator()),
             "AddOrChangeExt(" + Escaped(name) + ") ignores the platform's separators");
  CheckCase(name);
  return 0;
}
