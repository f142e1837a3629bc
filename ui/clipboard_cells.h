#pragma once
// A block of a schedule's cells on the clipboard, as spreadsheets exchange it: tab-separated
// text, and an HTML table for those that offer only that.

#include <QMimeData>

#include "book/schedule_edit.h"

namespace loadcalc::ui {

// The clipboard's text read as tab-separated cells; where it has no text, the cells of the first
// table of its HTML. No cells when it holds neither.
Cells cells_from_mime(const QMimeData& mime);

// The block as text and as an HTML table, for the caller to hand to the clipboard.
QMimeData* mime_from_cells(const Cells& cells);

}  // namespace loadcalc::ui
