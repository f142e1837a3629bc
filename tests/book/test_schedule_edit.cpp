// Blocks of cells pasted into a kind's schedule, and a spreadsheet's clipboard text read as cells.
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

// Columns: a beam's 序号 0, 构件 1, 轴线开间尺寸 2, 墙自重 7, 检查 11; a stair's 踏步高度 3.
TEST(PasteBlock, FillsByPositionOrByHeaderAndAppendsNewEntries) {
  struct Case {
    const char* what;
    Calculation kind;
    std::size_t row, column;
    Cells cells;
    std::vector<Entry> entries;
  };
  // clang-format off
  const std::vector<Case> cases{
      {"by position: the second beam is the book's third entry; 序号 is skipped",
       Beam, 1, 0, {{"99", "KL2b", "6.0"}},
       {beam("KL1"), stair("楼梯 2"), beam("KL2b", {{F::Text1, "6.0"}})}},
      {"rows past the end become stairs after the book's last entry, the taken name passed over",
       Stair, 0, 3, {{"150"}, {"170", "120"}},
       {beam("KL1"), stair("楼梯 2", {{F::Text8, "150"}}), beam("KL2"),
        stair("楼梯 3", {{F::Text8, "170"}, {F::Text9, "120"}})}},
      {"by header, in any order, whatever the column",
       Beam, 1, 11, {{"备注", "层高（米）", "bay_span", "结果"}, {"n1", "3.0", "7.2", "99"}},
       {beam("KL1"), stair("楼梯 2"),
        noted(beam("KL2", {{F::Text2, "3.0"}, {F::Text1, "7.2"}}), "n1")}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto pasted = paste_block(mixed_book(), c.kind, c.row, c.column, c.cells);
    ASSERT_TRUE(std::holds_alternative<PasteResult>(pasted)) << std::get<ReadError>(pasted).message;
    EXPECT_EQ(std::get<PasteResult>(pasted).entries, c.entries);
  }
}

// A text pasted over a field the entry's layers replace would be a text the entry cannot hold.
TEST(PasteBlock, SkipsTheFieldsAnEntrysLayersReplace) {
  Entry layered = beam("KL1");
  layered.assumptions.wall_layers = std::vector<WallLayerText>{};
  layered.texts.erase(F::Text6);
  const auto pasted = paste_block(Book{{}, {layered}}, Beam, 0, 6, {{"2.1", "9.9", "0.4"}});
  layered.texts[F::Text5] = "2.1";
  layered.texts[F::Text11] = "0.4";
  EXPECT_EQ(std::get<PasteResult>(pasted).entries, std::vector{layered});
}

TEST(PasteBlock, RefusesAHeaderItCannotMatchOrABookTooLarge) {
  const Book full{{}, std::vector<Entry>(max_book_entries - 1, stair("LT"))};
  const std::tuple<Book, Cells, std::string> rows[] = {
      {mixed_book(),
       {{"构件", "踏步宽度"}, {"KL1", "300"}},
       "第 2 列：“踏步宽度” 是楼梯恒荷载的输入，梁上线荷载的计算表没有这一列"},
      {full, {{"KL"}, {"KL"}}, "粘贴后计算书将超过上限 10000 条计算，未粘贴"},
  };
  for (const auto& [book, cells, message] : rows) {
    const auto pasted = paste_block(book, Beam, 0, 1, cells);
    EXPECT_EQ(std::get<ReadError>(pasted).message, message);
  }
}

TEST(Clipboard, SpreadsheetTextReadsToItsCells) {
  const std::pair<std::string, Cells> rows[] = {
      {"\"line1\nline2\"\t\"say \"\"hi\"\"\"\n", {{"line1\nline2", "say \"hi\""}}},
      {"5\"\t12\"\n", {{"5\"", "12\""}}},
  };
  for (const auto& [text, cells] : rows) EXPECT_EQ(parse_tsv(text), cells) << text;
}

}  // namespace
}  // namespace loadcalc
