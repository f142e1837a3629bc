#include "book/system_error.h"

#include <cerrno>
#include <string_view>
#include <system_error>

namespace loadcalc {
namespace {

struct Reason {
  int error;
  std::string_view text;
};

// What a user writing a file meets in practice; all of them are the folder's, not the file's.
constexpr Reason reasons[] = {
    {EROFS, "只读文件系统"},  {EACCES, "没有权限"},      {EPERM, "没有权限"},
    {ENOENT, "文件夹不存在"}, {ENOTDIR, "文件夹不存在"}, {ENOSPC, "磁盘空间不足"},
};

}  // namespace

std::string system_error_text(int error) {
  if (error == 0) return {};
  for (const Reason& r : reasons)
    if (r.error == error) return std::string(r.text);
  return std::generic_category().message(error);
}

bool folder_error(int error) {
  for (const Reason& r : reasons)
    if (r.error == error) return true;
  return false;
}

}  // namespace loadcalc
