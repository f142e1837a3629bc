// libxlsxwriter writes only to a file that it opens itself by a narrow name, which on Windows
// (built with MinGW) is read in the ANSI code page. So the workbook goes to a temporary file whose
// name that page can spell and is read back; the caller puts the bytes in place like any export's,
// whole or not at all, under any name the user chose.

#include "book/xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <fstream>
#include <random>
#include <sstream>
#include <string_view>
#include <system_error>
#include <vector>

#include "book/evaluate.h"
#include "book/schedule.h"
#include "book/summary.h"
#include "book/whole_file.h"
#include "calc/calculations.h"
#include "calc/fields.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace loadcalc {
namespace {

namespace fs = std::filesystem;

// The name libxlsxwriter can open; none when the code page cannot spell it.
std::optional<std::string> narrow_name(const fs::path& p) {
#ifdef _WIN32
  const std::wstring& w = p.native();
  if (w.empty()) return std::string();
  // Under a UTF-8 code page every name can be spelt, and the lossy test is not allowed.
  const bool utf8_page = GetACP() == CP_UTF8;
  BOOL lossy = FALSE;
  const DWORD flags = utf8_page ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL* lossy_out = utf8_page ? nullptr : &lossy;
  const int n = WideCharToMultiByte(CP_ACP, flags, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, lossy_out);
  if (n <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      lossy_out);
  return out;
#else
  return p.native();
#endif
}

// A folder for the temporary workbook, with a name libxlsxwriter can open: the system's
// temporary folder, or on Windows its short name when the long one has letters outside the code
// page (a user name in another script).
struct Folder {
  fs::path path;
  std::string narrow;
};

std::optional<Folder> temporary_folder() {
  std::error_code ec;
  const fs::path dir = fs::temp_directory_path(ec);
  if (ec) return std::nullopt;
  if (auto name = narrow_name(dir)) return Folder{dir, std::move(*name)};
#ifdef _WIN32
  std::wstring short_name(MAX_PATH, L'\0');
  const DWORD n = GetShortPathNameW(dir.c_str(), short_name.data(), MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::nullopt;
  short_name.resize(n);
  if (auto name = narrow_name(fs::path(short_name))) return Folder{dir, std::move(*name)};
#endif
  return std::nullopt;
}

// Width of a column in Excel's units (about one Latin character): a Chinese character takes two.
double text_width(std::string_view s) {
  double w = 0;
  for (unsigned char c : s)
    if (c < 0x80)
      w += 1;
    else if (c >= 0xC0)
      w += 2;
  return w;
}

struct Sheet {
  lxw_worksheet* ws = nullptr;
  std::string name;
};

// Writes cells and keeps the first failure; once one failed, the rest is not written.
class Writer {
 public:
  explicit Writer(lxw_workbook* wb) : wb_(wb), bold_(workbook_add_format(wb)) {
    format_set_bold(bold_);
  }

  // A sheet with its heading row frozen above the entries.
  Sheet sheet(std::string_view name, const std::vector<std::string>& heads,
              const std::vector<double>& min_widths) {
    Sheet s{workbook_add_worksheet(wb_, std::string(name).c_str()), std::string(name)};
    if (s.ws == nullptr) {
      fault_ = fault_.value_or("无法建立工作表 " + in_quotes(name));
      return s;
    }
    for (std::size_t c = 0; c < heads.size(); ++c) {
      const auto col = static_cast<lxw_col_t>(c);
      text(s, 0, col, heads[c], bold_);
      worksheet_set_column(s.ws, col, col, std::max(text_width(heads[c]), min_widths[c]) + 2,
                           nullptr);
    }
    worksheet_freeze_panes(s.ws, 1, 0);
    return s;
  }

  void text(const Sheet& s, lxw_row_t row, lxw_col_t col, std::string_view t,
            lxw_format* format = nullptr) {
    if (fault_ || s.ws == nullptr || t.empty()) return;
    // The library takes C strings; a NUL is written as the workbook format escapes a control
    // character, so that the text after it is not lost.
    std::string cell;
    for (char c : t) cell += c == '\0' ? std::string_view("_x0000_") : std::string_view(&c, 1);
    check(worksheet_write_string(s.ws, row, col, cell.c_str(), format), s, row, col);
  }

  // The result's figure as a number cell; a caption that is no plain number stays text.
  void number(const Sheet& s, lxw_row_t row, lxw_col_t col, std::string_view figure) {
    if (fault_ || s.ws == nullptr) return;
    double x = 0;
    const auto r = std::from_chars(figure.data(), figure.data() + figure.size(), x);
    if (r.ec != std::errc() || r.ptr != figure.data() + figure.size())
      return text(s, row, col, figure);
    check(worksheet_write_number(s.ws, row, col, x, nullptr), s, row, col);
  }

  const std::optional<std::string>& fault() const { return fault_; }

 private:
  void check(lxw_error e, const Sheet& s, lxw_row_t row, lxw_col_t col) {
    if (e == LXW_NO_ERROR) return;
    char cell[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(cell, row, col);
    fault_ = in_quotes(s.name) + " 表 " + cell + " 格" +
             (e == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED
                  ? std::string("的文字超过 Excel 一格的上限 32767 个字符")
                  : std::string("无法写入（") + lxw_strerror(e) + "）");
  }

  lxw_workbook* wb_;
  lxw_format* bold_;
  std::optional<std::string> fault_;
};

void write_book(Writer& w, const Book& book) {
  const Sheet summary =
      w.sheet("汇总",
              {"序号", "构件", "类型", "结果", "单位", std::string(wall_weight_heading),
               std::string(opening_area_heading)},
              {4, 16, 10, 8, 6, 8, 8});
  struct KindSheet {
    Sheet sheet;
    std::vector<Field> inputs;
    lxw_row_t rows = 0;
    bool wall = false;  // with the wall's figures after 单位
  };
  std::vector<KindSheet> kinds;
  for (Calculation k : every_calculation) {
    const CalculationInfo& info = calculation_info(k);
    KindSheet ks{{}, {info.reads.begin(), info.reads.end()}, 0, k == Calculation::MainProgram_1};
    std::vector<std::string> heads{"序号", "构件"};
    std::vector<double> widths{4, 16};
    for (Field f : ks.inputs) {
      heads.push_back(schedule_heading(f));
      widths.push_back(6);
    }
    heads.insert(heads.end(), {"结果", "单位"});
    widths.insert(widths.end(), {8, 6});
    if (ks.wall) {
      heads.insert(heads.end(),
                   {std::string(wall_weight_heading), std::string(opening_area_heading)});
      widths.insert(widths.end(), {8, 8});
    }
    heads.insert(heads.end(), {"检查", "备注"});
    widths.insert(widths.end(), {30, 20});
    ks.sheet = w.sheet(info.kind_name, heads, widths);
    kinds.push_back(std::move(ks));
  }

  for (std::size_t i = 0; i < book.entries.size(); ++i) {
    const Entry& e = book.entries[i];
    const EntryResult r = evaluate(e);
    const std::string number = std::to_string(i + 1);
    const std::string unit = r.valid ? std::string(result_unit(e.kind)) : std::string();
    const auto row = static_cast<lxw_row_t>(i + 1);
    w.number(summary, row, 0, number);
    w.text(summary, row, 1, e.name);
    w.text(summary, row, 2, calculation_info(e.kind).kind_name);
    // A refused entry says why where its figure would be copied from, as the summary CSV does.
    if (r.valid)
      w.number(summary, row, 3, caption_number(r, e.kind));
    else
      w.text(summary, row, 3, "无效：" + r.message);
    w.text(summary, row, 4, unit);
    const std::array<std::string, 2> wall = wall_cells(e, r);
    for (std::size_t c = 0; c < wall.size(); ++c)
      if (!wall[c].empty()) w.number(summary, row, static_cast<lxw_col_t>(5 + c), wall[c]);

    const auto place = std::find(every_calculation.begin(), every_calculation.end(), e.kind);
    KindSheet& ks = kinds[static_cast<std::size_t>(place - every_calculation.begin())];
    const lxw_row_t at = ++ks.rows;
    lxw_col_t col = 0;
    w.number(ks.sheet, at, col++, number);
    w.text(ks.sheet, at, col++, e.name);
    for (Field f : ks.inputs) {
      auto it = e.texts.find(f);
      w.text(ks.sheet, at, col++, it == e.texts.end() ? std::string_view() : it->second);
    }
    if (r.valid) w.number(ks.sheet, at, col, caption_number(r, e.kind));
    w.text(ks.sheet, at, ++col, unit);
    if (ks.wall)
      for (const std::string& cell : wall) {
        ++col;
        if (!cell.empty()) w.number(ks.sheet, at, col, cell);
      }
    w.text(ks.sheet, at, ++col, r.valid ? std::string() : "无效：" + r.message);
    w.text(ks.sheet, at, ++col, e.note);
  }
  // The inputs are texts as typed ("4.0" keeps its zero): no green mark on every one of them.
  for (const KindSheet& ks : kinds) {
    if (ks.rows == 0 || ks.sheet.ws == nullptr) continue;
    char range[2 * LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_range(range, 1, 2, ks.rows, static_cast<lxw_col_t>(1 + ks.inputs.size()));
    worksheet_ignore_errors(ks.sheet.ws, LXW_IGNORE_NUMBER_STORED_AS_TEXT, range);
  }
}

// Debian's libxlsxwriter prints the workbook's numbers with the C library's printf, in the
// decimal sign of the C locale, which the toolkit sets from the user's (a comma in German): a
// workbook must have a point whatever it is. No other thread prints meanwhile.
class NumericLocale {
 public:
  NumericLocale() {
    if (const char* l = std::setlocale(LC_NUMERIC, nullptr)) saved_ = l;
    std::setlocale(LC_NUMERIC, "C");
  }
  ~NumericLocale() { std::setlocale(LC_NUMERIC, saved_.c_str()); }
  NumericLocale(const NumericLocale&) = delete;
  NumericLocale& operator=(const NumericLocale&) = delete;

 private:
  std::string saved_;
};

std::optional<std::string> read_bytes(const fs::path& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "无法读回临时文件";
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return "无法读回临时文件";
  out = std::move(buf).str();
  return std::nullopt;
}

}  // namespace

std::optional<std::string> xlsx_workbook(const Book& book, std::string& bytes) {
  const std::optional<Folder> folder = temporary_folder();
  if (!folder) return "找不到可用的临时文件夹";
  std::random_device rd;
  const std::string name = "loadcalc-" + std::to_string(rd() % 1000000) + ".xlsx";
  const fs::path temporary_path = folder->path / name;
  const char separator = static_cast<char>(fs::path::preferred_separator);
  const std::string temporary =
      folder->narrow + (folder->narrow.ends_with(separator) ? "" : std::string(1, separator)) +
      name;
  std::string tmpdir = folder->narrow;
  lxw_workbook_options options{};
  options.tmpdir = tmpdir.data();
  lxw_workbook* wb = workbook_new_opt(temporary.c_str(), &options);
  if (wb == nullptr) return "内存不足";

  // The project as the file's title and author, which Explorer and the Office programs show.
  lxw_doc_properties properties{};
  std::string title = book.project.name, author = book.project.designer;
  if (!title.empty()) properties.title = title.data();
  if (!author.empty()) properties.author = author.data();
  workbook_set_properties(wb, &properties);

  const NumericLocale point;
  Writer writer(wb);
  write_book(writer, book);
  // Closed even after a failure: closing is what frees the workbook.
  const lxw_error closed = workbook_close(wb);
  std::optional<std::string> fault = writer.fault();
  if (!fault && closed != LXW_NO_ERROR)
    fault = std::string("无法写出工作簿（") + lxw_strerror(closed) + "）";
  if (!fault) fault = read_bytes(temporary_path, bytes);
  std::error_code ignored;
  fs::remove(temporary_path, ignored);
  return fault;
}

}  // namespace loadcalc
