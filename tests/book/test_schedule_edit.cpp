// Blocks of cells pasted into a kind's schedule, and the clipboard text a spreadsheet reads and
// writes for them.

#include "book/schedule_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
  return e.note = std::move(note), e;
}

// Beams and a stair in mixed order, one stair already holding the name the next stair would get.
Book mixed_book() {
  return Book{{}, {beam("KL1"), stair("楼梯 2"), beam("KL2")}};
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
      {"by position: the second beam is the book's third entry; 序号 is skipped",
       Beam, 1, 0, {{"99", "KL2b", "6.0"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2b", {{F::Text1, "6.0"}})}, 1, 0},
      {"结果 and 检查 skipped, past the last column ignored",
       Beam, 0, 9, {{"0.3", "12.5", "错", "注", "多余"}},
       {noted(beam("KL1", {{F::Text13, "0.3"}}), "注"), stair("楼梯 2"), beam("KL2")}, 1, 0},
      {"rows past the end become stairs after the book's last entry, the taken name passed over",
       Stair, 0, 3, {{"150"}, {"170", "120"}},
       {beam("KL1"), stair("楼梯 2", {{F::Text8, "150"}}), beam("KL2"),
        stair("楼梯 3", {{F::Text8, "170"}, {F::Text9, "120"}})}, 1, 1},
      {"by header, in any order, whatever the column",
       Beam, 1, 11, {{"备注", "层高（米）", "bay_span", "结果"}, {"n1", "3.0", "7.2", "99"}},
       {beam("KL1"), stair("楼梯 2"),
        noted(beam("KL2", {{F::Text2, "3.0"}, {F::Text1, "7.2"}}), "n1")}, 1, 0},
      {"a header alone pastes nothing",
       Beam, 0, 1, {{"构件", "层高"}}, mixed_book().entries, 0, 0},
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

// A text pasted over a field the entry's layers replace would be a text the entry cannot hold.
TEST(PasteBlock, SkipsTheFieldsAnEntrysLayersReplace) {
  Book b{{}, {beam("KL1")}};
  b.entries[0].assumptions.wall_layers = std::vector<WallLayerText>{};
  b.entries[0].texts.erase(F::Text6);
  Entry expected = b.entries[0];
  expected.texts[F::Text5] = "2.1";
  expected.texts[F::Text11] = "0.4";
  const auto pasted = paste_block(b, Beam, 0, 6, {{"2.1", "9.9", "0.4"}});
  ASSERT_TRUE(std::holds_alternative<PasteResult>(pasted));
  EXPECT_EQ(std::get<PasteResult>(pasted).entries, std::vector{expected});
}

TEST(PasteBlock, RefusesAHeaderItCannotMatchOrABookTooLarge) {
  Book full;
  full.entries.assign(max_book_entries - 1, stair("LT"));
  const std::tuple<Book, Cells, std::string> rows[] = {
      {mixed_book(),
       {{"构件", "踏步宽度"}, {"KL1", "300"}},
       "第 2 列：“踏步宽度” 是楼梯恒荷载的输入，梁上线荷载的计算表没有这一列"},
      {mixed_book(), {{"备注", "Note"}, {"a", "b"}}, "第 2 列：“Note” 与第 1 列同是 “备注” 列"},
      {full, {{"KL"}, {"KL"}}, "粘贴后计算书将超过上限 10000 条计算，未粘贴"},
  };
  for (const auto& [book, cells, message] : rows) {
    const auto pasted = paste_block(book, Beam, 0, 1, cells);
    ASSERT_TRUE(std::holds_alternative<ReadError>(pasted)) << message;
    EXPECT_EQ(std::get<ReadError>(pasted).message, message);
  }
}

TEST(Clipboard, SpreadsheetTextReadsToItsCells) {
  const std::pair<std::string, Cells> rows[] = {
      {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
      {"\"line1\nline2\"\t\"say \"\"hi\"\"\"\n", {{"line1\nline2", "say \"hi\""}}},
      {"5\"\t12\"\n", {{"5\"", "12\""}}},
      {"\"open\tx\ny\n", {{"\"open", "x"}, {"y"}}},
  };
  for (const auto& [text, cells] : rows) EXPECT_EQ(parse_tsv(text), cells) << text;
}

TEST(Clipboard, BlocksWrittenOutReadBackAsThemselves) {
  const Cells block{{"KL1", "4.0", ""}, {"a\tb", "two\nlines", "\"quoted\""}};
  const std::string tsv = block_tsv(block);
  EXPECT_EQ(tsv,
            "KL1\t4.0\t\n"
            "\"a\tb\"\t\"two\nlines\"\t\"\"\"quoted\"\"\"\n");
  EXPECT_EQ(parse_tsv(tsv), block);

  EXPECT_EQ(block_html({{"a<b", "x & \"y\""}, {"one\r\ntwo", "层高"}}),
            "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
            "</head><body><table>\n"
            "<tr><td>a&lt;b</td><td>x &amp; &quot;y&quot;</td></tr>\n"
            "<tr><td>one<br>two</td><td>层高</td></tr>\n"
            "</table></body></html>\n");
}

}  // namespace
}  // namespace loadcalc
