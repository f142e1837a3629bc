#pragma once
// Inside book/ only: the book's file and its recovery copy on disk.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace loadcalc {

// A path as UTF-8 text, as messages and the recovery copy write it.
inline std::string utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return {s.begin(), s.end()};
}

// How a message names a key or a path: “name”.
inline std::string in_quotes(std::string_view s) {
  return "“" + std::string(s) + "”";
}

// The whole file, refused unread when larger than max_book_bytes. The message on failure.
std::optional<std::string> read_whole(const std::filesystem::path& path, std::string& out);

// Whole or not at all: the bytes go to a temporary file beside `path`, which is then renamed over
// it, so that whatever fails, `path` holds its old bytes or all the new ones and never a part. It
// is what keeps a failed save from costing the engineer the book already on disk, and a crash
// while the recovery copy is written from leaving a copy that cannot be read. With `sync`, the
// bytes reach the disk before the rename: a power failure soon after a save leaves no empty file
// either. The message on failure, none on success.
std::optional<std::string> write_whole(const std::filesystem::path& path, std::string_view data,
                                       bool sync);

}  // namespace loadcalc
