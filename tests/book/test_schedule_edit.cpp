// Blocks of cells pasted into a kind's schedule, and the clipboard text a spreadsheet reads and
// writes for them.

#include "book/schedule_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "book/book.h"
#include "tests/support/entries.h"

namespace loadcalc {
namespace {

using F = Field;
using test::beam;
using test::stair;

Entry noted(Entry e, std::string note) {
  e.note = std::move(note);
  return e;
}

// Beams and a stair in mixed order, one stair already holding the name the next stair would get.
Book mixed_book() {
  Book b;
  b.entries = {beam("KL1"), stair("楼梯 2"), beam("KL2")};
  return b;
}

constexpr auto Beam = Calculation::MainProgram_1;
constexpr auto Stair = Calculation::MainProgram_2;

// Beam schedule columns: 0 序号, 1 构件, 2 轴线开间尺寸, 3 层高, 4 框架梁高, 5 门窗洞口宽度,
// 6 门窗洞口高度, 7 墙自重, 8 窗重, 9 框架柱宽, 10 结果, 11 检查, 12 备注.
// Stair: 0 序号, 1 构件, 2 踏步宽度, 3 踏步高度, 4 楼梯板厚度, 5 面层厚度, 6 面层容重, 7 结果,
// 8 检查, 9 备注.
TEST(PasteBlock, FillsByPositionOrByHeaderAndAppendsNewEntries) {
  struct Case {
    const char* what;
    Calculation kind;
    std::size_t row, column;
    Cells cells;
    std::vector<Entry> entries;
    std::size_t changed, added;
  };
  // clang-format off
  const std::vector<Case> cases{
      {"by position from the name",
       Beam, 0, 1,
       {{"KL1a", "5.1", "3.3"}},
       {beam("KL1a", {{F::Text1, "5.1"}, {F::Text2, "3.3"}}), stair("楼梯 2"), beam("KL2")},
       1, 0},
      {"the second beam is the book's third entry; 序号 is skipped",
       Beam, 1, 0,
       {{"99", "KL2b", "6.0"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2b", {{F::Text1, "6.0"}})},
       1, 0},
      {"结果 and 检查 skipped, past the last column ignored",
       Beam, 0, 9,
       {{"0.3", "12.5", "错", "注", "多余"}},
       {noted(beam("KL1", {{F::Text13, "0.3"}}), "注"), stair("楼梯 2"), beam("KL2")},
       1, 0},
      {"texts kept exactly, bad ones too",
       Beam, 1, 2,
       {{" 7.20 ", "abc", ""}},
       {beam("KL1"), stair("楼梯 2"),
        beam("KL2", {{F::Text1, " 7.20 "}, {F::Text2, "abc"}, {F::Text3, ""}})},
       1, 0},
      {"same texts pasted: nothing changed",
       Beam, 0, 2,
       {{"4.0", "3.6"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2")},
       0, 0},
      {"rows past the end become stairs after the book's last entry, the taken name passed over",
       Stair, 0, 3,
       {{"150"}, {"170", "120"}, {"175"}},
       {beam("KL1"), stair("楼梯 2", {{F::Text8, "150"}}), beam("KL2"),
        stair("楼梯 3", {{F::Text8, "170"}, {F::Text9, "120"}}),
        stair("楼梯 4", {{F::Text8, "175"}})},
       1, 2},
      {"a new entry keeps a pasted name",
       Beam, 2, 1,
       {{"WKL1", "8.1"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2"), beam("WKL1", {{F::Text1, "8.1"}})},
       0, 1},
      {"rows past the end that reach only 结果 make nothing",
       Beam, 1, 10,
       {{"1"}, {"2"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2")},
       0, 0},
      {"by header, in any order, whatever the column",
       Beam, 1, 11,
       {{"备注", "层高（米）", "bay_span", "结果", "类型"},
        {"n1", "3.0", "7.2", "99", "梁"},
        {"n2", "3.1", "", "98", "梁"}},
       {beam("KL1"), stair("楼梯 2"),
        noted(beam("KL2", {{F::Text2, "3.0"}, {F::Text1, "7.2"}}), "n1"),
        noted(beam("梁 3", {{F::Text2, "3.1"}, {F::Text1, ""}}), "n2")},
       1, 1},
      {"by header: schedule headings, name and a blank heading",
       Stair, 0, 0,
       {{"构件", "", "面层容重(kN/m³)", "序号"}, {"TB1", "x", "20", "5"}},
       {beam("KL1"), stair("TB1", {{F::Text12, "20"}}), beam("KL2")},
       1, 0},
      {"a header alone pastes nothing",
       Beam, 0, 1,
       {{"构件", "层高"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2")},
       0, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto pasted = paste_block(mixed_book(), c.kind, c.row, c.column, c.cells);
    ASSERT_TRUE(std::holds_alternative<PasteResult>(pasted)) << std::get<ReadError>(pasted).message;
    const PasteResult& r = std::get<PasteResult>(pasted);
    EXPECT_EQ(r.entries, c.entries);
    EXPECT_EQ(r.changed, c.changed);
    EXPECT_EQ(r.added, c.added);
  }
}

TEST(PasteBlock, RefusesAHeaderItCannotMatchOrABookTooLarge) {
  struct Case {
    Calculation kind;
    Cells cells;
    std::string message;
  };
  const std::vector<Case> cases{
      {Beam,
       {{"构件", "踏步宽度"}, {"KL1", "300"}},
       "第 2 列：“踏步宽度” 是楼梯恒荷载的输入，梁上线荷载的计算表没有这一列"},
      {Stair,
       {{"step_width", "构件", "storey_height"}},
       "第 3 列：“storey_height” 是梁上线荷载的输入，楼梯恒荷载的计算表没有这一列"},
      {Beam,
       {{"层高", "构件", "storey_height"}, {"3.0", "KL1", "3.1"}},
       "第 3 列：“storey_height” 与第 1 列同是 “层高(m)” 列"},
      {Beam, {{"备注", "Note"}, {"a", "b"}}, "第 2 列：“Note” 与第 1 列同是 “备注” 列"},
  };
  for (const Case& c : cases) {
    const auto pasted = paste_block(mixed_book(), c.kind, 0, 1, c.cells);
    ASSERT_TRUE(std::holds_alternative<ReadError>(pasted)) << c.message;
    EXPECT_EQ(std::get<ReadError>(pasted).message, c.message);
  }

  Book full;
  full.entries.assign(max_book_entries - 1, beam("KL"));
  EXPECT_TRUE(std::holds_alternative<PasteResult>(paste_block(full, Stair, 0, 1, {{"TB1"}})));
  const auto over = paste_block(full, Stair, 0, 1, {{"TB1"}, {"TB2"}});
  ASSERT_TRUE(std::holds_alternative<ReadError>(over));
  EXPECT_EQ(std::get<ReadError>(over).message, "粘贴后计算书将超过上限 10000 条计算，未粘贴");
}

TEST(Clipboard, SpreadsheetTextReadsToItsCells) {
  struct Case {
    std::string text;
    Cells cells;
  };
  const std::vector<Case> cases{
      {"", {}},
      {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
      {"a\tb\nc\td", {{"a", "b"}, {"c", "d"}}},
      {"单\n", {{"单"}}},
      {"a\t\tb\n", {{"a", "", "b"}}},
      {"\t\n", {{"", ""}}},
      {"a\n\nb\n", {{"a"}, {""}, {"b"}}},
      {"\"x\ty\"\tz\r\n", {{"x\ty", "z"}}},
      {"\"line1\nline2\"\t\"say \"\"hi\"\"\"\n", {{"line1\nline2", "say \"hi\""}}},
      {"5\"\t12\"\n", {{"5\"", "12\""}}},
      {"\"open\tx\ny\n", {{"\"open", "x"}, {"y"}}},
      {"3.30 \t=A1\n", {{"3.30 ", "=A1"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_tsv(c.text), c.cells) << c.text;
}

TEST(Clipboard, BlocksWrittenOutReadBackAsThemselves) {
  const Cells block{
      {"KL1", "4.0", ""}, {"a\tb", "two\nlines", "\"quoted\""}, {"5\"", "<&>", "层高"}};
  const std::string tsv = block_tsv(block);
  EXPECT_EQ(tsv,
            "KL1\t4.0\t\n"
            "\"a\tb\"\t\"two\nlines\"\t\"\"\"quoted\"\"\"\n"
            "5\"\t<&>\t层高\n");
  EXPECT_EQ(parse_tsv(tsv), block);
  EXPECT_EQ(parse_tsv(block_tsv({{""}})), Cells{{""}});

  EXPECT_EQ(block_html({{"a<b", "x & \"y\""}, {"one\r\ntwo", "层高"}}),
            "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
            "</head><body><table>\n"
            "<tr><td>a&lt;b</td><td>x &amp; &quot;y&quot;</td></tr>\n"
            "<tr><td>one<br>two</td><td>层高</td></tr>\n"
            "</table></body></html>\n");
}

}  // namespace
}  // namespace loadcalc
