#pragma once

class QString;

namespace loadcalc::ui {

// Gives the window's controls the roles a screen reader expects where Qt's defaults differ: the
// window reports the window role (with its title as name), the sketch the graphic role, and a
// frame is a named group that does not claim to label each of its controls (every field has a
// label of its own). Safe to call any number of times.
void install_accessibility();

// What the sketch shows, for a listener who cannot see it.
QString sketch_description();

}  // namespace loadcalc::ui
