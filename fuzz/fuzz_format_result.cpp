// Any double: a caption is well formed and reads back as the value to the nearest thousandth,
// or there is none when the value or its rounding is not finite.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "calc/number.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const std::string_view unit = (size > sizeof value && (data[8] & 1)) ? "kN/m^2" : "kN/m";

  const auto caption = loadcalc::format_result(value, unit);
  if (!std::isfinite(value) || !std::isfinite(std::floor(1000.0 * value + 0.5))) {
    FUZZ_ASSERT(!caption);
    return 0;
  }
  FUZZ_ASSERT(caption);
  FUZZ_ASSERT(loadcalc::fuzz::well_formed_caption(*caption, unit));
  const double back = loadcalc::read_number(*caption);
  FUZZ_ASSERT(std::fabs(back - value) <= 0.0005 + 1e-14 * std::fabs(value));
  return 0;
}
