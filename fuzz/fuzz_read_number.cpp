// Any bytes: read_number never yields NaN and agrees with the laws of the reading rule.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/number.h"
#include "fuzz_check.h"

using loadcalc::read_number;
using loadcalc::fuzz::is_digit;

namespace {

bool same(double a, double b) {
  return a == b && std::signbit(a) == std::signbit(b);
}

// A whole text in the decimal form, of any length: "+"/"-", digits with at most one point, an
// exponent. The C library's correctly rounded reader is the reference for it.
bool plain_decimal(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (is_digit(s[i]))
      digits = true;
    else if (s[i] == '.' && !point)
      point = true;
    else
      break;
  }
  if (!digits) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    if (++i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i == s.size()) return false;
    while (i < s.size() && is_digit(s[i])) ++i;
  }
  return i == s.size();
}

// The same text as a Chinese input method in full-width mode types it.
std::string full_width(std::string_view ascii) {
  std::string out;
  for (char c : ascii) {
    if (c == ' ') {
      out += "\xE3\x80\x80";
    } else {
      const unsigned cp = 0xFEE0u + static_cast<unsigned char>(c);
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double x = read_number(text);
  FUZZ_ASSERT(!std::isnan(x));

  const std::string s(text);
  if (plain_decimal(s)) FUZZ_ASSERT(same(x, std::strtod(s.c_str(), nullptr)));
  // A blank in front and anything after a comma change nothing.
  FUZZ_ASSERT(same(read_number(" " + s), x));
  FUZZ_ASSERT(same(read_number(s + ",9"), x));
  if (!s.empty() && is_digit(s[0])) FUZZ_ASSERT(same(read_number("-" + s), -x));

  bool printable = true;
  for (char c : s) printable = printable && c >= ' ' && c <= '~';
  if (printable) FUZZ_ASSERT(same(read_number(full_width(s)), x));
  return 0;
}
