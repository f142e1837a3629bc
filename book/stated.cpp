#include "book/stated.h"

#include <initializer_list>
#include <utility>

#include "calc/assumptions.h"
#include "calc/calculations.h"
#include "calc/fields.h"
#include "calc/number.h"

namespace loadcalc {

namespace {

// The calculator's one opening, when the stated list is exactly that: one opening of count 1.
const OpeningText* single_opening(const std::vector<OpeningText>& openings) {
  if (openings.size() != 1 || read_number(openings.front().count) != 1) return nullptr;
  return &openings.front();
}

// The text a field takes back when the assumptions that replaced it are dropped.
std::string text_from(const Assumptions& dropped, Field f) {
  if (f == Field::Text6 && dropped.wall_layers)
    return field_figure(build_up(*dropped.wall_layers).wall_weight);
  if (dropped.openings) {
    if (const OpeningText* one = single_opening(*dropped.openings)) {
      if (f == Field::Text4) return one->width;
      if (f == Field::Text5) return one->height;
      if (f == Field::Text11) return one->weight;
    }
  }
  return std::string(field_info(f).default_text);
}

std::string kn_per_m2(double value) {
  return field_figure(value) + " kN/m²";
}

}  // namespace

Entry restated(Entry entry, Assumptions assumptions) {
  for (Field f : calculation_info(entry.kind).reads) {
    const bool was = replaces(entry.assumptions, f);
    if (replaces(assumptions, f))
      entry.texts.erase(f);
    else if (was)
      entry.texts[f] = text_from(entry.assumptions, f);
  }
  entry.assumptions = std::move(assumptions);
  return entry;
}

CalculatorView calculator_view(const Entry& entry) {
  CalculatorView view;
  const Assumptions& a = entry.assumptions;
  for (Field f : calculation_info(entry.kind).reads) {
    const auto text = entry.texts.find(f);
    view.texts[f] = text != entry.texts.end() ? text->second : text_from(a, f);
  }
  if (entry.kind == Calculation::MainProgram_1) {
    if (a.wall_layers)
      view.unshown.push_back("墙体构造 " + std::to_string(a.wall_layers->size()) +
                             " 层：计算器只显示其合计 g_w = " + view.texts[Field::Text6] +
                             " kN/m²");
    if (a.openings && a.openings->empty()) {
      // A wall with no opening is an opening of no width and no height, to the bit.
      view.texts[Field::Text4] = "0";
      view.texts[Field::Text5] = "0";
    } else if (a.openings && !single_opening(*a.openings)) {
      const OpeningText& first = a.openings->front();
      view.texts[Field::Text4] = first.width;
      view.texts[Field::Text5] = first.height;
      view.texts[Field::Text11] = first.weight;
      view.unshown.push_back(a.openings->size() > 1
                                 ? "洞口共 " + std::to_string(a.openings->size()) +
                                       " 项：计算器只显示第 1 项"
                                 : "洞口 " + first.count + " 樘：计算器只按 1 樘计");
    }
  } else {
    const StairMaterials m = stair_materials(a);
    if (m.concrete_unit_weight != default_stair_materials.concrete_unit_weight)
      view.unshown.push_back("混凝土容重 " + field_figure(m.concrete_unit_weight) +
                             " kN/m³：计算器按 " +
                             field_figure(default_stair_materials.concrete_unit_weight) + " kN/m³");
    if (m.soffit_weight != default_stair_materials.soffit_weight)
      view.unshown.push_back("板底粉刷 " + kn_per_m2(m.soffit_weight) + "：计算器按 " +
                             kn_per_m2(default_stair_materials.soffit_weight));
    for (const ExtraLoadText& extra : a.extra_loads)
      view.unshown.push_back("附加荷载 " + extra.name + "：计算器不计");
  }
  return view;
}

Entry taken_back(const Entry& entry, const std::map<Field, std::string>& calculator_texts) {
  const CalculatorView shown = calculator_view(entry);
  const auto changed = [&](std::initializer_list<Field> fields) {
    for (Field f : fields) {
      const auto now = calculator_texts.find(f);
      if (now != calculator_texts.end() && now->second != shown.texts.at(f)) return true;
    }
    return false;
  };
  Entry out = entry;
  Assumptions& a = out.assumptions;
  if (a.wall_layers && changed({Field::Text6})) a.wall_layers.reset();
  if (a.openings && changed({Field::Text4, Field::Text5, Field::Text11})) a.openings.reset();
  for (Field f : calculation_info(entry.kind).reads) {
    const auto now = calculator_texts.find(f);
    if (replaces(a, f))
      out.texts.erase(f);
    else if (now != calculator_texts.end())
      out.texts[f] = now->second;
  }
  return out;
}

}  // namespace loadcalc
