#pragma once
// The working written out for reading: plain text (one line per item, "h_b" for a subscript) and
// an HTML fragment (italic symbols with subscripts; no <html> or <body>). Figures are written as
// traced.h's figure_of says: entries short, computed figures to four significant figures.

#include <string>
#include <string_view>

#include "calc/working.h"

namespace loadcalc {

std::string working_text(const Working& w);
std::string working_html(const Working& w);

// A symbol as HTML: "h_b" as <i>h</i><sub>b</sub>; in "tan α" the function stays upright.
std::string symbol_html(std::string_view symbol);

// Text with &, < and > escaped for HTML.
std::string html_escaped(std::string_view s);

}  // namespace loadcalc
