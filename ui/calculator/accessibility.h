#pragma once

class QLabel;
class QString;

namespace loadcalc::ui {

// Gives the window's controls the roles a screen reader expects where Qt's defaults differ: the
// window reports the window role (with its title as name), the sketch the graphic role, and a
// frame is a named group that does not claim to label each of its controls (every field has a
// label of its own). Safe to call any number of times.
void install_accessibility();

// Makes a result label's description its working as plain text (Form1::working_plain).
void describe_by_working(QLabel* result);

// Tells an active screen reader that a result's working, its description, has changed. The
// description itself is written only when a reader asks for it: writing the working costs more
// than the keystroke that changed it.
void working_changed(QLabel* result);

// What the sketch shows, for a listener who cannot see it.
QString sketch_description();

}  // namespace loadcalc::ui
