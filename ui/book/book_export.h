#pragma once
// The whole book as a document: PDF and print (A4, a cover summary of every member, then each
// entry's calculation sheet, the project header and page numbers on every page), ODT, HTML, and
// the book layer's CSV, workbook and file. Needs a QGuiApplication (fonts) but no window, so the
// command line can export on the offscreen platform.

#include <QString>
#include <functional>
#include <span>
#include <string>
#include <string_view>

class QIODevice;
class QPrinter;

namespace loadcalc {
struct Book;
}

namespace loadcalc::ui {

// Told each step of an export as it is made (a page, an entry), with the number of steps; false
// stops the export, which then writes nothing.
using ExportProgress = std::function<bool(int step, int steps)>;

// A format the book exports to: the book window's 导出 menu and its save dialog, the command
// line's export and the message naming the formats there are all made from these rows, so that a
// new format is one more row.
struct ExportFormat {
  std::string_view extension;  // "pdf": the file's suffix, and "PDF…" in the menu
  std::string_view also;       // another suffix taken for the same format ("htm"), or empty
  std::string_view name;       // the save dialog's name for it: "ODF 文本文档 (*.odt)"
  // The whole book onto `out`; why not, when it could not be made, the device did not take all of
  // it or `progress` said to stop, and empty when all went.
  QString (*write)(const Book& book, QIODevice& out, const ExportProgress& progress);
};

std::span<const ExportFormat> export_formats();

// The format the file name's extension names, whatever its case; none when there is no such row.
const ExportFormat* export_format_of(const QString& path);
// The save dialog's filter: "PDF (*.pdf)".
QString export_filter(const ExportFormat& format);
// A file `name` no format takes: "不能导出为“NAME”：请用 .pdf、.odt、.html、.csv、.xlsx 或
// .lcbook".
QString unknown_format_message(const QString& name);

// Writes the book to `out_path` in the format its extension names. Returns the message for the
// user when nothing could be written (an unknown extension, a folder that cannot be written, a
// stop asked for through `progress`); empty on success. A failed or stopped export leaves no file,
// not even part of one, and an older file of that name as it was.
QString export_book(const Book& book, const QString& out_path, const ExportProgress& progress = {});

// The file a save dialog proposes for the book: its own file's name when it has one, else the
// project's name made fit for a file name, else 未命名; in `folder`, with `extension` ("lcbook").
QString proposed_path(const QString& book_path, const std::string& project_name,
                      const QString& folder, const QString& extension);

// Prints the book on `printer` (a PDF file or a real printer), A4: the pages the PDF export has.
void print_book(const Book& book, QPrinter& printer);

}  // namespace loadcalc::ui
