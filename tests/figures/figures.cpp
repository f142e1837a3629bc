// loadcalc_figures COUNT [SEED]
//
// Prints the figures of COUNT generated entries, one line each, so that two builds (another
// compiler, another C library, another operating system) can be compared with diff. Each entry is
// a full set of beam or stair fields, written as a user would into a sheet that started as the
// program does; the change checks run, the calculation writes its caption, and the line holds
// the texts, the bits of the computed load and the caption:
//
//   <n> <TAB> beam|stair (the first word of the result's key) <TAB> <text> ... <TAB> <result bits
//   in hex, or the failure> <TAB> <caption>
//
// The entries depend only on COUNT and SEED: the generator is integer arithmetic of its own
// (std:: distributions differ between standard libraries), and every text it makes passes the
// field's checks. Exit status 0 when every entry went through without a message or a beep and
// every caption is the one its result gives; 1 otherwise, 2 on a bad command line.

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/startup.h"
#include "checks/checks.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace loadcalc {
namespace {

// splitmix64: tiny, fully specified, the same sequence everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  }
  // Uniform enough in [lo, hi] for a test generator; the bias of % is irrelevant here.
  std::int64_t between(std::int64_t lo, std::int64_t hi) {
    return lo + static_cast<std::int64_t>(next() % static_cast<std::uint64_t>(hi - lo + 1));
  }
  bool one_in(int n) { return next() % static_cast<std::uint64_t>(n) == 0; }

 private:
  std::uint64_t state_;
};

// Where a field's values usually lie and where its check lets them go, in thousandths of the
// field's unit. limit 0: no upper limit.
struct Span {
  Field field;
  std::int64_t usual_lo, usual_hi;
  std::int64_t limit;
};

