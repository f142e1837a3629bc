// The window as HTML, for the web edition's page. Every control comes from the layout table,
// placed at its twips converted to pixels as the desktop window converts them, in the order the
// desktop builds them (so a field lies over a label that reaches under it); the sketch is drawn as
// SVG from the sketch table (its shapes, pens, colours and dimension marks), in sketch units under
// one viewBox, and the page is rebuilt from the tables at every build. What is the writer's own is
// the lettering's measure: the desktop measures its font, the page cannot, so lettering_width and
// label_descent estimate it for the faces the page asks for.

#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "web/page_writer.h"

#include "calc/fields.h"
#include "form/layout.h"
#include "form/sketch.h"
#include "form/wiring.h"

namespace loadcalc::web {
namespace {

using namespace form;
namespace sk = form::sketch;

std::string out;

void put_one(std::string_view s) {
  out += s;
}

// Numbers to a tenth, never in the C locale's notation.
void put_one(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::round(v * 10) / 10);
  out.append(buf, r.ptr);
}

template <class... Parts>
void put(const Parts&... parts) {
  (put_one(parts), ...);
}

void put_escaped(std::string_view s) {
  for (const char c : s) {
    if (c == '<')
      put("&lt;");
    else if (c == '&')
      put("&amp;");
    else if (c == '"')
      put("&quot;");
    else
      out += c;
  }
}

// How far the letters reach below their baseline: the desktop measures it on its font; the page
// cannot, and takes a quarter of the em, as in the faces it asks for.
constexpr double label_descent = 0.25 * sk::lettering_size;

void put_colour(sk::Rgb c) {
  put("rgb(", c.r, ",", c.g, ",", c.b, ")");
}

void put_pen(sk::Stroke s) {
  const sk::Pen& p = sk::pen(s);
  put(" stroke=\"");
  put_colour(p.colour);
  put("\" stroke-width=\"", p.width, "\"");
  // SVG's own ends and corners are butt and mitre.
  if (p.cap == sk::Cap::square) put(" stroke-linecap=\"square\"");
  if (!p.dashes.empty()) {
    put(" stroke-dasharray=\"");
    for (std::size_t i = 0; i < p.dashes.size(); ++i) put(i == 0 ? "" : " ", p.dashes[i] * p.width);
    put("\"");
  }
}

void put_points(std::span<const sk::Point> points) {
  put(" points=\"");
  for (const sk::Point p : points) put(p.x, ",", p.y, " ");
  put("\"");
}

void put_line(double x1, double y1, double x2, double y2, sk::Stroke s) {
  put("<line x1=\"", x1, "\" y1=\"", y1, "\" x2=\"", x2, "\" y2=\"", y2, "\"");
  put_pen(s);
  put("/>");
}

// Lettering is drawn narrow, as drafting fonts are: a full-width character takes the em size
// times the narrowing, a half-width one a little over half of that.
double lettering_width(std::string_view text, double size) {
  double em = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    em += n >= 3 ? 1.0 : 0.55;
    i += n;
  }
  return em * size * sk::lettering_width;
}

// Text along `angle` degrees from `origin`, its baseline starting `x` along and `y` across.
void put_text(double ox, double oy, double angle, double x, double y, std::string_view text,
              double size) {
  put("<text fill=\"");
  put_colour(sk::ink);
  put("\" stroke=\"none\" transform=\"translate(", ox, " ", oy, ") rotate(", angle, ")\" x=\"", x,
      "\" y=\"", y, "\" font-size=\"", size, "\" textLength=\"", lettering_width(text, size),
      "\" lengthAdjust=\"spacingAndGlyphs\">");
  put_escaped(text);
  put("</text>");
}

