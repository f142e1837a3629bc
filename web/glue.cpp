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
#include <string>
#include <string_view>
#include <vector>

#include "web/glue.h"

#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
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
