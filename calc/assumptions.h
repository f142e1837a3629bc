#pragma once
// What an entry may state instead of a bare figure, and the formulas that take it.
//
// A beam entry may give its wall as a list of layers (the wall's weight per m², g_w, is then
// their sum) and its openings as a list (none, one, or several, each with a count); a stair entry
// may state its concrete, the finish under its slab, and extra loads per m² of plan. The texts
// are kept as typed (`Assumptions`, one member per key of the book's file); the formulas take
// them as numbers (`WallLayer`, `Opening`, `ExtraLoad`, read by read_number).
//
// The formulas are the calculator's, generalised in place, and written once over the number type
// (double for the figures, Traced for the working) like those of calculations.cpp. Each operation
// rounds to double on its own, in the order written (left to right):
//   g_w = ((0 + g_1) + g_2) + …, g_i = thickness / 1000 × unit weight, or an area weight;
//   A_o = a_1 + a_2 + …, a_i = count × width × height; G_o = a_1 × g_o1 + a_2 × g_o2 + …, each
//         from its first term (they take the place of the calculator's steps 4, 7 and 8);
//   q   = (((L − b_c) × (H − h_b) − A_o) × g_w + G_o) / L, or with no opening at all
//         q = ((L − b_c) × (H − h_b)) × g_w / L;
//   g   = the calculator's stair formula with 25 and 0.34 replaced by the entry's concrete and
//         soffit finish in the same places, then (((… + e_1) + e_2) + …) (e_i = line weight /
//         flight width, or an area weight) in the listed order.
// One opening of count 1 (1 × w is exact) takes the calculator's very operations, and the stair's
// defaults are its very figures: an entry that states only what the calculator holds has the
// calculator's figure to the bit.
//
// Who uses what:
//   - the book's file: `Assumptions` and its members, the limits below, `states_any`, `replaces`;
//   - evaluating an entry: the checks of checks/opening_rules.h, then `calculate` (or
//     `run_calculation`, which writes the caption as the calculator's does);
//   - the sheet and the exports: `working` (steps, legend, stated figures with their sources),
//     `build_up` and `openings_table` (the sheet's tables, the summary's g_w and A_o);
//   - the editors: materials.h for the choices, `source_of` and `source_text` beside a typed
//     figure.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "calc/calculations.h"
#include "calc/materials.h"
#include "calc/sheet.h"
#include "calc/working.h"

namespace loadcalc {

// Most an entry states; a file beyond them is refused.
inline constexpr std::size_t max_wall_layers = 20;
inline constexpr std::size_t max_openings = 50;
inline constexpr std::size_t max_extra_loads = 10;

// A layer weighs its thickness times a unit weight, or a weight per m² of wall face.
enum class LayerBasis : std::uint8_t { thickness, area };
// An extra load is a weight per m² of plan, or a weight per metre along the flight spread over
// the flight's width.
enum class ExtraBasis : std::uint8_t { area, line };

// ---- As typed (the file's keys in brackets; every figure is a text, read by read_number) ----

struct WallLayerText {
  std::string material;                      // "material": a row's name, or any text
  LayerBasis basis = LayerBasis::thickness;  // which of the two forms the file holds
  std::string thickness;                     // "thickness", mm; empty for an area layer
  std::string weight;                        // "unit_weight" kN/m³, or "area_weight" kN/m²
  friend bool operator==(const WallLayerText&, const WallLayerText&) = default;
};

struct OpeningText {
  std::string width;   // "width", m
  std::string height;  // "height", m
  std::string count;   // "count"
  std::string weight;  // "weight", kN/m²
  std::string type;    // "type": a door or window row's name; empty when the file has none
  friend bool operator==(const OpeningText&, const OpeningText&) = default;
};

struct FinishText {
  std::string material;     // "material"
  std::string area_weight;  // "area_weight", kN/m²
  friend bool operator==(const FinishText&, const FinishText&) = default;
};

struct ExtraLoadText {
  std::string name;                     // "name", e.g. "栏杆自重"
  ExtraBasis basis = ExtraBasis::area;  // which of the two forms the file holds
  std::string weight;                   // "area_weight" kN/m², or "line_weight" kN/m
  std::string flight_width;             // "flight_width", m; empty for an area load
  friend bool operator==(const ExtraLoadText&, const ExtraLoadText&) = default;
};

// One entry's assumptions ("assumptions" in the file). Absent members state nothing, and an
// entry whose members are all absent is the calculator's entry.
struct Assumptions {
  // Beam: the wall's layers, in place of the wall_weight text (Text6).
  std::optional<std::vector<WallLayerText>> wall_layers;
  // Beam: the openings, in place of opening_width, opening_height and window_weight (Text4,
  // Text5, Text11). An empty list is a wall with no opening at all.
  std::optional<std::vector<OpeningText>> openings;
  // Stair: in place of the fixed 25 kN/m³ and 0.34 kN/m².
  std::optional<std::string> concrete_unit_weight;  // kN/m³
  std::optional<FinishText> soffit_finish;
  // Stair: added after the calculator's last step, in this order.
  std::vector<ExtraLoadText> extra_loads;

