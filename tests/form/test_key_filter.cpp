// The key filter over every code point: of ASCII, digits, "." and the control characters pass;
// beyond it, the full-width digits and point that a Chinese input method types, and nothing else.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "form/key_filter.h"

namespace {

using loadcalc::form::key_filter;

struct Row {
  char32_t code;
  bool passes;
  const char* what;
};

const Row rows[] = {
    {8, true, "Backspace"},
    {13, true, "Enter"},
    {22, true, "Ctrl+V"},
    {27, true, "Escape"},
    {' ', false, "blank"},
    {'+', false, "plus"},
    {',', false, "comma"},
    {'-', false, "minus"},
    {'.', true, "point"},
    {'/', false, "slash"},
    {'0', true, "0"},
    {'9', true, "9"},
    {':', false, "colon"},
    {'e', false, "exponent letter"},
    {'E', false, "capital exponent letter"},
    {127, false, "DEL"},
    {0x80, false, "first code beyond ASCII"},
    {0x4E2D, false, "中, below U+8000"},
    {0x9F8D, false, "龍, from U+8000 up"},
    {0x3000, false, "ideographic space"},
    {0x3002, false, "ideographic full stop"},
    {0xFF0B, false, "full-width plus"},
    {0xFF0C, false, "full-width comma"},
    {0xFF0D, false, "full-width minus"},
    {0xFF0E, true, "full-width point"},
    {0xFF0F, false, "full-width slash"},
    {0xFF10, true, "full-width 0"},
    {0xFF15, true, "full-width 5"},
    {0xFF19, true, "full-width 9"},
    {0xFF1A, false, "full-width colon"},
    {0xFF45, false, "full-width exponent letter"},
    {0x1FF15, false, "full-width 5 in another plane's place"},
    {0x1F600, false, "beyond the Basic Multilingual Plane"},
};

TEST(KeyFilter, HandsBackTheCodeOrZero) {
  for (const Row& r : rows)
    EXPECT_EQ(std::uint32_t(key_filter(r.code)), r.passes ? std::uint32_t(r.code) : 0u) << r.what;
}

TEST(KeyFilter, EveryAsciiCode) {
  for (char32_t code = 0; code < 128; ++code) {
    const bool passes = code < 32 || code == '.' || (code >= '0' && code <= '9');
    EXPECT_EQ(std::uint32_t(key_filter(code)), passes ? std::uint32_t(code) : 0u)
        << std::uint32_t(code);
  }
}

TEST(KeyFilter, BeyondAsciiElevenCodePointsPass) {
  std::vector<std::uint32_t> passed;
  for (char32_t code = 128; code <= 0x10FFFF; ++code)
    if (key_filter(code) != 0) passed.push_back(code);
  const std::vector<std::uint32_t> expected{0xFF0E, 0xFF10, 0xFF11, 0xFF12, 0xFF13, 0xFF14,
                                            0xFF15, 0xFF16, 0xFF17, 0xFF18, 0xFF19};
  EXPECT_EQ(passed, expected);
}

}  // namespace
