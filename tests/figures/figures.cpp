// loadcalc_figures COUNT [SEED]
//
// Prints the figures of generated entries, one line each, so that two builds (another compiler,
// another C library, another operating system, WebAssembly) can be compared with diff: COUNT
// entries of the calculator's fields, then COUNT entries that state assumptions besides them.
// Each entry is a full set of beam or stair fields, written as a user would into a sheet that
// started as the program does; the change checks run, the calculation writes its caption, and
// the line holds the texts, the bits of the computed load and the caption:
//
//   <n> <TAB> beam|stair (the first word of the result's key) <TAB> <text> ... <TAB> <result bits
//   in hex, or the failure> <TAB> <caption>
//
// An entry with assumptions (numbered on from COUNT + 1) prints "-" for each field text its
// assumptions replace, and its assumptions as typed before the result, a column each:
//
//   beam:  layers:<thickness>mm*<unit weight>;<area weight>/m2;…  or layers:-
//          openings:<count>*<width>*<height>@<weight>;…           or openings:-
//   stair: concrete:<unit weight>|-  soffit:<area weight>|-  extras:<area weight>;<line>/<width>;…
//
// In the web build (LOADCALC_FIGURES_THROUGH_GLUE) those entries are computed through the
// functions the page's module exports, so that the comparison holds the page's core against
// the native formulas.
//
// The entries depend only on COUNT and SEED: the generator is integer arithmetic of its own
// (std:: distributions differ between standard libraries), the entries with assumptions draw on
// from where the plain ones stopped (so the plain lines are those of the runs before there were
// any others), and every text it makes passes the field's checks and the openings' rules. Exit
// status 0 when every entry went through without a message or a beep and every caption is the
// one its result gives; 1 otherwise, 2 on a bad command line.

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calc/assumptions.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/materials.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/startup.h"
#include "checks/checks.h"
#include "checks/opening_rules.h"

#ifdef LOADCALC_FIGURES_THROUGH_GLUE
#include "web/glue.h"
#endif

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

// ---- Entries with assumptions ----

// The table's rows an engineer picks from for a layer or an opening, by how they weigh.
std::vector<const Material*> rows_weighed(bool by_area, bool doors_and_windows) {
  std::vector<const Material*> out;
  for (const Material& m : materials)
    if ((basis_of(m) == WeightBasis::area) == by_area &&
        (m.group == MaterialGroup::door_window) == doors_and_windows)
      out.push_back(&m);
  return out;
}

// One rounding of one product, so that no platform can fuse it into anything else.
std::int64_t thousandths(double x) {
  return std::llround(x * 1000);
}

// A figure as an engineer states it: now and then typed in full width or behind a blank.
std::string typed(Random& r, std::string text) {
  if (r.one_in(12)) return full_width(text);
  if (r.one_in(12)) return " " + text;
  return text;
}

// A figure the table gives for one of the rows: mostly a row's default or another figure of its
// range; otherwise any figure from lo to hi thousandths, as a designer states one.
std::string weight_text(Random& r, const std::vector<const Material*>& rows, std::int64_t lo,
                        std::int64_t hi) {
  const auto decimals = static_cast<int>(r.between(1, 3));
  const auto shape = r.between(0, 9);
  if (shape < 7) {
    const Material& m =
        *rows[static_cast<std::size_t>(r.between(0, static_cast<std::int64_t>(rows.size()) - 1))];
    if (shape < 4) return typed(r, decimal_between(r, thousandths(m.high), thousandths(m.high), 3));
    return typed(r, decimal_between(r, thousandths(m.low), thousandths(m.high), decimals));
  }
  return typed(r, decimal_between(r, lo, hi, decimals));
}

