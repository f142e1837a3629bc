// The page's way into the core: a handful of C functions exported from the WebAssembly module.
//
// The page cannot stop in the middle of a change check while a message is shown: a <dialog> does
// not block. So each check runs here to its end against a recording sheet, and the page replays
// the recorded effects in their order, waiting at each message until its dialog is closed. The
// sheet here holds the same texts as the page's fields, because every text the page shows comes
// either from the user (lc_edit, lc_commit) or from an effect recorded here.
//
// Strings cross as UTF-8: the page writes into the buffer lc_input() hands out; a function that
// answers with text returns a pointer to it and lc_output_size() gives its length.

#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "web/glue.h"

#include "calc/assumptions.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "calc/report.h"
#include "calc/startup.h"
#include "calc/working.h"
#include "calc/working_text.h"
#include "checks/checks.h"
#include "form/key_filter.h"

#ifdef __wasm__
#define LOADCALC_EXPORT(name) extern "C" __attribute__((export_name(#name)))
#else
#define LOADCALC_EXPORT(name) extern "C"
#endif

namespace loadcalc {
namespace {

MemorySheet sheet(change_check);
std::string input;
std::string output;
std::vector<double> numbers;
// The figure of the last generalised formula; NaN when it failed.
double value = std::numeric_limits<double>::quiet_NaN();

void append_json(std::string& out, std::string_view s) {
  out += '"';
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static constexpr char hex[] = "0123456789abcdef";
      out += "\\u00";
      out += hex[u >> 4];
      out += hex[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

// The rows' control names as a JSON array.
void append_names(std::string& out, const auto& rows) {
  out += '[';
  for (const auto& row : rows) {
    if (out.back() != '[') out += ',';
    append_json(out, row.name);
  }
  out += ']';
}

// One effect as a JSON array: [kind, ...].
void append_effect(std::string& out, const Effect& e) {
  out += '[';
  switch (e.kind) {
    case Effect::Kind::text:
      out += "\"text\",\"" + std::string(field_info(e.field).name) + "\",";
      append_json(out, e.text);
      break;
    case Effect::Kind::caption:
      out += "\"caption\",\"" + std::string(result_info(e.label).name) + "\",";
      append_json(out, e.text);
      break;
    case Effect::Kind::selection:
      out += "\"selection\",\"" + std::string(field_info(e.field).name) + "\",";
      out += std::to_string(e.selection.start) + ',' + std::to_string(e.selection.length);
      break;
    case Effect::Kind::tooltip:
      out += "\"tooltip\",";
      append_json(out, e.text);
      break;
    case Effect::Kind::message:
      out += "\"message\",";
      append_json(out, e.text);
      out += ',';
      append_json(out, e.title);
      break;
    case Effect::Kind::beep:
      out += "\"beep\"";
      break;
  }
  out += ']';
}

// The effects as a JSON array, in their order. A write that left its text as it was did nothing
// and is left out.
const char* answer_effects() {
  output = "[";
  for (const Effect& e : sheet.effects()) {
    if (e.kind == Effect::Kind::text && !e.changed) continue;
    if (output.size() > 1) output += ',';
    append_effect(output, e);
  }
  output += ']';
  sheet.clear_effects();
  return output.c_str();
}

bool valid_field(int f) {
  return f >= 0 && static_cast<std::size_t>(f) < field_count;
}

bool valid_calculation(int c) {
  return c >= 0 && static_cast<std::size_t>(c) < result_count;
}

// The change check of field `f` on the text in the input buffer, or nothing if the field is no
// field, or if the text is its text already and `even_if_same` is false.
const char* judge(int f, bool even_if_same) {
  sheet.clear_effects();
  if (valid_field(f)) {
    const Field field = field_at(static_cast<std::size_t>(f));
    if (even_if_same || sheet.text(field) != input) {
      sheet.load(field, input);
      change_check(sheet, field);
    }
  }
  return answer_effects();
}

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// The buffer's numbers from `offset` on, `rows` rows of `width` each; none when the page asked
// for more than it handed in (or for a negative count).
std::optional<std::span<const double>> rows_of(std::size_t offset, int rows, std::size_t width) {
  if (rows < 0 || offset > numbers.size() ||
      (numbers.size() - offset) / width < static_cast<std::size_t>(rows))
    return std::nullopt;
  return std::span<const double>(numbers).subspan(offset, static_cast<std::size_t>(rows) * width);
}

// A row's basis as the page numbers it (0, 1); none for any other number.
template <class Basis>
std::optional<Basis> basis_at(double code) {
  if (code == 0.0) return Basis{0};
  if (code == 1.0) return Basis{1};
  return std::nullopt;
}

// The caption of a formula's result, as the calculator writes it, and the figure kept for
// lc_value(): a finite figure whose caption overflows fails as the calculator's does, yet keeps
// its figure.
const char* answer_result(const CalcResult& r, Calculation c) {
  value = r.status == CalcStatus::ok ? r.value : not_a_number;
  std::optional<std::string> caption;
  if (r.status == CalcStatus::ok) caption = format_result(r.value, calculation_info(c).unit);
  output = caption ? *caption
                   : std::string(failure_text(r.status == CalcStatus::ok ? CalcStatus::out_of_range
                                                                         : r.status));
  return output.c_str();
}

const char* answer_nothing() {
  value = not_a_number;
  output.clear();
  return output.c_str();
}

}  // namespace
}  // namespace loadcalc

using namespace loadcalc;

// A buffer of `size` bytes for the next string the page hands in.
LOADCALC_EXPORT(lc_input) char* lc_input(std::size_t size) {
  input.assign(size, '\0');
  return input.data();
}

LOADCALC_EXPORT(lc_output_size) std::size_t lc_output_size() {
  return output.size();
}

// Start-up, as the window's Load reaction runs it, on a sheet as the window is built.
LOADCALC_EXPORT(lc_start) const char* lc_start() {
  sheet = MemorySheet(change_check);
  Form_Load(sheet);
  return answer_effects();
}

// The user edited field `f` (0 for Text1), which now holds the text in the input buffer: its change
// check. An edit that left the text as it was (a character typed over its own selection) runs it
// too, as the desktop field's change event does for every insertion.
LOADCALC_EXPORT(lc_edit) const char* lc_edit(int f) {
  return judge(f, true);
}

// An input method committed its text to field `f`: its change check, if the text changed. Some
// browsers report one commit twice, so the second, which changes nothing, must do nothing.
LOADCALC_EXPORT(lc_commit) const char* lc_commit(int f) {
  return judge(f, false);
}

// Enter in field `f`: its calculation on the texts as they stand.
LOADCALC_EXPORT(lc_enter) const char* lc_enter(int f) {
  sheet.clear_effects();
  if (valid_field(f))
    run_calculation(sheet, field_info(field_at(static_cast<std::size_t>(f))).feeds);
  return answer_effects();
}

// The key filter on a typed character's code point; a negative number is no character, and is
// discarded.
LOADCALC_EXPORT(lc_key_filter) int lc_key_filter(int code) {
  return code < 0 ? 0 : static_cast<int>(form::key_filter(static_cast<char32_t>(code)));
}

// The controls the page wires, by name: the fields in the field table's order and the result
// labels in the calculation table's, as {"fields":["Text1",…],"results":["Label10",…]}. The page
// numbers them as the functions here do.
LOADCALC_EXPORT(lc_controls) const char* lc_controls() {
  output = "{\"fields\":";
  append_names(output, fields);
  output += ",\"results\":";
  append_names(output, calculations);
  output += '}';
  return output.c_str();
}

// The working of calculation `c` (0 for the calculation table's first): as HTML when `html`, else
// as plain text; nothing for no such calculation.
LOADCALC_EXPORT(lc_working) const char* lc_working(int c, int html) {
  output.clear();
  if (valid_calculation(c)) {
    const Working w = working(sheet, calculations[static_cast<std::size_t>(c)].id);
    output = html ? working_html(w) : working_text(w);
  }
  return output.c_str();
}

// The calculation sheet that printing the page prints, as the desktop prints it, dated with the
// text handed in (the page's date: the core has no clock).
LOADCALC_EXPORT(lc_sheet_html) const char* lc_sheet_html() {
  SheetHeader header;
  header.title = std::string(program_title) + "书";  // "…计算" + "书": "…计算书"
  header.program = "loadcalc " LOADCALC_VERSION "（网页版）";
  header.project.date = input;
  std::array<std::string, field_count> texts;
  for (std::size_t i = 0; i < field_count; ++i) texts[i] = sheet.text(field_at(i));
  std::vector<Calculation> all;
  for (const CalculationInfo& c : calculations) all.push_back(c.id);
  output = sheet_html(header, texts, all);
  return output.c_str();
}

// A buffer of `count` numbers for the next generalised formula.
LOADCALC_EXPORT(lc_numbers) double* lc_numbers(std::size_t count) {
  numbers.assign(count, 0.0);
  return numbers.data();
}

// The wall's weight per m² from `layers` layers, each three numbers: the basis (0: a thickness
// in mm times a unit weight in kN/m³; 1: a weight per m² of face, its thickness unused), the
// thickness, the weight. NaN when the buffer holds fewer or a basis is neither.
LOADCALC_EXPORT(lc_wall_weight) double lc_wall_weight(int layers) {
  const auto rows = rows_of(0, layers, 3);
  if (!rows) return not_a_number;
  std::vector<WallLayer> values;
  for (std::size_t i = 0; i < rows->size(); i += 3) {
    const auto basis = basis_at<LayerBasis>((*rows)[i]);
    if (!basis) return not_a_number;
    values.push_back({*basis, (*rows)[i + 1], (*rows)[i + 2]});
  }
  return wall_weight(values);
}

// The beam's line load: bay span, storey height, beam depth, column width (m), the wall's weight
// (kN/m², typed or lc_wall_weight's), then `openings` openings of four numbers each: width and
// height (m), count, weight (kN/m²). No opening is a wall without one; the calculator's window is
// one opening of count 1. The caption, or nothing when the buffer holds fewer numbers.
LOADCALC_EXPORT(lc_beam_line_load) const char* lc_beam_line_load(int openings) {
  const auto wall = rows_of(0, 1, 5);
  const auto rows = rows_of(5, openings, 4);
  if (!wall || !rows) return answer_nothing();
  const auto& w = *wall;
  std::vector<Opening> values;
  for (std::size_t i = 0; i < rows->size(); i += 4)
    values.push_back({(*rows)[i], (*rows)[i + 1], (*rows)[i + 2], (*rows)[i + 3]});
  return answer_result(beam_line_load(WallInputs{w[0], w[1], w[2], w[3], w[4]}, values),
                       Calculation::MainProgram_1);
}

// The stair's converted dead load: step width, step height, slab thickness, finish thickness
// (mm), finish density (kN/m³), the concrete's unit weight (kN/m³), the soffit finish (kN/m²),
// then `extras` extra loads of three numbers each: the basis (0: a weight per m² of plan, the
// width unused; 1: a weight per metre over a flight width), the weight, the flight width (m). The
// caption, or nothing when the buffer holds fewer numbers or a basis is neither.
LOADCALC_EXPORT(lc_stair_dead_load) const char* lc_stair_dead_load(int extras) {
  const auto stair = rows_of(0, 1, 7);
  const auto rows = rows_of(7, extras, 3);
  if (!stair || !rows) return answer_nothing();
  const auto& s = *stair;
  std::vector<ExtraLoad> values;
  for (std::size_t i = 0; i < rows->size(); i += 3) {
    const auto basis = basis_at<ExtraBasis>((*rows)[i]);
    if (!basis) return answer_nothing();
    values.push_back({*basis, (*rows)[i + 1], (*rows)[i + 2]});
  }
  return answer_result(stair_dead_load(StairInputs{s[0], s[1], s[2], s[3], s[4]},
                                       StairMaterials{s[5], s[6]}, values),
                       Calculation::MainProgram_2);
}

// The figure behind the last caption of lc_beam_line_load or lc_stair_dead_load, unrounded; NaN
// when that formula failed or was not given its numbers.
LOADCALC_EXPORT(lc_value) double lc_value() {
  return value;
}
