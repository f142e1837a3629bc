#pragma once

#include <QIcon>
#include <QImage>

namespace loadcalc::ui {

// The program's icon, a glossy round disc with a blue downward arrow, painted at `size` x `size`
// pixels on a transparent background. 48 is the size the icon is drawn for.
QImage paint_app_icon(int size);

// The same image at every size a desktop asks for, from 16 to 256 pixels, each painted when it is
// first asked for.
QIcon app_icon();

}  // namespace loadcalc::ui