  friend bool operator==(const Assumptions&, const Assumptions&) = default;
};

// Whether the entry states anything that the calculation takes (beam members for
// MainProgram_1, stair members for MainProgram_2).
bool states_any(const Assumptions& a, Calculation c);
// Whether a field's text is replaced (so that the entry holds no text for it).
bool replaces(const Assumptions& a, Field f);

// ---- As numbers ----

template <class N>
struct LayerValues {
  LayerBasis basis;
  N thickness;  // mm; unused for an area layer
  N weight;     // kN/m³, or kN/m² for an area layer
};
using WallLayer = LayerValues<double>;

template <class N>
struct OpeningValues {
  N width;   // m
  N height;  // m
  N count;
  N weight;  // kN/m²
};
using Opening = OpeningValues<double>;

template <class N>
struct ExtraLoadValues {
  ExtraBasis basis;
  N weight;        // kN/m², or kN/m for a line load
  N flight_width;  // m; unused for an area load
};
using ExtraLoad = ExtraLoadValues<double>;

// The beam's entries besides its openings: the frame and the wall's weight per m².
template <class N>
struct WallValues {
  N bay_span;
  N storey_height;
  N beam_depth;
  N column_width;
  N wall_weight;  // typed (Text6), or the layers' sum
};
using WallInputs = WallValues<double>;

template <class N>
struct StairMaterialValues {
  N concrete_unit_weight;  // kN/m³
  N soffit_weight;         // kN/m² of slab surface
};
using StairMaterials = StairMaterialValues<double>;
inline constexpr StairMaterials default_stair_materials{default_weight(stair_concrete),
                                                        default_weight(stair_soffit_finish)};

WallLayer layer_value(const WallLayerText& t);
Opening opening_value(const OpeningText& t);
ExtraLoad extra_load_value(const ExtraLoadText& t);
std::vector<WallLayer> layer_values(std::span<const WallLayerText> t);
std::vector<Opening> opening_values(std::span<const OpeningText> t);
std::vector<ExtraLoad> extra_load_values(std::span<const ExtraLoadText> t);
// The stated concrete and soffit figures, each the default where the entry states none.
StairMaterials stair_materials(const Assumptions& a);
// The calculator's one opening: opening_width × opening_height at window_weight, once.
Opening field_opening(double opening_width, double opening_height, double window_weight);

// ---- The formulas ----

// One layer's weight per m² of wall face, g_i.
double layer_weight(const WallLayer& layer) noexcept;
// g_w, in the listed order from 0; 0 for no layer.
double wall_weight(std::span<const WallLayer> layers) noexcept;
// A_o = Σ count × width × height and G_o = Σ count × width × height × weight, in the listed
// order (from the first term); 0 for no opening.
double opening_area(std::span<const Opening> openings) noexcept;
double openings_weight(std::span<const Opening> openings) noexcept;
// Σ count × width in the listed order: the width the openings take out of the bay.
double openings_width(std::span<const Opening> openings) noexcept;

// Beam line load in kN/m; with field_opening(...) alone it is beam_line_load(BeamInputs) to the
// bit.
CalcResult beam_line_load(const WallInputs& wall, std::span<const Opening> openings) noexcept;
// Stair converted dead load in kN/m²; with default_stair_materials and no extra load it is
// stair_dead_load(StairInputs) to the bit. A line load over a flight width of 0 has no quotient.
CalcResult stair_dead_load(const StairInputs& stair, const StairMaterials& materials,
                           std::span<const ExtraLoad> extras) noexcept;

// ---- An entry: its fields' texts on a sheet, and its assumptions ----

// The calculation's figure, reading its fields from the sheet except those the assumptions
// replace. With no assumption stated for the calculation, the calculator's own.
CalcResult calculate(const Sheet& sheet, Calculation c, const Assumptions& a);
// As run_calculation(sheet, c): the caption written, or the failure text on a failure.
CalcStatus run_calculation(Sheet& sheet, Calculation c, const Assumptions& a);

// Where a stated figure comes from: the table's row named by the material (null for a material
// the code does not list, or one weighed the other way), and whether the figure lies outside
// the row's range.
struct FigureSource {
  const Material* row = nullptr;
  bool outside_range = false;
};
FigureSource source_of(std::string_view material, WeightBasis basis, double value);
// "GB 50009—2012 附录A 表A 第6项（所列 24～25 kN/m³）"; "设计取值" for no row; "设计取值，
// 超出规范所列范围（GB 50009—2012 附录A 表A 第6项 所列 24～25 kN/m³）" outside the range.
std::string source_text(const FigureSource& s);

// The working of an entry with assumptions, for the sheet: the calculator's working when the
// entry states none for this calculation; otherwise the generalised formula, whose steps begin
// with the wall's build-up (g_1 … and g_w, before the line load) and the openings' A_o and G_o,
// and whose legend's figures state every layer, opening weight, concrete, soffit finish and
// extra load with its source.
Working working(const Sheet& sheet, Calculation c, const Assumptions& a);

// The sheet's tables, figures computed by the formulas above.
struct LayerLine {
  std::string material;
  WallLayer value;
  double weight;  // g_i, kN/m²
  FigureSource source;
};
struct BuildUp {
  std::vector<LayerLine> layers;
  double wall_weight = 0;  // g_w, kN/m²
};
BuildUp build_up(std::span<const WallLayerText> layers);

struct OpeningLine {
  std::string type;  // empty when none is named
  Opening value;
  double area;    // count × width × height, m²
  double weight;  // area × weight, kN
  FigureSource source;
};
struct OpeningsTable {
  std::vector<OpeningLine> rows;
  double area = 0;    // A_o, m²
  double weight = 0;  // G_o, kN
};
OpeningsTable openings_table(std::span<const OpeningText> openings);

}  // namespace loadcalc
