#pragma once

#include <string>

namespace loadcalc::web {

// The window as one HTML element, Form1, holding every control of the layout table by its control
// name, placed in pixels, and the sketch as SVG in Picture1.
std::string window_html();

}  // namespace loadcalc::web