// In field order.
constexpr auto spans = std::to_array<Span>({
    {Field::Text1, 2'000, 9'000, 0},
    {Field::Text2, 2'800, 6'000, 0},
    {Field::Text3, 300, 1'200, 2'000},
    {Field::Text4, 600, 3'000, 0},
    {Field::Text5, 600, 3'000, 0},
    {Field::Text6, 1'000, 12'000, 0},
    {Field::Text7, 150'000, 340'000, 350'000},
    {Field::Text8, 100'000, 199'000, 200'000},
    {Field::Text9, 80'000, 250'000, 300'000},
    {Field::Text10, 10'000, 80'000, 100'000},
    {Field::Text11, 200, 1'500, 10'000},
    {Field::Text12, 15'000, 30'000, 50'000},
    {Field::Text13, 0, 800, 0},
});
static_assert(spans.size() == field_count);

constexpr std::int64_t pow10(int n) {
  std::int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// m / 10^decimals written out: "12.340" for (12340, 3).
std::string fixed(std::int64_t m, int decimals) {
  std::string digits = std::to_string(m);
  if (decimals == 0) return digits;
  if (digits.size() <= static_cast<std::size_t>(decimals))
    digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
  digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
  return digits;
}

// A value between lo and hi thousandths with the given number of decimals.
std::string decimal_between(Random& r, std::int64_t lo, std::int64_t hi, int decimals) {
  const std::int64_t scale = pow10(decimals);
  const std::int64_t m_lo = (lo * scale + 999) / 1000;
  const std::int64_t m_hi = hi * scale / 1000;
  return fixed(r.between(m_lo, m_hi < m_lo ? m_lo : m_hi), decimals);
}

std::string digits(Random& r, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += static_cast<char>('0' + r.between(0, 9));
  return s;
}

// What an input method in full-width mode types: digits and the point as U+FF10.. and U+FF0E.
std::string full_width(std::string_view ascii) {
  std::string s;
  for (char c : ascii) {
    if (c >= '0' && c <= '9') {
      s += "\xEF\xBC";
      s += static_cast<char>(0x90 + (c - '0'));
    } else if (c == '.') {
      s += "\xEF\xBC\x8E";
    } else {
      s += c;
    }
  }
  return s;
}

// One text for a field: mostly what an engineer types, now and then the edges a check still lets
// through (tiny values, values just under a limit, huge ones, exponents, blanks, units behind the
// number, full-width digits). Some of them fail the field's check; the caller draws again.
std::string draw_text(Random& r, const Span& s, bool usual) {
  const std::int64_t top = s.limit ? s.limit : 1'000'000;
  const auto shape = usual ? 0 : r.between(0, 99);
  if (shape < 50)
    return decimal_between(r, s.usual_lo, s.usual_hi, static_cast<int>(r.between(0, 3)));
  if (shape < 65) return decimal_between(r, 0, top - 1, static_cast<int>(r.between(0, 6)));
  // Each draw is a statement of its own: the operands of + are evaluated in no fixed order, and
  // the sequence must not depend on the compiler.
  if (shape < 75) {  // tiny: 0.000…0ddd
    const auto zeros = static_cast<std::size_t>(r.between(0, 15));
    return "0." + std::string(zeros, '0') + std::to_string(r.between(1, 9999));
  }
  if (shape < 83) {  // exponent form, as pasted from elsewhere
    const std::string lead = std::to_string(r.between(1, 9));
    const std::string rest = digits(r, static_cast<int>(r.between(0, 6)));
    const char* marker = r.one_in(2) ? "e" : "E";
    const std::int64_t e = s.limit ? r.between(-300, 1) : r.between(-300, 300);
    return lead + "." + rest + marker + std::to_string(e);
  }
  if (shape < 90) {
    if (!s.limit) {
      const std::string lead = std::to_string(r.between(1, 9));
      return lead + digits(r, static_cast<int>(r.between(15, 24)));
    }
    // Just under the limit; enough nines and it reads as the limit itself, which fails.
    return fixed(s.limit / 1000 - 1, 0) + "." +
           std::string(static_cast<std::size_t>(r.between(1, 18)), '9');
  }
  std::string plain = decimal_between(r, s.usual_lo, s.usual_hi, static_cast<int>(r.between(0, 2)));
  switch (r.between(0, 3)) {
    case 0:
      return " " + plain;
    case 1:
      return plain + (field_info(s.field).unit == "mm" ? "mm" : "m");
    case 2:
      return full_width(plain);
    default:
      return plain.insert(plain.size() / 2, " ");
  }
}

bool passes_own_check(Field f, std::string_view text) {
  if (find_range_rule(f)) return !range_check(f, text);
  return !value_check(f, text) && !leading_zero_guard(text);
}

// A calculation's texts, in the order it reads its fields.
using Texts = std::vector<std::string>;

Texts draw_set(Random& r, const CalculationInfo& c) {
  // Most sets are ordinary flights and walls, where a last-bit difference is most likely to go
  // unnoticed; the rest mix in edges field by field.
  const bool usual = r.between(0, 99) < 60;
  Texts texts(c.reads.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    do texts[i] = draw_text(r, spans[index_of(c.reads[i])], usual);
    while (!passes_own_check(c.reads[i], texts[i]));
  }
  return texts;
}

bool held_against_others(Field f) {
  const DecimalRule* rule = find_decimal_rule(f);
  return rule && rule->cross_limit;
}

// Cross-field limits tie the opening and the column to bay, storey and beam depth; a set that
// breaks one is drawn again as a whole.
bool passes_cross_checks(const CalculationInfo& c, const Texts& texts) {
  FieldTexts all{};
  for (std::size_t i = 0; i < texts.size(); ++i) all[index_of(c.reads[i])] = texts[i];
  for (Field f : c.reads)
    if (held_against_others(f) && cross_check(f, all[index_of(f)], all)) return false;
  return true;
}

std::string hex_bits(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  char buf[16];
  const auto end = std::to_chars(buf, buf + sizeof buf, bits, 16).ptr;
  return std::string(static_cast<std::size_t>(16 - (end - buf)), '0') + std::string(buf, end);
}

std::string_view status_name(CalcStatus s) {
  return s == CalcStatus::zero_divisor ? "zero_divisor" : "out_of_range";
}

// The fields as the calculation reads them, for the result's bits.
CalcResult result_of(const Sheet& s, const CalculationInfo& c) {
  std::vector<double> values;
  for (Field f : c.reads) values.push_back(read_number(s.text(f)));
  return c.compute(values);
}

// Writes a set as a user would, and gives the entry's line; `sound` is false when a check
// objected or the caption is not the one the result gives.
bool write_line(MemorySheet& sheet, std::uint64_t n, const CalculationInfo& c, const Texts& texts,
                std::string& line) {
  sheet.clear_effects();
  // Clear the opening and the column first, so that no limit they are held against can fail
  // while bay, storey and beam depth change; then the set in field order.
  for (auto f = c.reads.rbegin(); f != c.reads.rend(); ++f)
    if (held_against_others(*f)) sheet.set_text(*f, "0");
  for (std::size_t i = 0; i < texts.size(); ++i) sheet.set_text(c.reads[i], texts[i]);
  bool sound = true;
  for (const Effect& e : sheet.effects())
    if (e.kind == Effect::Kind::message || e.kind == Effect::Kind::beep) sound = false;

  const ResultLabel label = c.label;
  const CalcResult r = result_of(sheet, c);
  const std::string& caption = sheet.caption(label);
  std::string result;
  if (r.status == CalcStatus::ok) {
    result = hex_bits(r.value);
    // A finite load whose rounding to thousandths overflows has no caption of its own either.
    const auto expected = format_result(r.value, result_info(label).unit);
    if (caption != (expected ? *expected : failure_text(CalcStatus::out_of_range))) sound = false;
  } else {
    result = status_name(r.status);
    if (failure_text(r.status) != caption) sound = false;
  }

  line = std::to_string(n) + "\t" + std::string(c.key.substr(0, c.key.find('_')));
  for (Field f : c.reads) line += "\t" + sheet.text(f);
  line += "\t" + result + "\t" + caption + "\n";
  return sound;
}

bool parse(const char* arg, std::uint64_t& out) {
  const std::string_view s(arg);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

int run(std::uint64_t count, std::uint64_t seed) {
  Random random(seed);
  MemorySheet sheet(change_check);
  Form_Load(sheet);
  std::string line;
  int faults = 0;
  for (std::uint64_t n = 1; n <= count; ++n) {
    // From the last row back, the order the recorded figures were drawn in.
    const CalculationInfo& c =
        calculations[calculations.size() - 1 - random.next() % calculations.size()];
    Texts texts;
    do texts = draw_set(random, c);
    while (!passes_cross_checks(c, texts));
    const bool sound = write_line(sheet, n, c, texts, line);
    std::fwrite(line.data(), 1, line.size(), stdout);
    if (!sound) {
      std::fprintf(stderr,
                   "loadcalc_figures: entry %llu: a check objected or the caption is not "
                   "the result's\n",
                   static_cast<unsigned long long>(n));
      ++faults;
    }
  }
  return faults == 0 ? 0 : 1;
}

}  // namespace
}  // namespace loadcalc

int main(int argc, char** argv) {
  std::uint64_t count = 0;
  std::uint64_t seed = 1;
  if (argc < 2 || argc > 3 || !loadcalc::parse(argv[1], count) ||
      (argc == 3 && !loadcalc::parse(argv[2], seed))) {
    std::fputs("usage: loadcalc_figures COUNT [SEED]\n", stderr);
    return 2;
  }
#ifdef _WIN32
  // Binary, so that the Windows build writes the same bytes: no CR before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  return loadcalc::run(count, seed);
}
