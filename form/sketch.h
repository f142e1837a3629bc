#pragma once
// The schematic shown in Picture1, held as vector data: left a wall with one opening under a frame
// beam (what MainProgram_1 loads onto the beam), right a stair flight in section (what
// MainProgram_2 converts to a load per plan area). Coordinates are sketch units, 6,336 to the inch:
// x grows to the right, y downwards, and the caller scales once to its device.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>

namespace loadcalc::form::sketch {

struct Point {
  int x;
  int y;
};

struct Rgb {
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
};

inline constexpr int width = 32472;
inline constexpr int height = 13398;
inline constexpr int units_per_inch = 6336;
// At 96 dpi one logical pixel is 66 units: the whole sketch is 492 x 203 pixels.
inline constexpr int units_per_pixel = units_per_inch / 96;

// The sketch's colours: the fills' and the ink of every line and letter.
inline constexpr Rgb white{255, 255, 255};
inline constexpr Rgb green{0, 255, 0};
inline constexpr Rgb cyan{0, 255, 255};
inline constexpr Rgb ink{0, 0, 0};

enum class Stroke : std::uint8_t {
  thin,   // one logical pixel
  heavy,  // an edge drawn as a black band
  axis,   // thin, dash-dotted
};

// How a line ends: squared off half its width past the end point, or cut flat at it.
enum class Cap : std::uint8_t { square, flat };

// The pen of each stroke. Corners are mitred; a dash pattern is in multiples of the pen's width,
// dash, gap, dash, gap, and empty for a solid line.
struct Pen {
  Stroke stroke;
  double width;  // sketch units
  Cap cap;
  std::span<const double> dashes;
  Rgb colour;
};

// Long dash, gap, dot, gap.
inline constexpr double axis_dashes[] = {16, 3, 1.5, 3};

// A thin line is one pixel at 96 dpi; a heavy edge is its 45-unit band plus that band's outline.
// In the order of Stroke.
inline constexpr Pen pens[] = {
    {Stroke::thin, units_per_pixel, Cap::square, {}, ink},
    {Stroke::heavy, 45 + units_per_pixel, Cap::square, {}, ink},
    {Stroke::axis, units_per_pixel, Cap::flat, axis_dashes, ink},
};
static_assert(
    [] {
      for (std::size_t i = 0; i < std::size(pens); ++i)
        if (pens[i].stroke != Stroke(i)) return false;
      return true;
    }(),
    "one pen per stroke, in the order of Stroke");

constexpr const Pen& pen(Stroke s) noexcept {
  return pens[static_cast<std::size_t>(s)];
}

struct Fill {
  std::span<const Point> outline;  // closed polygon
  Rgb colour;
};

struct Line {
  std::span<const Point> points;  // open polyline
  Stroke stroke;
};

struct Circle {
  Point centre;
  int radius;
  Stroke stroke;
};

// Where a dimension's label stands: centred on the side its reading direction calls "above" (left
// of a line read bottom to top), or written along the dimension line's own continuation past `to`,
// for a dimension too short to carry its label.
enum class LabelPlace : std::uint8_t { centred, past_end };

struct Dimension {
  Point from;  // the dimension line; the label reads from `from` towards `to`
  Point to;
  Point from_edge;  // extension lines run from the dimension line to these measured edges;
  Point to_edge;    // an edge equal to its end point has no extension line
  std::string_view label;
  LabelPlace place;
  int label_start = 0;  // past_end: how far past `to` the label begins, clear of crossing lines
};

struct Note {
  Point baseline;  // left end of the baseline
  std::string_view text;
  std::string_view raised;  // written as an exponent after the text
};

// Lettering: em size of the labels and how narrow the letters are drawn, as drafting fonts are.
inline constexpr int lettering_size = 1260;
inline constexpr double lettering_width = 0.65;
// The note's raised text: its size and the lift of its baseline, as shares of the lettering size.
inline constexpr double raised_size = 0.6;
inline constexpr double raised_lift = 0.45;

// A dimension is a thin line with a heavy tick across each end at 45 degrees to it; its extension
// lines stop short of the measured edge and run on past the dimension line; its label stands clear
// of the line. Sketch units.
inline constexpr Stroke dimension_stroke = Stroke::thin;
inline constexpr Stroke tick_stroke = Stroke::heavy;
inline constexpr double tick_half = 3 * units_per_pixel;
inline constexpr double extension_gap = 3 * units_per_pixel;
inline constexpr double extension_overshoot = 4 * units_per_pixel;
inline constexpr double label_gap = 2 * units_per_pixel;

// Wall panel under the frame beam, with its opening.
inline constexpr int panel_left = 5286;
inline constexpr int panel_right = 11243;
inline constexpr int beam_top = 4106;
inline constexpr int beam_bottom = 4778;
inline constexpr int wall_bottom = 9483;
inline constexpr int opening_left = 6775;
inline constexpr int opening_right = 9753;
inline constexpr int sill = 8064;
inline constexpr int axis_end = 11671;
inline constexpr int bubble_y = 12343;
inline constexpr int bubble_radius = 670;

// Stair flight: ends of the drawn piece of slab.
inline constexpr int flight_left = 20909;
inline constexpr int flight_right = 28154;

inline constexpr Point whole_sketch[] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
inline constexpr Point beam[] = {{panel_left, beam_top},
                                 {panel_right, beam_top},
                                 {panel_right, beam_bottom},
                                 {panel_left, beam_bottom}};
inline constexpr Point wall[] = {{panel_left, beam_bottom},
                                 {panel_right, beam_bottom},
                                 {panel_right, wall_bottom},
                                 {panel_left, wall_bottom}};
inline constexpr Point opening[] = {{opening_left, beam_bottom},
                                    {opening_right, beam_bottom},
                                    {opening_right, sill},
                                    {opening_left, sill}};

// Treads of 2,002 and risers of 1,147 units; the underside runs parallel to the line through the
// inner corners, 931 units below it.
inline constexpr Point steps[] = {{20909, 5995}, {22432, 5995}, {22432, 4848}, {24434, 4848},
                                  {24434, 3701}, {26435, 3701}, {26435, 2554}, {28154, 2554}};
inline constexpr Point underside[] = {{20909, 7941}, {28154, 3789}};
// The slab's green section is closed by the steps above, the underside below and the two breaks.
inline constexpr auto slab = [] {
  std::array<Point, std::size(steps) + 2> outline{};
  std::ranges::copy(steps, outline.begin());
  outline[std::size(steps)] = underside[1];
  outline[std::size(steps) + 1] = underside[0];
  return outline;
}();
inline constexpr Point finish[] = {{20909, 5636}, {22075, 5636}, {22075, 4489}, {24076, 4489},
                                   {24076, 3342}, {26078, 3342}, {26078, 2195}, {28154, 2195}};
inline constexpr Point plaster[] = {{20909, 8354}, {28154, 4202}};

// Break lines reach a little past the finish above and the plaster below, with the zigzag at the
// middle of the slab's cut.
inline constexpr Point left_break[] = {{20909, 5306}, {20909, 6638}, {20579, 6838},
                                       {21239, 7098}, {20909, 7298}, {20909, 8684}};
inline constexpr Point right_break[] = {{28154, 1865}, {28154, 2842}, {27824, 3042},
                                        {28484, 3302}, {28154, 3502}, {28154, 4532}};

// The leader starts on the plaster line at x 21,562.
inline constexpr Point leader[] = {{21562, 7980}, {21562, 11869}, {32275, 11869}};

inline constexpr Point beam_top_edge[] = {{panel_left, beam_top}, {panel_right, beam_top}};
inline constexpr Point beam_underside[] = {{panel_left, beam_bottom}, {panel_right, beam_bottom}};
inline constexpr Point jambs_and_sill[] = {{opening_left, beam_bottom},
                                           {opening_left, sill},
                                           {opening_right, sill},
                                           {opening_right, beam_bottom}};
inline constexpr Point wall_bottom_edge[] = {{panel_left, wall_bottom}, {panel_right, wall_bottom}};
inline constexpr Point transom_1[] = {{opening_left, 5832}, {opening_right, 5832}};
inline constexpr Point transom_2[] = {{opening_left, 5884}, {opening_right, 5884}};
inline constexpr Point transom_3[] = {{opening_left, 5936}, {opening_right, 5936}};
inline constexpr Point mullion_1[] = {{8213, 5936}, {8213, sill}};
inline constexpr Point mullion_2[] = {{8264, 5936}, {8264, sill}};
inline constexpr Point mullion_3[] = {{8316, 5936}, {8316, sill}};
inline constexpr Point left_axis[] = {{panel_left, beam_top}, {panel_left, axis_end}};
inline constexpr Point right_axis[] = {{panel_right, beam_top}, {panel_right, axis_end}};

// Painted in this order, each over the one before.
inline constexpr Fill fills[] = {
    {whole_sketch, white}, {beam, cyan}, {wall, green}, {opening, white}, {slab, green},
};

inline constexpr Line lines[] = {
    {transom_1, Stroke::thin},       {transom_2, Stroke::thin},
    {transom_3, Stroke::thin},       {mullion_1, Stroke::thin},
    {mullion_2, Stroke::thin},       {mullion_3, Stroke::thin},
    {beam_top_edge, Stroke::heavy},  {beam_underside, Stroke::heavy},
    {jambs_and_sill, Stroke::heavy}, {wall_bottom_edge, Stroke::heavy},
    {left_axis, Stroke::axis},       {right_axis, Stroke::axis},
    {finish, Stroke::thin},          {plaster, Stroke::thin},
    {left_break, Stroke::thin},      {right_break, Stroke::thin},
    {steps, Stroke::heavy},          {underside, Stroke::heavy},
    {leader, Stroke::thin},
};

inline constexpr Circle circles[] = {
    {{panel_left, bubble_y}, bubble_radius, Stroke::thin},
    {{panel_right, bubble_y}, bubble_radius, Stroke::thin},
};

// The slab thickness is measured square to the slope, from the inner corner at (24,434, 4,848)
// down to the underside; 931 units along the unit normal (0.4972, 0.8676) of the slope.
inline constexpr Point slab_thickness_top{24434, 4848};
inline constexpr Point slab_thickness_bottom{24897, 5656};

inline constexpr Dimension dimensions[] = {
    {{opening_left, 1876},
     {opening_right, 1876},
     {opening_left, beam_top},
     {opening_right, beam_top},
     "窗宽",
     LabelPlace::centred},
    {{3695, beam_bottom},
     {3695, beam_top},
     {panel_left, beam_bottom},
     {panel_left, beam_top},
     "梁高",
     LabelPlace::centred},
    {{3695, sill},
     {3695, beam_bottom},
     {panel_left, sill},
     {panel_left, beam_bottom},
     "窗高",
     LabelPlace::centred},
    {{1621, wall_bottom},
     {1621, beam_top},
     {panel_left, wall_bottom},
     {panel_left, beam_top},
     "层高",
     LabelPlace::centred},
    // The axis lines themselves serve as its extension lines.
    {{panel_left, 11333},
     {panel_right, 11333},
     {panel_left, 11333},
     {panel_right, 11333},
     "开间尺寸",
     LabelPlace::centred},
    {{22432, 1876}, {24434, 1876}, {22432, 4848}, {24434, 3701}, "踏步宽", LabelPlace::centred},
    {{19437, 5995},
     {19437, 4848},
     {flight_left, 5995},
     {22432, 4848},
     "踏步高",
     LabelPlace::centred},
    {slab_thickness_top, slab_thickness_bottom, slab_thickness_top, slab_thickness_bottom,
     "梯板厚度", LabelPlace::past_end,
     // past the plaster line, 358 units beyond the underside
     650},
};

inline constexpr Note note{{21900, 11739}, "板底粉刷按0.34kN/m", "2"};

// What a screen reader is told the sketch shows, part by part from the left: each part's drawing,
// then the labels of the dimensions that start within it (from the previous part's right edge up
// to its own).
struct Part {
  std::string_view drawing;
  int right;
};
inline constexpr Part parts[] = {
    {"左图：框架梁下的填充墙立面，墙上开一个窗洞，洞内有窗框，两侧为轴线", width / 2},
    {"右图：楼梯梯段剖面，三级踏步，上有面层，板底有粉刷层", width},
};

}  // namespace loadcalc::form::sketch
