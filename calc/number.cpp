#include "calc/number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace loadcalc {
namespace {

bool is_blank(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Characters that can stand in any number form; scanning stops at the first other one, so a
// megabyte of pasted prose costs no more than its numeric beginning.
bool may_be_numeric(char c) {
  return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '+' || c == '-' ||
         c == '.' || c == '&';
}

// Copies the numeric beginning of the text with blanks dropped and full-width ASCII forms
// (U+FF01..U+FF5E, what an input method in full-width mode types) folded to ASCII. The ideographic
// space U+3000 counts as a blank.
std::string normalise(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (is_blank(c)) {
      ++i;
      continue;
    }
    if (c == 0xE3 && text.substr(i, 3) == "\xE3\x80\x80") {
      i += 3;
      continue;
    }
    if (c == 0xEF && i + 2 < text.size()) {
      const auto b1 = static_cast<unsigned char>(text[i + 1]);
      const auto b2 = static_cast<unsigned char>(text[i + 2]);
      const unsigned cp = ((c & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
      if ((b1 & 0xC0u) == 0x80u && (b2 & 0xC0u) == 0x80u && cp >= 0xFF01 && cp <= 0xFF5E) {
        const char ascii = static_cast<char>(cp - 0xFEE0);
        if (!may_be_numeric(ascii)) break;
        out.push_back(ascii);
        i += 3;
        continue;
      }
    }
    if (!may_be_numeric(static_cast<char>(c))) break;
    out.push_back(static_cast<char>(c));
    ++i;
  }
  return out;
}

int hex_value(char c) {
  if (is_digit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A whole number in base 16 or 8, of any length, rounded once to the nearest double.
double read_based(std::string_view digits, int base) {
  std::size_t n = 0;
  while (n < digits.size()) {
    const int v = hex_value(digits[n]);
    if (v < 0 || v >= base) break;
    ++n;
  }
  digits = digits.substr(0, n);
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  if (digits.empty()) return 0.0;

  std::string hex;
  if (base == 16) {
    hex.assign(digits);
  } else {
    // Regroup the octal digits' bits into hexadecimal digits, padding on the left.
    static constexpr char hex_digits[] = "0123456789abcdef";
    int acc = 0;
    int bits = static_cast<int>((4 - (3 * digits.size()) % 4) % 4);
    hex.reserve(digits.size());
    for (char d : digits) {
      const int v = d - '0';
      for (int b = 2; b >= 0; --b) {
        acc = (acc << 1) | ((v >> b) & 1);
        if (++bits == 4) {
          hex.push_back(hex_digits[acc]);
          acc = 0;
          bits = 0;
        }
      }
    }
  }
  double value = 0.0;
  const auto [end, ec] =
      std::from_chars(hex.data(), hex.data() + hex.size(), value, std::chars_format::hex);
  if (ec == std::errc::result_out_of_range) return HUGE_VAL;
  return value;
}

// from_chars leaves the value untouched when the number does not fit a double; the decimal
// exponent of its first significant digit tells overflow from underflow.
double saturate(std::string_view number, bool negative) {
  long long magnitude = 0;
  bool seen_point = false;
  bool significant = false;
  std::size_t i = 0;
  for (; i < number.size() && (is_digit(number[i]) || number[i] == '.'); ++i) {
    const char c = number[i];
    if (c == '.') {
      seen_point = true;
    } else if (!significant) {
      if (c != '0') {
        significant = true;
        if (!seen_point) magnitude = 1;
      } else if (seen_point) {
        --magnitude;
      }
    } else if (!seen_point) {
      ++magnitude;
    }
  }
  long long exponent = 0;
  if (i < number.size()) {  // 'e' or 'E'
    ++i;
    bool exp_negative = false;
    if (number[i] == '+' || number[i] == '-') exp_negative = number[i++] == '-';
    for (; i < number.size(); ++i)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[i] - '0');
    if (exp_negative) exponent = -exponent;
  }
  const double big = magnitude + exponent > 0 ? HUGE_VAL : 0.0;
  return negative ? -big : big;
}

double read_decimal(std::string_view s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const std::size_t start = i;
  bool point = false;
  bool digits = false;
  for (; i < s.size(); ++i) {
    if (is_digit(s[i])) {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && is_digit(s[j])) {
      while (j < s.size() && is_digit(s[j])) ++j;
      i = j;
    }
  }
  const std::string_view number = s.substr(start, i - start);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                         std::chars_format::general);
  if (ec == std::errc::result_out_of_range) return saturate(number, negative);
  return negative ? -value : value;
}

double read_normalised(std::string_view s) {
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return read_based(s.substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return read_based(s.substr(2), 8);
  }
  return read_decimal(s);
}

// Whether read_normalised finds digits, rather than reading 0 for want of any.
bool has_digits(std::string_view s) {
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    const int base = s[1] == 'H' || s[1] == 'h' ? 16 : 8;
    const int v = s.size() > 2 ? hex_value(s[2]) : -1;
    return v >= 0 && v < base;
  }
  std::size_t i = s.starts_with('+') || s.starts_with('-') ? 1 : 0;
  if (i < s.size() && s[i] == '.') ++i;
  return i < s.size() && is_digit(s[i]);
}

}  // namespace

bool holds_number(std::string_view text) noexcept {
  try {
    return has_digits(normalise(text));
  } catch (...) {
    return false;
  }
}

double read_number(std::string_view text) noexcept {
  try {
    return read_normalised(normalise(text));
  } catch (...) {
    // Only an allocation can throw here; a text the machine cannot even copy reads as no number.
    return 0.0;
  }
}

namespace {

// A finite double correctly rounded to `significant` digits, as sign, digits and decimal exponent.
struct Decimal {
  bool negative;
  std::string digits;
  int exponent;
};

Decimal rounded(double value, int significant) {
  char buf[40];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
  const std::string_view sci(buf, static_cast<std::size_t>(end - buf));
  Decimal d{sci.front() == '-', {}, 0};
  const std::string_view body = d.negative ? sci.substr(1) : sci;
  const std::size_t e = body.find('e');
  d.digits.push_back(body[0]);
  if (e > 1) d.digits.append(body.substr(2, e - 2));
  std::from_chars(body.data() + e + (body[e + 1] == '+' ? 2 : 1), body.data() + body.size(),
                  d.exponent);
  return d;
}

// The digits written out without an exponent, padded with zeros up to the decimal point.
std::string plain(const Decimal& d) {
  std::string text;
  if (d.negative) text.push_back('-');
  if (d.exponent >= 0) {
    const auto whole = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= whole) {
      text.append(d.digits);
      text.append(whole - d.digits.size(), '0');
    } else {
      text.append(d.digits, 0, whole);
      text.push_back('.');
      text.append(d.digits, whole);
    }
  } else {
    text.append("0.");
    text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    text.append(d.digits);
  }
  return text;
}

}  // namespace

