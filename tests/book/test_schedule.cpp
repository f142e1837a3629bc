// Schedule files as spreadsheets save them, from their bytes (decoded as the window and the
// command line decode them) to entries or to the one message that refuses them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/schedule.h"
#include "book/summary.h"
#include "book/xlsx.h"
#include "tests/support/entries.h"
#include "ui/text_decoding.h"

namespace loadcalc {
namespace {

using namespace std::string_literals;
using F = Field;
using test::Texts;

// The shared entries, with a note: a schedule carries one in its 备注 column.
Entry beam(std::string name, const Texts& changed = {}, std::string note = {}) {
  Entry e = test::beam(std::move(name), changed);
  e.note = std::move(note);
  return e;
}
Entry stair(std::string name, const Texts& changed = {}, std::string note = {}) {
  Entry e = test::stair(std::move(name), changed);
  e.note = std::move(note);
  return e;
}

std::string utf16le(std::u16string_view s) {
  std::string out = "\xFF\xFE";
  for (char16_t c : s) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

// Decoded, then read: what the import does with a file's bytes.
std::variant<Schedule, ReadError> read_file_bytes(const std::string& bytes) {
  auto text = ui::decode_text(bytes);
  if (auto* e = std::get_if<ui::DecodeError>(&text)) return ReadError{e->message};
  return read_schedule(std::get<std::string>(text));
}

const std::string all_kinds =
    "（应为 “梁上线荷载”、“楼梯恒荷载”、“梁”、“楼梯”、“beam” 或 “stair”）";

TEST(Schedule, EveryFileReadsToItsEntriesOrItsOneMessage) {
  struct Defaulted {
    std::size_t entry;
    std::vector<Field> fields;
  };
  struct Row {
    std::string name;
    std::string bytes;
    std::vector<Entry> entries;
    std::vector<Defaulted> defaulted;
    std::string message;  // when the file is refused
  };
  const std::vector<Field> stair_but_width{F::Text8, F::Text9, F::Text10, F::Text12};
  const std::vector<Field> beam_all{F::Text1, F::Text2, F::Text3,  F::Text4,
                                    F::Text5, F::Text6, F::Text11, F::Text13};
  const std::vector<Field> beam_but_storey{F::Text1, F::Text3,  F::Text4, F::Text5,
                                           F::Text6, F::Text11, F::Text13};
  const Row rows[] = {
      {"UTF-8, captions with units in every writing, CRLF",
       "构件,类型,轴线开间尺寸(m),层高（m）,框架梁高（米）,门窗洞口的宽度（米）,"
       "门窗洞口的高度（米）,"
       "墙自重kN/m2,窗重kN/m²,框架柱宽m,备注\r\n"
       "KL1 ①~②轴,梁,4.5,3.3,0.5,1.8,2.1,3.5,0.45,0.4,东立面\r\n",
       {beam("KL1 ①~②轴",
             {{F::Text1, "4.5"},
              {F::Text2, "3.3"},
              {F::Text3, "0.5"},
              {F::Text4, "1.8"},
              {F::Text5, "2.1"},
              {F::Text6, "3.5"},
              {F::Text11, "0.45"},
              {F::Text13, "0.4"}},
             "东立面")},
       {},
       ""},
      {"UTF-8 with a byte-order mark, keys, LF, no 类型: all inputs are the stair's",
       "\xEF\xBB\xBFname,step_width,STEP_HEIGHT,slab_thickness,finish_thickness,finish_density\n"
       "LT-1,300,150,120,40,20\n",
       {stair("LT-1", {{F::Text7, "300"},
                       {F::Text8, "150"},
                       {F::Text9, "120"},
                       {F::Text10, "40"},
                       {F::Text12, "20"}})},
       {},
       ""},
      {"tab-separated: commas are text; a missing input gets its default",
       "构件\t类型\t踏步宽度\t备注\nLT-2, 首层\tstair\t 300\t见结施,05\n",
       {stair("LT-2, 首层", {{F::Text7, " 300"}}, "见结施,05")},
       {{0, stair_but_width}},
       ""},
      {"quoted cells: line breaks, quotes, separators; an empty cell stays empty",
       "构件,类型,层高(m),备注\r\n\"KL2 "
       "\"\"A\"\"\r\n二层\",梁上线荷载,\"\",\"第一行\n第二行,\"\r\n",
       {beam("KL2 \"A\"\r\n二层", {{F::Text2, ""}}, "第一行\n第二行,")},
       {{0, beam_but_storey}},
       ""},
      {"GBK, as Excel on a Chinese Windows saves CSV",
       "\xb9\xb9\xbc\xfe,\xc0\xe0\xd0\xcd,\xb2\xe3\xb8\xdf\r\nKL3 "
       "\xa2\xdb\xd6\xe1,\xc1\xba,3.0\r\n",
       {beam("KL3 ③轴", {{F::Text2, "3.0"}})},
       {{0, beam_but_storey}},
       ""},
      {"UTF-16 with a byte-order mark, as Excel saves Unicode text",
       utf16le(u"构件\t层高\r\nKL5\t3.0\r\n"),
       {beam("KL5", {{F::Text2, "3.0"}})},
       {{0, beam_but_storey}},
       ""},
      {"columns the file names but the book computes are left; blank rows skipped; a short row",
       "\n序号,构件,类型,结果,单位,检查,轴线开间尺寸\n1,KL4,BEAM,6.7,kN/"
       "m,,4.2\n,,,,,,\n2,LT,楼梯\n",
       {beam("KL4", {{F::Text1, "4.2"}}), stair("LT")},
       {{0, {F::Text2, F::Text3, F::Text4, F::Text5, F::Text6, F::Text11, F::Text13}},
        {1, {F::Text7, F::Text8, F::Text9, F::Text10, F::Text12}}},
       ""},
      {"the apostrophe that keeps a formula a text is taken off, and only that one",
       "构件,类型,备注\n'=KL,梁,'-\n''=x,梁,'abc\n'-2,梁,-2\n",
       {beam("=KL", {}, "-"), beam("'=x", {}, "'abc"), beam("'-2", {}, "-2")},
       {{0, beam_all}, {1, beam_all}, {2, beam_all}},
       ""},
      {"a control character's picture is that character; the next pictures are not",
       "构件,类型,备注\n'=␀,梁,␛␡␟\n␠␢,梁,'␁\n",
       {beam(std::string("=\0", 2), {}, "\x1b\x7f\x1f"), beam("␠␢", {}, "'\x01")},
       {{0, beam_all}, {1, beam_all}},
       ""},
      // Rows pass over the inputs here: with one absent the defaulted lists grow.
      {"no 构件", "类型,层高\n梁,3\n", {}, {}, "第 1 行：没有 “构件” 列"},
      {"an unknown kind in row 3",
       "构件,类型\nA,梁\nB,柱\n",
       {},
       {},
       "第 3 行第 2 列：未知的类型 “柱”" + all_kinds},
      {"an empty kind where the inputs are of both kinds",
       "构件,类型,层高,踏步宽度\nA,,3,\n",
       {},
       {},
       "第 2 行第 2 列：类型为空" + all_kinds},
      {"a column that matches nothing",
       "构件,层高,高度\nA,3,4\n",
       {},
       {},
       "第 1 行第 3 列：不认识的列 “高度”"},
      {"an input in another unit",
       "构件,层高（mm）\n",
       {},
       {},
       "第 1 行第 2 列：“层高（mm）” 的单位应为 m"},
      {"two columns for one input",
       "构件,层高,storey_height\n",
       {},
       {},
       "第 1 行第 3 列：“storey_height” 与第 2 列同是 “层高”"},
      {"two member columns", "构件,name\n", {}, {}, "第 1 行第 2 列：“name” 与第 1 列同是 “构件”"},
      {"no 类型 and inputs of both kinds",
       "构件,层高,踏步宽度\nA,3,280\n",
       {},
       {},
       "第 1 行：没有 “类型” 列，而输入列分属梁上线荷载和楼梯恒荷载"},
      {"no 类型 and no inputs",
       "构件,备注\nA,x\n",
       {},
       {},
       "第 1 行：没有 “类型” 列，也没有输入列，分不出各行的类型"},
      {"a stair's input in a beam's row",
       "构件,类型,层高,踏步宽度\nA,梁,3,280\n",
       {},
       {},
       "第 2 行第 4 列：梁上线荷载没有 “踏步宽度” 这项输入，此格应为空"},
      {"a cell under no heading", "构件,类型\nA,梁,多余\n", {}, {}, "第 2 行第 3 列：此列没有列名"},
      {"a quote never closed",
       "构件,类型,备注\nA,梁,\"没有结束\nB,梁,x\n",
       {},
       {},
       "第 2 行第 3 列：引号没有配对，此格一直到文件末尾"},
      {"an empty file", "", {}, {}, "文件中没有计算表：没有表头行"},
      {"GBK cut off within a character",
       "\xb9\xb9\xbc\xfe\r\nKL\xc1",
       {},
       {},
       "文件既不是 UTF-8 文本，也不是 GBK 文本，无法读取"},
      {"a UTF-8 mark on what is not",
       "\xEF\xBB\xBF构件\n\xB9\xB9\n",
       {},
       {},
       "文件开头标明是 UTF-8 文本，内容却不是"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto read = read_file_bytes(row.bytes);
    if (!row.message.empty()) {
      ASSERT_TRUE(std::holds_alternative<ReadError>(read));
      EXPECT_EQ(std::get<ReadError>(read).message, row.message);
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<Schedule>(read)) << std::get<ReadError>(read).message;
    const Schedule& s = std::get<Schedule>(read);
    EXPECT_EQ(s.entries, row.entries);
    ASSERT_EQ(s.defaulted.size(), row.defaulted.size());
    for (std::size_t i = 0; i < s.defaulted.size(); ++i) {
      EXPECT_EQ(s.defaulted[i].entry, row.defaulted[i].entry);
      EXPECT_EQ(s.defaulted[i].fields, row.defaulted[i].fields);
    }
  }
}

// Texts a spreadsheet would take for formulas, quotes, breaks, an empty input, a NUL: every one
// comes back from the summary as it went in, in book order.
TEST(Schedule, TheBooksSummaryReadsBackIntoTheSameBook) {
  Book book;
  book.entries = {
      beam("KL3 ③~④轴", {}, "见结施-05"),
      stair("LT-1, \"A\"", {{F::Text8, "200"}}, "=见结施-05\n第二行 🏢"),
      beam(std::string("\0\t\x7f\U0001F3E2 𠀀", 12), {{F::Text1, "4.5"}, {F::Text11, ""}}),
      beam("-1F KL1", {{F::Text2, "-3"}}, "'=x"),
      stair("''+1", {{F::Text7, "@SUM(A1)"}}, "+2"),
      beam("", {{F::Text4, "\r\n"}}, "'"),
  };
  const auto read = read_file_bytes(summary_csv(book));
  ASSERT_TRUE(std::holds_alternative<Schedule>(read)) << std::get<ReadError>(read).message;
  EXPECT_EQ(std::get<Schedule>(read).entries, book.entries);
  EXPECT_TRUE(std::get<Schedule>(read).defaulted.empty());
}

TEST(Schedule, ImportAppendsAllOrNothing) {
  Book book;
  book.entries = {stair("LT-0")};
  const auto report = import_schedule("构件,层高\nKL1,3.0\nKL2,3.3\n", book);
  ASSERT_TRUE(std::holds_alternative<ImportReport>(report));
  const ImportReport& r = std::get<ImportReport>(report);
  EXPECT_EQ(r.added, 2u);
  ASSERT_EQ(r.defaulted.size(), 2u);
  EXPECT_EQ(r.defaulted[1].entry, 2u);  // its place in the book
  EXPECT_EQ(import_summary(r.added, r.defaulted.size()),
            "导入 2 条计算，其中 2 条缺少输入，已填默认值");
  EXPECT_EQ(book.entries.size(), 3u);
  EXPECT_EQ(book.entries[2].name, "KL2");

  // A book the program could save but never open again is refused, and left as it was.
  book.entries.resize(max_book_entries - 1, stair("LT"));
  const Book before = book;
  const auto over = import_schedule("构件,层高\nKL1,3.0\nKL2,3.3\n", book);
  ASSERT_TRUE(std::holds_alternative<ReadError>(over));
  EXPECT_EQ(std::get<ReadError>(over).message,
            "计算表有 2 条计算，加上计算书已有的 9999 条，超过上限 10000 条");
  EXPECT_EQ(book, before);
  EXPECT_EQ(import_summary(5, 0), "导入 5 条计算");
}

TEST(Schedule, TheDocumentedExampleImportsCleanly) {
  std::ifstream in(std::filesystem::path(LOADCALC_SOURCE_DIR) / "docs/schedule-example.csv",
                   std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const auto read = read_file_bytes(bytes);
  ASSERT_TRUE(std::holds_alternative<Schedule>(read)) << std::get<ReadError>(read).message;
  const Schedule& s = std::get<Schedule>(read);
  EXPECT_EQ(s.entries.size(), 6u);
  EXPECT_TRUE(s.defaulted.empty());
  for (const Entry& e : s.entries) EXPECT_TRUE(evaluate(e).valid) << e.name;
}

// What the workbook holds is read back by openpyxl (tests/app/check_xlsx.py), and the export puts
// it in place as it does any format's; here, the one fault of the workbook's own.
TEST(Xlsx, ACellExcelCannotHoldIsNamed) {
  Book book;
  book.entries = {stair("LT-1"), beam("KL1", {}, std::string(32768, 'x'))};
  std::string bytes;
  EXPECT_EQ(xlsx_workbook(book, bytes),
            "“梁上线荷载” 表 P2 格的文字超过 Excel 一格的上限 32767 个字符");

  book.entries[1].note = std::string(32767, 'x');
  EXPECT_EQ(xlsx_workbook(book, bytes), std::nullopt);
  EXPECT_TRUE(bytes.starts_with("PK\x03\x04"));
}

}  // namespace
}  // namespace loadcalc
