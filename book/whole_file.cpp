// A book's files on disk: read whole within the size limit, written whole or not at all.

#include "book/whole_file.h"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "book/file.h"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace loadcalc {

std::optional<std::string> read_whole(const std::filesystem::path& path, std::string& out) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return "找不到文件 " + in_quotes(utf8(path));
  if (!std::filesystem::is_regular_file(status)) return in_quotes(utf8(path)) + " 不是文件";
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return "无法读取 " + in_quotes(utf8(path));
  if (size > max_book_bytes)
    return "文件过大（" + std::to_string(size / (1024 * 1024)) + " MB，超过 " +
           std::to_string(max_book_bytes / (1024 * 1024)) + " MB），未读取";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "无法打开 " + in_quotes(utf8(path));
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return "读取 " + in_quotes(utf8(path)) + " 时出错";
  out = std::move(buf).str();
  // It may have grown since it was measured.
  if (out.size() > max_book_bytes)
    return "文件过大（超过 " + std::to_string(max_book_bytes / (1024 * 1024)) + " MB），未读取";
  return std::nullopt;
}

namespace {

// The data reach the disk before the rename makes them the file: otherwise a crash soon after a
// save could leave an empty file where the old one was.
bool sync_to_disk(const std::filesystem::path& path) {
#ifdef _WIN32
  // _commit is FlushFileBuffers, which wants a handle open for writing.
  const int fd = ::_wopen(path.c_str(), _O_WRONLY | _O_BINARY);
  if (fd < 0) return false;
  const bool ok = ::_commit(fd) == 0;
  ::_close(fd);
  return ok;
#else
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
#endif
}

}  // namespace

std::optional<std::string> write_whole(const std::filesystem::path& path, std::string_view data,
                                       bool sync) {
  namespace fs = std::filesystem;
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::random_device rd;
  const fs::path tmp =
      dir / (path.filename().native() + fs::path(".tmp" + std::to_string(rd() % 1000000)).native());
  const std::string failed = "无法保存到 " + in_quotes(utf8(path)) + "：";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out)
      return failed + "无法在 " + in_quotes(utf8(dir)) + " 中创建文件（文件夹不存在或不可写）";
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.flush();
    out.close();
    if (!out || (sync && !sync_to_disk(tmp))) {
      std::error_code ignored;
      fs::remove(tmp, ignored);
      return failed + "写入失败（磁盘可能已满）";
    }
  }
  std::error_code ec;
  fs::rename(tmp, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return failed + "无法替换原文件（" + ec.message() + "）";
  }
  return std::nullopt;
}

}  // namespace loadcalc
