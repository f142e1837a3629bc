#pragma once
// What the fuzz targets share: a failing invariant aborts with its reason (libFuzzer keeps the
// input), and the shape every result caption must have.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_ASSERT(cond)                                                               \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)

namespace loadcalc::fuzz {

inline bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// "-"? then either a plain number (no needless zeros, at most three decimals) or a mantissa with
// "E+" and an exponent of at least two digits; at most 15 significant digits; the unit last.
inline bool well_formed_caption(std::string_view s, std::string_view unit) {
  if (s.size() <= unit.size() || !s.ends_with(unit)) return false;
  s.remove_suffix(unit.size());
  if (s == "0") return true;
  if (s.starts_with('-')) s.remove_prefix(1);
  const std::size_t e = s.find("E+");
  const std::string_view mantissa = s.substr(0, e);
  const std::size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::string_view frac =
      point == std::string_view::npos ? std::string_view{} : mantissa.substr(point + 1);
  if (whole.empty() || (whole.size() > 1 && whole[0] == '0')) return false;
  if (point != std::string_view::npos && (frac.empty() || frac.back() == '0')) return false;
  for (char c : whole)
    if (!is_digit(c)) return false;
  for (char c : frac)
    if (!is_digit(c)) return false;
  std::size_t significant = whole.size() + frac.size();
  if (whole == "0") {
    const std::size_t first = frac.find_first_not_of('0');
    if (first == std::string_view::npos) return false;  // "-0", "0.0"
    significant = frac.size() - first;
  }
  if (significant > 15) return false;
  if (e == std::string_view::npos) return frac.size() <= 3;
  // Only magnitudes from 1e15 on are written with an exponent.
  const std::string_view exponent = s.substr(e + 2);
  if (whole.size() != 1 || whole == "0" || exponent.size() < 2 || exponent[0] == '0') {
    return false;
  }
  int value = 0;
  for (char c : exponent) {
    if (!is_digit(c)) return false;
    value = value * 10 + (c - '0');
  }
  return value >= 15 && value <= 308;
}

}  // namespace loadcalc::fuzz