std::vector<WallLayerText> draw_layers(Random& r) {
  static const auto by_volume = rows_weighed(false, false);
  static const auto finishes = rows_weighed(true, false);
  std::vector<WallLayerText> layers(static_cast<std::size_t>(r.between(1, 6)));
  for (WallLayerText& layer : layers) {
    if (r.between(0, 2) > 0) {
      layer.basis = LayerBasis::thickness;
      layer.thickness =
          typed(r, decimal_between(r, 5'000, 300'000, static_cast<int>(r.between(0, 1))));
      layer.weight = weight_text(r, by_volume, 1'000, 30'000);
    } else {
      layer.basis = LayerBasis::area;
      layer.weight = weight_text(r, finishes, 50, 2'000);
    }
  }
  return layers;
}

std::vector<OpeningText> draw_openings(Random& r, std::size_t n) {
  static const auto doors_and_windows = rows_weighed(true, true);
  std::vector<OpeningText> openings(n);
  for (OpeningText& o : openings) {
    o.width = typed(r, decimal_between(r, 300, 2'400, static_cast<int>(r.between(1, 3))));
    o.height = typed(r, decimal_between(r, 300, 2'700, static_cast<int>(r.between(1, 3))));
    o.count = typed(r, std::to_string(r.between(1, 3)));
    o.weight = weight_text(r, doors_and_windows, 100, 1'000);
  }
  return openings;
}

bool openings_fit(const WallInputs& wall, std::span<const OpeningText> openings) {
  for (const OpeningText& o : openings)
    if (count_check(o.count)) return false;
  return !opening_cross_check(wall, opening_values(openings));
}

// Mostly several openings; a wall that cannot take them takes fewer, down to none.
std::vector<OpeningText> draw_fitting_openings(Random& r, const WallInputs& wall) {
  auto n = static_cast<std::size_t>(r.between(0, 6));
  for (int tries = 1;; ++tries) {
    std::vector<OpeningText> openings = draw_openings(r, n);
    if (openings_fit(wall, openings)) return openings;
    if (tries % 8 == 0) --n;  // none always fits: the column's rule held for the fields
  }
}

std::vector<ExtraLoadText> draw_extras(Random& r) {
  std::vector<ExtraLoadText> extras(static_cast<std::size_t>(r.between(0, 3)));
  for (ExtraLoadText& e : extras) {
    e.name = "栏杆自重";
    if (r.one_in(2)) {
      e.basis = ExtraBasis::area;
      e.weight = typed(r, decimal_between(r, 100, 1'500, static_cast<int>(r.between(1, 3))));
      continue;
    }
    e.basis = ExtraBasis::line;
    e.weight = typed(r, decimal_between(r, 200, 1'500, static_cast<int>(r.between(1, 3))));
    // Now and then a flight of no width, which has no quotient.
    e.flight_width =
        r.one_in(60) ? "0"
                     : typed(r, decimal_between(r, 900, 1'800, static_cast<int>(r.between(1, 2))));
  }
  return extras;
}

WallInputs wall_of(const CalculationInfo& c, const Texts& texts) {
  const auto value = [&](Field f) {
    for (std::size_t i = 0; i < texts.size(); ++i)
      if (c.reads[i] == f) return read_number(texts[i]);
    return 0.0;
  };
  return {value(Field::Text1), value(Field::Text2), value(Field::Text3), value(Field::Text13),
          value(Field::Text6)};
}

Assumptions draw_assumptions(Random& r, const CalculationInfo& c, const Texts& texts) {
  Assumptions a;
  if (c.id == Calculation::MainProgram_1) {
    if (r.between(0, 3) > 0) a.wall_layers = draw_layers(r);
    if (r.between(0, 3) > 0) a.openings = draw_fitting_openings(r, wall_of(c, texts));
    return a;
  }
  static const std::vector<const Material*> concretes{find_material("钢筋混凝土"),
                                                      find_material("素混凝土")};
  static const auto finishes = rows_weighed(true, false);
  if (r.one_in(2)) a.concrete_unit_weight = weight_text(r, concretes, 20'000, 27'000);
  if (r.one_in(2)) a.soffit_finish = FinishText{"", weight_text(r, finishes, 200, 800)};
  a.extra_loads = draw_extras(r);
  return a;
}

std::string joined(const auto& items, const auto& item_text) {
  std::string out;
  for (const auto& item : items) {
    if (!out.empty()) out += ';';
    out += item_text(item);
  }
  return out;
}

std::string assumption_columns(const Assumptions& a, Calculation c) {
  if (c == Calculation::MainProgram_1) {
    std::string out = "\tlayers:";
    out += !a.wall_layers ? "-" : joined(*a.wall_layers, [](const WallLayerText& l) {
      return l.basis == LayerBasis::thickness ? l.thickness + "mm*" + l.weight : l.weight + "/m2";
    });
    out += "\topenings:";
    out += !a.openings ? "-" : joined(*a.openings, [](const OpeningText& o) {
      return o.count + "*" + o.width + "*" + o.height + "@" + o.weight;
    });
    return out;
  }
  std::string out = "\tconcrete:" + a.concrete_unit_weight.value_or("-");
  out += "\tsoffit:" + (a.soffit_finish ? a.soffit_finish->area_weight : "-");
  out += "\textras:" + joined(a.extra_loads, [](const ExtraLoadText& e) {
           return e.basis == ExtraBasis::area ? e.weight : e.weight + "/" + e.flight_width;
         });
  return out;
}

// The result's bits (or the failure's name) and the caption of an entry with assumptions, from
// the sheet's texts and the stated figures.
struct Figure {
  std::string result;
  std::string caption;
  bool sound;
};

Figure judged(CalcStatus status, double value, std::string caption, ResultLabel label) {
  if (status != CalcStatus::ok)
    return {std::string(status_name(status)), caption, caption == failure_text(status)};
  const auto expected = format_result(value, result_info(label).unit);
  const bool sound = caption == (expected ? *expected : failure_text(CalcStatus::out_of_range));
  return {hex_bits(value), std::move(caption), sound};
}

#ifndef LOADCALC_FIGURES_THROUGH_GLUE
// The entry as the book computes it.
Figure figure_of(MemorySheet& sheet, const CalculationInfo& c, const Assumptions& a) {
  const CalcResult r = calculate(sheet, c.id, a);
  run_calculation(sheet, c.id, a);
  return judged(r.status, r.value, sheet.caption(c.label), c.label);
}
#else
// The entry as the page's module computes it: the sheet's texts and the stated figures read as
// the book reads them, the formulas through the exported functions.
double read(const MemorySheet& sheet, Field f) {
  return read_number(sheet.text(f));
}

void fill(std::span<const double> values) {
  double* buffer = lc_numbers(values.size());
  for (double v : values) *buffer++ = v;
}

Figure figure_of(MemorySheet& sheet, const CalculationInfo& c, const Assumptions& a) {
  std::vector<double> numbers;
  const char* caption = nullptr;
  if (c.id == Calculation::MainProgram_1) {
    double g_w = read(sheet, Field::Text6);
    if (a.wall_layers) {
      for (const WallLayer& l : layer_values(*a.wall_layers))
        numbers.insert(numbers.end(),
                       {l.basis == LayerBasis::area ? 1.0 : 0.0, l.thickness, l.weight});
      fill(numbers);
      g_w = lc_wall_weight(static_cast<int>(a.wall_layers->size()));
    }
    numbers = {read(sheet, Field::Text1), read(sheet, Field::Text2), read(sheet, Field::Text3),
               read(sheet, Field::Text13), g_w};
    const std::vector<Opening> openings =
        a.openings ? opening_values(*a.openings)
                   : std::vector{field_opening(read(sheet, Field::Text4), read(sheet, Field::Text5),
                                               read(sheet, Field::Text11))};
    for (const Opening& o : openings)
      numbers.insert(numbers.end(), {o.width, o.height, o.count, o.weight});
    fill(numbers);
    caption = lc_beam_line_load(static_cast<int>(openings.size()));
  } else {
    const StairMaterials m = stair_materials(a);
    numbers = {read(sheet, Field::Text7),
               read(sheet, Field::Text8),
               read(sheet, Field::Text9),
               read(sheet, Field::Text10),
               read(sheet, Field::Text12),
               m.concrete_unit_weight,
               m.soffit_weight};
    for (const ExtraLoad& e : extra_load_values(a.extra_loads))
      numbers.insert(numbers.end(),
                     {e.basis == ExtraBasis::line ? 1.0 : 0.0, e.weight, e.flight_width});
    fill(numbers);
    caption = lc_stair_dead_load(static_cast<int>(a.extra_loads.size()));
  }
  std::string text(caption, lc_output_size());
  const double value = lc_value();
  if (!std::isnan(value)) return judged(CalcStatus::ok, value, std::move(text), c.label);
  const CalcStatus status = text == failure_text(CalcStatus::zero_divisor)
                                ? CalcStatus::zero_divisor
                                : CalcStatus::out_of_range;
  return judged(status, 0.0, std::move(text), c.label);
}
#endif

// As write_line, for an entry with assumptions: the fields they replace are not written (the
// sheet's opening stays cleared, so that the column is held against the bay alone, and the
// openings' own rules held it against them when they were drawn).
bool write_assumed_line(MemorySheet& sheet, std::uint64_t n, const CalculationInfo& c,
                        const Texts& texts, const Assumptions& a, std::string& line) {
  sheet.clear_effects();
  for (auto f = c.reads.rbegin(); f != c.reads.rend(); ++f)
    if (held_against_others(*f)) sheet.set_text(*f, "0");
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (!replaces(a, c.reads[i])) sheet.set_text(c.reads[i], texts[i]);
  bool sound = true;
  for (const Effect& e : sheet.effects())
    if (e.kind == Effect::Kind::message || e.kind == Effect::Kind::beep) sound = false;

  const Figure figure = figure_of(sheet, c, a);
  line = std::to_string(n) + "\t" + std::string(c.key.substr(0, c.key.find('_')));
  for (Field f : c.reads) line += "\t" + (replaces(a, f) ? std::string("-") : sheet.text(f));
  line += assumption_columns(a, c.id);
  line += "\t" + figure.result + "\t" + figure.caption + "\n";
  return sound && figure.sound;
}

bool parse(const char* arg, std::uint64_t& out) {
  const std::string_view s(arg);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size();
}

void report_fault(std::uint64_t n) {
  std::fprintf(stderr,
               "loadcalc_figures: entry %llu: a check objected or the caption is not the "
               "result's\n",
               static_cast<unsigned long long>(n));
}

// From the last row back, the order the recorded figures were drawn in.
const CalculationInfo& draw_calculation(Random& random) {
  return calculations[calculations.size() - 1 - random.next() % calculations.size()];
}

int run(std::uint64_t count, std::uint64_t seed) {
  Random random(seed);
  MemorySheet sheet(change_check);
  Form_Load(sheet);
  std::string line;
  int faults = 0;
  for (std::uint64_t n = 1; n <= count; ++n) {
    const CalculationInfo& c = draw_calculation(random);
    Texts texts;
    do texts = draw_set(random, c);
    while (!passes_cross_checks(c, texts));
    const bool sound = write_line(sheet, n, c, texts, line);
    std::fwrite(line.data(), 1, line.size(), stdout);
    if (!sound) {
      report_fault(n);
      ++faults;
    }
  }
  for (std::uint64_t n = count + 1; n <= 2 * count; ++n) {
    const CalculationInfo& c = draw_calculation(random);
    Texts texts;
    do texts = draw_set(random, c);
    while (!passes_cross_checks(c, texts));
    const Assumptions a = draw_assumptions(random, c, texts);
    const bool sound = write_assumed_line(sheet, n, c, texts, a, line);
    std::fwrite(line.data(), 1, line.size(), stdout);
    if (!sound) {
      report_fault(n);
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
