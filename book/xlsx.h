#pragma once
// The whole book as a workbook for Excel and WPS (.xlsx): a 汇总 sheet (序号, 构件, 类型, 结果,
// 单位), the table an engineer types into the design software, then one sheet per kind with every
// input as typed, the result, its unit, the check's message and the note. Results are number
// cells, so that a column sums and sorts; inputs are the texts as typed. Through libxlsxwriter;
// no toolkit.

#include <optional>
#include <string>

#include "book/book.h"

namespace loadcalc {

// The workbook's bytes into `bytes`; on failure why there are none ("“汇总” 表 B2 格的文字超过
// Excel 一格的上限 32767 个字符"), none on success.
std::optional<std::string> xlsx_workbook(const Book& book, std::string& bytes);

}  // namespace loadcalc
