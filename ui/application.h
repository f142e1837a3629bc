#pragma once

class QApplication;

namespace loadcalc::ui {

// The look every window of the program shares: Fusion style with each frame's line through its
// caption, as the control table's coordinates assume, one 9-point simplified-Chinese font, and
// Qt's own texts (standard buttons, context menus) in simplified Chinese whatever the system
// locale. Call before the first widget is built.
void configure_application(QApplication& app);

}  // namespace loadcalc::ui
