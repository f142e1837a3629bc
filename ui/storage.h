#pragma once
// Where the program keeps what it writes besides the user's books: its settings (the recent
// books and whatever else goes through a plain QSettings) and the book's recovery copies.
//
// Installed, these are the system's places: the registry (HKCU\Software\loadcalc) and the user's
// application-data folder on Windows, ~/.config and ~/.local/share elsewhere. Unpacked from the
// portable zip, which carries a file named `portable` beside the program, they live in a folder
// beside the program instead, so that a copy carried to another machine changes nothing there.

#include <QString>

namespace loadcalc::ui {

// Chooses the places for the program in `program_dir`. Call after the application's names are
// set and before the first QSettings; every later QSettings() follows the choice.
void choose_storage(const QString& program_dir);

// The folder for the recovery copies. A portable copy whose folder cannot be written (a read-only
// share) keeps them in the system's place after all: the protection against a crash is worth
// more than leaving no trace.
QString data_folder();

}  // namespace loadcalc::ui
