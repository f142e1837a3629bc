#pragma once
// What the program does with its arguments besides starting the calculator:
//   loadcalc FILE.lcbook            the calculator with that book beside it
//   loadcalc --export OUT FILE      OUT written from the book, with no window and no display;
//                                   FILE may be a schedule (.csv, .tsv, .txt) and OUT a book
//                                   (.lcbook) or a workbook (.xlsx)
//   loadcalc --help, --version      the usage or the version on standard output, and no window

#include <QString>
#include <QStringList>

namespace loadcalc::app {

class Workspace;

// Exit codes of an export.
inline constexpr int exit_ok = 0;
inline constexpr int exit_bad_input = 1;  // the input cannot be read, or OUT cannot be written
inline constexpr int exit_usage = 2;      // the arguments themselves are wrong

// True when the arguments ask for an export; decided on the raw arguments, before Qt starts,
// because an export must not need a display.
bool asks_for_export(int argc, char* argv[]);

// True when the arguments ask for the usage or the version; like an export, answered before Qt
// starts, so that a script or a terminal without a display gets its answer.
bool asks_for_information(int argc, char* argv[]);

// Prints the usage or the version on standard output. Returns the exit code.
int print_information(int argc, char* argv[]);

// Runs the export on the offscreen platform: writes OUT whole or not at all, and on failure
// prints the reason on stderr. Returns the exit code.
int run_export(int argc, char* argv[]);

// The book named on the command line of a normal start, or empty.
QString book_argument(const QStringList& arguments);

// After the calculator is shown: a recovery copy left by a crash is offered first, then the book
// named on the command line opens beside the calculator (asking about the recovered book's
// unsaved changes, if one was taken back).
void open_books(Workspace& workspace, const QStringList& arguments);

}  // namespace loadcalc::app
