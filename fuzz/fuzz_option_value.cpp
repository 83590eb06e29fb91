// Fuzz target: an option's number (app::OptionValue) and the choice of the
// setting it goes to (app::ReadOptionText), against the model.
//
// The input is tried as a whole argument and, so that the fuzzer need not
// find a key first, as the text after "/SL".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/options.h"
#include "app/run_state.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/option_value_model.h"

namespace {

using fuzzcheck::Escaped;

struct KnownValue {
  std::string_view argument;
  std::int32_t value;
};

// Known values, checked once at start so that the model itself is held to
// the rules before it judges the product.
void CheckKnownValues() {
  using namespace std::string_view_literals;
  const KnownValue kCases[] = {
      {"/SL10", 10},
      {"/sl10", 10},
      {"/Sl10", 10},
      {"/SL", 0},
      {"/SL007", 7},
      {"/SL+5", 5},
      {"/SL-5", -5},
      {"/SL 5", 5},
      {"/SL   5", 5},
      {"/SL5 ", 0},
      {"/SL\t5", 0},
      {"/SL$1F", 31},
      {"/SLx1F", 31},
      {"/SLX1f", 31},
      {"/SL0x1F", 31},
      {"/SL0X1f", 31},
      {"/SL-$10", -16},
      {"/SL-x10", -16},
      {"/SL-0x10", -16},
      {"/SL$FFFFFFFF", -1},
      {"/SL-$FFFFFFFF", 1},
      {"/SL$80000000", -2147483647 - 1},
      {"/SL-$80000000", -2147483647 - 1},
      {"/SL$100000000", 0},
      {"/SL$0000000001", 1},
      {"/SL$000000000FFFFFFFF", -1},
      {"/SL2147483647", 2147483647},
      {"/SL2147483648", 0},
      {"/SL-2147483648", -2147483647 - 1},
      {"/SL-2147483649", 0},
      {"/SL0000000000002147483647", 2147483647},
      {"/SL99999999999999999999", 0},
      {"/SL1,000", 0},
      {"/SL1.5", 0},
      {"/SL1e3", 0},
      {"/SL--5", 0},
      {"/SL+-5", 0},
      {"/SL- 5", 0},
      {"/SL$", 0},
      {"/SLx", 0},
      {"/SL0x", 0},
      {"/SL00x5", 0},
      {"/SL$-5", 0},
      {"/SL\x82\x54", 0},  // full-width 5
      {"/SLOW", 0},
      {"/OIx10", 16},
      {"/S5", 0},
      {"/SL5\0"sv, 0},
  };
  for (const KnownValue& c : kCases) {
    std::int32_t fromModel = model::OptionValue(c.argument);
    FUZZ_CHECK(fromModel == c.value, "model, known value " + Escaped(c.argument) + ": got " +
                                         std::to_string(fromModel) + ", want " +
                                         std::to_string(c.value));
    std::int32_t fromProduct = app::OptionValue(c.argument);
    FUZZ_CHECK(fromProduct == c.value, "product, known value " + Escaped(c.argument) +
                                           ": got " + std::to_string(fromProduct) + ", want " +
                                           std::to_string(c.value));
  }
}

void CheckValue(std::string_view argument) {
  std::int32_t got = app::OptionValue(argument);
  std::int32_t want = model::OptionValue(argument);
  FUZZ_CHECK(got == want, "OptionValue(" + Escaped(argument) + ") = " + std::to_string(got) +
                              ", model " + std::to_string(want));
}

// Only the setting named by the key changes, to the argument's number.
void CheckSetting(std::string_view argument) {
  constexpr std::int32_t kUntouched = 0x5EED5EED;
  app::RunState state;
  state.SkipLines = state.SkipItems = state.OutputLines = state.OutputItems = kUntouched;
  app::ReadOptionText(argument, state);

  std::int32_t want[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
  if (int key = model::OptionKeyIndex(argument)) want[key - 1] = model::OptionValue(argument);
  const std::int32_t got[4] = {state.SkipLines, state.SkipItems, state.OutputLines,
                               state.OutputItems};
  for (int i = 0; i < 4; ++i)
    FUZZ_CHECK(got[i] == want[i], "ReadOptionText(" + Escaped(argument) + "): setting " +
                                      std::to_string(i) + " is " + std::to_string(got[i]) +
                                      ", model " + std::to_string(want[i]));
  FUZZ_CHECK(state.InputCount == 0 && state.OutputCount == 0 && state.SkippedCount == 0 &&
                 state.UnwrittenCount == 0 && state.InvalidSkipCount == 0,
             "ReadOptionText(" + Escaped(argument) + ") changed a counter");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  CheckKnownValues();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckValue(text);
  CheckValue("/SL" + std::string(text));
  CheckSetting(text);
  return 0;
}
