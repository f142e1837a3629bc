#include "book/evaluate.h"

#include <string>
#include <vector>

#include "calc/assumptions.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/memory_sheet.h"
#include "calc/number.h"
#include "checks/checks.h"
#include "checks/opening_rules.h"

namespace loadcalc {

namespace {

// The first check the window would fail on this text, judged against the entry's other texts.
// The order is the window's: a range field's one test; a decimal field's value test, its cross
// test, then the leading-zero guard.
std::optional<std::string_view> refusal(Field f, std::string_view text, const FieldTexts& all,
                                        bool cross) {
  if (auto m = range_check(f, text)) return m;
  if (auto m = value_check(f, text)) return m;
  if (cross)
    if (auto m = cross_check(f, text, all)) return m;
  if (find_decimal_rule(f) != nullptr && leading_zero_guard(text)) return guard_mark;
  return std::nullopt;
}

// The entry's message for a figure it states: the window never sees these, so each names its place.
struct Refusal {
  std::string message;
  std::optional<Field> field;
};

// A stated figure, named for the message ("洞口2的宽度"), and the calculator's value test of the
// field it stands in for, if any.
struct Figure {
  std::string what;
  const std::string* text;
  std::optional<Field> value_rule;
};

// A text as a message quotes it: a paste of a whole page is cut to its first characters.
std::string quoted(std::string_view text) {
  constexpr std::size_t shown = 20;
  std::size_t i = 0, chars = 0;
  while (i < text.size() && chars < shown) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    ++chars;
  }
  return "“" + std::string(text.substr(0, i)) + (i < text.size() ? "…" : "") + "”";
}

std::optional<Refusal> figure_refusal(const std::vector<Figure>& figures) {
  for (const Figure& f : figures) {
    if (!holds_number(*f.text))
      return Refusal{f.what + quoted(*f.text) + "不是数，数据错误。请重新输入！", f.value_rule};
    if (f.value_rule)
      if (auto m = value_check(*f.value_rule, *f.text))
        return Refusal{std::string(*m), f.value_rule};
  }
  return std::nullopt;
}

std::string numbered(std::string_view stem, std::size_t i, std::string_view tail) {
  return std::string(stem) + std::to_string(i + 1) + std::string(tail);
}

// Every figure the entry states for its kind, in the order of the file.
std::vector<Figure> stated_figures(const Assumptions& a, Calculation kind) {
  std::vector<Figure> out;
  if (kind == Calculation::MainProgram_1) {
    if (a.wall_layers)
      for (std::size_t i = 0; i < a.wall_layers->size(); ++i) {
        const WallLayerText& l = (*a.wall_layers)[i];
        if (l.basis == LayerBasis::thickness) {
          out.push_back({numbered("墙体第", i, "层的厚度"), &l.thickness, {}});
          out.push_back({numbered("墙体第", i, "层的容重"), &l.weight, {}});
        } else {
          out.push_back({numbered("墙体第", i, "层的面荷载"), &l.weight, {}});
        }
      }
    if (a.openings)
      for (std::size_t i = 0; i < a.openings->size(); ++i) {
        const OpeningText& o = (*a.openings)[i];
        out.push_back({numbered("洞口", i, "的宽度"), &o.width, Field::Text4});
        out.push_back({numbered("洞口", i, "的高度"), &o.height, Field::Text5});
        out.push_back({numbered("洞口", i, "的樘数"), &o.count, {}});
        out.push_back({numbered("洞口", i, "的门窗自重"), &o.weight, Field::Text11});
      }
    return out;
  }
  if (a.concrete_unit_weight) out.push_back({"混凝土容重", &*a.concrete_unit_weight, {}});
  if (a.soffit_finish) out.push_back({"板底粉刷的面荷载", &a.soffit_finish->area_weight, {}});
  for (std::size_t i = 0; i < a.extra_loads.size(); ++i) {
    const ExtraLoadText& e = a.extra_loads[i];
    if (e.basis == ExtraBasis::area) {
      out.push_back({numbered("附加荷载", i, "的面荷载"), &e.weight, {}});
    } else {
      out.push_back({numbered("附加荷载", i, "的线荷载"), &e.weight, {}});
      out.push_back({numbered("附加荷载", i, "的梯段宽度"), &e.flight_width, {}});
    }
  }
  return out;
}

// The rules of what the assumptions put in place of fields: each figure a number within its
// field's value test, each opening's count whole, the wall's weight from its layers above 0, and
// the openings held to the cross-field rules of the wall's frame.
std::optional<Refusal> assumption_refusal(const Entry& entry, const FieldTexts& all) {
  const Assumptions& a = entry.assumptions;
  if (auto r = figure_refusal(stated_figures(a, entry.kind))) return r;
  if (entry.kind != Calculation::MainProgram_1) return std::nullopt;
  if (a.openings)
    for (const OpeningText& o : *a.openings)
      if (auto m = count_check(o.count)) return Refusal{std::string(*m), Field::Text4};
  if (a.wall_layers)
    if (auto m = wall_weight_check(wall_weight(layer_values(*a.wall_layers))))
      return Refusal{std::string(*m), Field::Text6};
  if (!a.openings) return std::nullopt;
  const auto value = [&all](Field f) { return read_number(all[index_of(f)]); };
  const WallInputs wall{value(Field::Text1), value(Field::Text2), value(Field::Text3),
                        value(Field::Text13), 0.0};
  if (auto r = opening_cross_check(wall, opening_values(*a.openings)))
    return Refusal{std::string(r->message), r->field};
  return std::nullopt;
}

}  // namespace

