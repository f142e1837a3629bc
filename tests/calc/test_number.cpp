#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <string>

#include "calc/number.h"

namespace loadcalc {
namespace {

struct ReadCase {
  const char* text;
  double expected;
};

// Rows an engineer can check by hand: what a field's text is worth to the formulas.
constexpr ReadCase read_cases[] = {
    {"", 0},
    {" 2.5", 2.5},
    {"2.5m", 2.5},
    {"1..2", 1},
    {"1e2", 100},
    {"-3", -3},
    {".5", 0.5},
    {"1 2", 12},
    {"3,5", 3},
    {"Text12", 0},
    {"1e", 1},
    {"1e+", 1},
    {"1E-2", 0.01},
    {"+7", 7},
    {"-", 0},
    {".", 0},
    {"0..", 0},
    {"1.", 1},
    {"\t4\n.0 ", 4},
    {"&H10", 16},
    {"&hff", 255},
    {"&O17", 15},
    {"&o8", 0},
    {"&H", 0},
    {"&Hg", 0},
    {"-&H10", 0},
    {"1D2", 1},
    {"12abc", 12},
    {"4.0", 4},
    {"0.50", 0.5},
    {"22.0", 22},
    // Full-width forms typed by a Chinese input method, and the ideographic space.
    {"３．５", 3.5},
    {"－２", -2},
    {"＋１ｅ２", 100},
    {"１\xE3\x80\x80２", 12},
    {"＆Ｈ１Ｆ", 31},
    {"３，５", 3},
    {"中文", 0},
    {"5中文", 5},
};

TEST(ReadNumber, ReadsTheLongestNumericBeginning) {
  for (const auto& c : read_cases)
    EXPECT_EQ(read_number(c.text), c.expected) << "text \"" << c.text << '"';
}

TEST(ReadNumber, RoundsToTheNearestDouble) {
  EXPECT_EQ(read_number("0.1"), 0.1);
  EXPECT_EQ(read_number("3.6"), 3.6);
  EXPECT_EQ(read_number("9007199254740993"), 9007199254740992.0);  // halfway: to even
  EXPECT_EQ(read_number("&H20000000000001"), 9007199254740992.0);
  EXPECT_EQ(read_number("&H20000000000003"), 9007199254740996.0);
  EXPECT_EQ(read_number("&O400000000000000001"), 9007199254740992.0);
}

struct SaturationCase {
  std::string text;
  double expected;
};

TEST(ReadNumber, SaturatesBeyondTheRangeOfADouble) {
  const double inf = std::numeric_limits<double>::infinity();
  const SaturationCase cases[] = {
      {"1e999", inf},
      {"-1e999", -inf},
      {"1e-999", 0},
      {"-1e-999", -0.0},
      {std::string(400, '9'), inf},
      {"-" + std::string(400, '9'), -inf},
      {"0." + std::string(400, '0') + "1", 0},
      {"0.000001e400", inf},
      {std::string(400, '1') + "e-800", 0},
      {"1e99999999999999999999999999", inf},
      {"&H" + std::string(300, 'F'), inf},
      {"&H" + std::string(30, 'F'), 0x1p120},
      {"&O" + std::string(400, '7'), inf},
  };
  for (const auto& c : cases) {
    const double v = read_number(c.text);
    EXPECT_FALSE(std::isnan(v)) << c.text.substr(0, 40);
    EXPECT_EQ(v, c.expected) << c.text.substr(0, 40);
    EXPECT_EQ(std::signbit(v), std::signbit(c.expected)) << c.text.substr(0, 40);
  }
}

TEST(ReadNumber, HandlesAMegabyteOfDigits) {
  std::string huge(1 << 20, '7');
  EXPECT_EQ(read_number(huge), std::numeric_limits<double>::infinity());
  huge.insert(0, "0.");
  EXPECT_DOUBLE_EQ(read_number(huge), 7.0 / 9.0);
}

struct FormatCase {
  double value;
  const char* unit;
  const char* expected;
};

constexpr FormatCase format_cases[] = {
    {6.5174, "kN/m", "6.517kN/m"},
    {0.5, "kN/m", "0.5kN/m"},
    {5, "kN/m", "5kN/m"},
    {0.0004, "kN/m", "0kN/m"},
    {0.0005, "kN/m", "0.001kN/m"},
    {-0.0006, "kN/m", "-0.001kN/m"},
    {-0.0005, "kN/m", "0kN/m"},  // halfway goes toward +infinity, and never "-0"
    {-0.0, "kN/m", "0kN/m"},
    {1.2345, "kN/m", "1.235kN/m"},
    {-1.55, "kN/m", "-1.55kN/m"},
    {7.171929, "kN/m^2", "7.172kN/m^2"},
    {1e15, "kN/m", "1E+15kN/m"},
    {1.5e16, "kN/m", "1.5E+16kN/m"},
    {-2.5e20, "kN/m", "-2.5E+20kN/m"},
    {1e300, "kN/m", "1E+300kN/m"},
    {123456789012.345, "kN/m", "123456789012.345kN/m"},
    {999999999999.9994, "kN/m", "999999999999.999kN/m"},
    {999999999999999.9, "kN/m", "1E+15kN/m"},
    {100, "kN/m", "100kN/m"},
    {0.02, "kN/m", "0.02kN/m"},
};

TEST(FormatResult, WritesThousandthsWithoutTrailingZeros) {
  for (const auto& c : format_cases) {
    const auto text = format_result(c.value, c.unit);
    ASSERT_TRUE(text.has_value()) << c.value;
    EXPECT_EQ(*text, c.expected) << c.value;
  }
}

TEST(FormatResult, RefusesWhatIsNotFinite) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double v : {inf, -inf, std::numeric_limits<double>::quiet_NaN(), 1e306, -1e306})
    EXPECT_FALSE(format_result(v, "kN/m").has_value()) << v;
}

// Qt switches the C locale to the user's at start-up; a German user has a comma for a point.
TEST(NumberRules, IgnoreACommaDecimalLocale) {
#ifdef _WIN32
  // Windows names its locales differently, and MinGW's C++ library knows only the "C" locale:
  // the C runtime's is the one a Windows program's number conversions could read.
  constexpr const char* german = "German_Germany.1252";
#else
  constexpr const char* german = "de_DE.UTF-8";
#endif
#ifdef __wasi__
  GTEST_SKIP() << "WASI's C library has no comma-decimal locale: it accepts " << german
               << " but keeps \".\" as its decimal point";
#endif
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, german)) GTEST_SKIP() << german << " is not installed";
#ifndef _WIN32
  std::locale::global(std::locale(german));
#endif
  const char point = *std::localeconv()->decimal_point;
  const double read = read_number("2.5");
  const double comma = read_number("2,5");
  const auto text = format_result(6.5174, "kN/m");
  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_EQ(point, ',') << "the test needs a locale whose decimal point is a comma";
  EXPECT_EQ(read, 2.5);
  EXPECT_EQ(comma, 2);
  EXPECT_EQ(text, "6.517kN/m");
}

TEST(SelectAll, CountsCharactersNotBytes) {
  EXPECT_EQ(select_all(""), (Selection{0, 0}));
  EXPECT_EQ(select_all("22.0"), (Selection{0, 4}));
  EXPECT_EQ(select_all("３．５"), (Selection{0, 3}));
  EXPECT_EQ(select_all("a\xF0\x9F\x98\x80"), (Selection{0, 2}));
}

}  // namespace
}  // namespace loadcalc