std::optional<std::string> format_result(double value, std::string_view unit) {
  const double k = std::floor(1000.0 * value + 0.5);
  if (!std::isfinite(k)) return std::nullopt;
  const double y = k / 1000.0;

  // 15 significant digits, correctly rounded, then laid out by hand so that neither the locale
  // nor printf's notion of %G decides how a caption looks.
  Decimal d = rounded(y, 15);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  std::string text;
  if (d.exponent >= 15) {
    if (d.negative) text.push_back('-');
    text.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
      text.push_back('.');
      text.append(d.digits, 1);
    }
    text.append("E+");  // a finite double's exponent here is 15 to 308: always two digits or more
    text.append(std::to_string(d.exponent));
  } else {
    text = plain(d);
  }
  text.append(unit);
  return text;
}

std::string shortest_figure(double value) {
  if (std::isinf(value)) return value < 0 ? "-∞" : "∞";
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

std::string reading_figure(double value) {
  if (!std::isfinite(value) || value == 0) return shortest_figure(value);
  const Decimal d = rounded(value, reading_digits);
  if (d.exponent >= -3 && d.exponent <= 3) return plain(d);
  std::string text = d.negative ? "-" : "";
  text.append(d.digits, 0, 1).append(".").append(d.digits, 1);
  text.append(d.exponent < 0 ? "e-" : "e+");
  const int magnitude = d.exponent < 0 ? -d.exponent : d.exponent;
  if (magnitude < 10) text.push_back('0');
  return text.append(std::to_string(magnitude));
}

std::size_t char_count(std::string_view utf8) noexcept {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) ++n;
  return n;
}

Selection select_all(std::string_view text) noexcept {
  return {0, char_count(text)};
}

void select_all(Sheet& sheet, Field f) {
  sheet.set_selection(f, select_all(sheet.text(f)));
}

std::string field_figure(double value) {
  // Wide enough for the largest finite double written out in full.
  std::array<char, 400> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::fixed, 3);
  if (error != std::errc{}) return "0";
  std::string out(buffer.data(), end);
  if (out.find('.') != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  // A tiny negative figure rounds to nothing; a field would read "-0" as 0 anyway.
  if (out == "-0") out = "0";
  return out;
}

}  // namespace loadcalc
