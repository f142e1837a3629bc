#pragma once
// The whole book as a document: PDF and print (A4, a cover summary of every member, then each
// entry's calculation sheet, the project header and page numbers on every page), ODT, HTML, and
// the book layer's CSV. Needs a QGuiApplication (fonts) but no window, so the command line can
// export on the offscreen platform.

#include <QString>

class QPrinter;

namespace loadcalc {
struct Book;
}

namespace loadcalc::ui {

// Writes the book to `out_path` in the format its extension names (.pdf, .odt, .html, .csv).
// Returns the message for the user when nothing could be written (unknown extension, a folder
// that cannot be written); empty on success. A failed export leaves no partial file.
QString export_book(const Book& book, const QString& out_path);

// Prints the book on `printer` (a PDF file or a real printer), A4.
void print_book(const Book& book, QPrinter& printer);

}  // namespace loadcalc::ui
