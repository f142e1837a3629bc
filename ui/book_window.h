#pragma once
// The calculation book's window: a second top-level window beside the calculator, owned by it,
// holding one book (project fields and an ordered list of entries) with undo, files, recovery
// copies, exports and print. The calculator stays exactly as it is; it only gains the way in
// (加入计算书… on each result's menu) and asks the book about unsaved changes when it closes.

#include <QString>

#include "calc/sheet.h"

namespace loadcalc::ui {

class Form1;
class BookWindow;

// The calculator's book window, built on first use; none is built by asking with create=false.
BookWindow* book_window(Form1& calculator, bool create = true);

// Shows the book window with the book at `path` (an empty path: the book as it is, or a new
// one). Returns the message shown to the user when the file could not be opened, else empty.
QString open_book_window(Form1& calculator, const QString& path);

// At start-up: when an earlier run ended without saving its book, asks 恢复 / 放弃 and reopens
// the recovered book in the book window, or removes the copy.
void offer_recovery(Form1& calculator);

// 加入计算书…: asks for a member name and appends the calculator's current beam or stair.
void add_to_book(Form1& calculator, Calculation c);

// Whether the calculator may close: the book window asks 保存 / 不保存 / 取消 when it has
// unsaved changes; false when the user cancels.
bool book_allows_close(Form1& calculator);

}  // namespace loadcalc::ui