EntryResult evaluate(const Entry& entry) {
  EntryResult r;
  const std::span<const Field> own = calculation_info(entry.kind).reads;
  const Assumptions& a = entry.assumptions;
  const bool stated = states_any(a, entry.kind);
  FieldTexts all{};
  for (Field f : own) {
    if (stated && replaces(a, f)) continue;
    auto it = entry.texts.find(f);
    if (it == entry.texts.end()) {
      // Only a program can build such an entry; a file that lacks a text is refused on reading.
      r.message = "缺少“" + std::string(field_info(f).caption) + "”";
      r.field = f;
      return r;
    }
    all[index_of(f)] = it->second;
  }
  for (Field f : own) {
    if (stated && replaces(a, f)) continue;
    // The openings' own rules stand in for the fields' cross-field tests.
    const bool cross = !(stated && a.openings);
    if (auto m = refusal(f, all[index_of(f)], all, cross)) {
      r.message = *m;
      r.field = f;
      return r;
    }
  }
  if (stated) {
    if (auto refused = assumption_refusal(entry, all)) {
      r.message = std::move(refused->message);
      r.field = refused->field;
      return r;
    }
  }

  MemorySheet sheet;
  for (Field f : own) sheet.load(f, all[index_of(f)]);
  const CalcStatus status =
      stated ? run_calculation(sheet, entry.kind, a) : run_calculation(sheet, entry.kind);
  if (status != CalcStatus::ok) {
    r.message = failure_text(status);
    return r;
  }
  r.valid = true;
  r.caption = sheet.caption(result_label(entry.kind));
  return r;
}

std::optional<WallFigures> wall_figures(const Entry& entry, const EntryResult& r) {
  if (!r.valid || entry.kind != Calculation::MainProgram_1) return std::nullopt;
  const Assumptions& a = entry.assumptions;
  const auto value = [&entry](Field f) {
    auto it = entry.texts.find(f);
    return it == entry.texts.end() ? 0.0 : read_number(it->second);
  };
  const double g_w = a.wall_layers ? build_up(*a.wall_layers).wall_weight : value(Field::Text6);
  const double area =
      a.openings ? openings_table(*a.openings).area : value(Field::Text4) * value(Field::Text5);
  return WallFigures{g_w, area};
}

std::string_view caption_number(const EntryResult& r, Calculation kind) {
  if (!r.valid) return {};
  std::string_view caption = r.caption;
  const std::string_view unit = result_unit(kind);
  if (caption.ends_with(unit)) caption.remove_suffix(unit.size());
  return caption;
}

std::string_view result_unit(Calculation kind) {
  return calculation_info(kind).unit;
}

}  // namespace loadcalc
