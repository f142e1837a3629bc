#pragma once
// The operating system's reason for a failed file operation, in the words of the program's other
// messages: the standard library and Qt only know English.

#include <string>

namespace loadcalc {

// "只读文件系统" for EROFS and the few other reasons a user meets when writing a file; any other
// code in the system's own words, and empty for 0.
std::string system_error_text(int error);

// Whether `error` is a fault of the folder a file goes into (missing, read-only, not permitted,
// full) rather than of the file itself, so that a message should name the folder.
bool folder_error(int error);

}  // namespace loadcalc
