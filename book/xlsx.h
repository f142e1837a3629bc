#pragma once
// The whole book as a workbook for Excel and WPS (.xlsx): a 汇总 sheet (序号, 构件, 类型, 结果,
// 单位), the table an engineer types into the design software, then one sheet per kind with every
// input as typed, the result, its unit, the check's message and the note. Results are number
// cells, so that a column sums and sorts; inputs are the texts as typed. Through libxlsxwriter;
// no toolkit.

#include <filesystem>
#include <optional>
#include <string>

#include "book/book.h"

namespace loadcalc {

// Writes the workbook whole or not at all (replace_file); the message on failure, none on success.
std::optional<std::string> write_xlsx(const std::filesystem::path& path, const Book& book);

}  // namespace loadcalc
