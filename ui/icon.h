#pragma once

#include <QIcon>

namespace loadcalc::ui {

// The program's icon at every size the build painted into the program's resources; a size in
// between is the next larger one scaled down.
QIcon app_icon();

}  // namespace loadcalc::ui