void put_dimension(const sk::Dimension& d) {
  const double dx = d.to.x - d.from.x, dy = d.to.y - d.from.y, len = std::hypot(dx, dy);
  const double ax = dx / len, ay = dy / len;  // along; "above" is (ay, -ax)
  const double width = lettering_width(d.label, sk::lettering_size);
  double ex = d.to.x, ey = d.to.y;
  if (d.place == sk::LabelPlace::past_end) {
    ex += ax * (d.label_start + width + sk::label_gap);
    ey += ay * (d.label_start + width + sk::label_gap);
  }
  put_line(d.from.x, d.from.y, ex, ey, sk::dimension_stroke);
  for (const auto& [end, edge] : {std::pair{d.from, d.from_edge}, std::pair{d.to, d.to_edge}}) {
    if (edge.x == end.x && edge.y == end.y) continue;
    const double tx = edge.x - end.x, ty = edge.y - end.y, tl = std::hypot(tx, ty);
    put_line(end.x - tx / tl * sk::extension_overshoot, end.y - ty / tl * sk::extension_overshoot,
             edge.x - tx / tl * sk::extension_gap, edge.y - ty / tl * sk::extension_gap,
             sk::dimension_stroke);
  }
  const double kx = (ax + ay) / std::hypot(ax + ay, ay - ax) * sk::tick_half;
  const double ky = (ay - ax) / std::hypot(ax + ay, ay - ax) * sk::tick_half;
  for (const sk::Point p : {d.from, d.to})
    put_line(p.x - kx, p.y - ky, p.x + kx, p.y + ky, sk::tick_stroke);
  const double angle = std::atan2(ay, ax) * 180 / std::numbers::pi;
  const double baseline = -(sk::label_gap + label_descent);
  if (d.place == sk::LabelPlace::centred)
    put_text((d.from.x + d.to.x) / 2.0, (d.from.y + d.to.y) / 2.0, angle, -width / 2, baseline,
             d.label, sk::lettering_size);
  else
    put_text(d.to.x, d.to.y, angle, d.label_start, baseline, d.label, sk::lettering_size);
}

void put_sketch() {
  put("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 ", sk::width, " ", sk::height,
      "\" width=\"", sk::width / sk::units_per_pixel, "\" height=\"",
      sk::height / sk::units_per_pixel, "\" aria-hidden=\"true\">");
  for (const sk::Fill& f : sk::fills) {
    put("<polygon fill=\"");
    put_colour(f.colour);
    put("\"");
    put_points(f.outline);
    put("/>");
  }
  put("<g fill=\"none\">");
  for (const sk::Line& l : sk::lines) {
    put("<polyline");
    put_pen(l.stroke);
    put_points(l.points);
    put("/>");
  }
  for (const sk::Circle& c : sk::circles) {
    put("<circle");
    put_pen(c.stroke);
    put(" cx=\"", c.centre.x, "\" cy=\"", c.centre.y, "\" r=\"", c.radius, "\"/>");
  }
  for (const sk::Dimension& d : sk::dimensions) put_dimension(d);
  put("</g>");
  put_text(sk::note.baseline.x, sk::note.baseline.y, 0, 0, 0, sk::note.text, sk::lettering_size);
  put_text(sk::note.baseline.x, sk::note.baseline.y, 0,
           lettering_width(sk::note.text, sk::lettering_size),
           -sk::raised_lift * sk::lettering_size, sk::note.raised,
           sk::raised_size * sk::lettering_size);
  put("</svg>");
}

void put_box(const Control& c) {
  put(" style=\"left:", to_pixels(c.left), "px;top:", to_pixels(c.top),
      "px;width:", to_pixels(c.width), "px;height:", to_pixels(c.height), "px\"");
}

void put_control(const Control& c) {
  switch (c.kind) {
    case ControlKind::frame:
      break;  // opened and closed by put_window
    case ControlKind::label:
    case ControlKind::result_label:
      put("<div id=\"", c.name,
          c.kind == ControlKind::label ? "\" class=\"label\""
                                       : "\" class=\"label result\" tabindex=\"-1\"");
      put_box(c);
      put(">");
      put_escaped(c.kind == ControlKind::label ? c.text : c.name);
      put("</div>");
      break;
    case ControlKind::text_field: {
      const Field f = *field_named(c.name);
      put("<input id=\"", c.name, "\" class=\"field\" type=\"text\" tabindex=\"", c.tab_index,
          "\" inputmode=\"decimal\" autocomplete=\"off\" spellcheck=\"false\" aria-label=\"");
      put_escaped(accessible_name(f));
      put("\" value=\"");
      put_escaped(field_info(f).initial_text);
      put("\"");
      put_box(c);
      put(">");
      break;
    }
    case ControlKind::picture_box:
      put("<div id=\"", c.name, "\" class=\"picture\" tabindex=\"", c.tab_index, "\"");
      put_box(c);
      put(">");
      put_sketch();
      put("</div>");
      break;
  }
}

}  // namespace

std::string window_html() {
  out.clear();
  put("<div id=\"Form1\" style=\"width:", to_pixels(client_width_twips),
      "px;height:", to_pixels(client_height_twips), "px\">");
  bool in_frame = false;
  for (const Control& c : reading_order()) {
    if (c.kind != ControlKind::frame) {
      put_control(c);
      continue;
    }
    if (in_frame) put("</div>");
    in_frame = true;
    put("<div id=\"", c.name, "\" class=\"frame\"");
    put_box(c);
    put("><span class=\"caption\">");
    put_escaped(c.text);
    put("</span>");
  }
  if (in_frame) put("</div>");
  put("</div>\n");
  return out;
}

}  // namespace loadcalc::web
