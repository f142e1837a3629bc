#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "book/book.h"
#include "book/evaluate.h"
#include "book/file.h"
#include "book/recovery.h"
#include "book/summary.h"
#include "calc/memory_sheet.h"
#include "tests/support/entries.h"

namespace loadcalc {
namespace {

using namespace std::string_literals;
using F = Field;
using test::beam;
using test::stair;

TEST(Evaluate, AsTheWindowWouldJudgeAndComputeIt) {
  struct Row {
    Entry entry;
    std::string shown;  // the caption, or the message of a refused entry
    std::optional<Field> field;
  };
  const Row rows[] = {
      {beam("defaults"), "6.7kN/m", {}},
      {beam("no column, narrow opening", {{F::Text4, "1.2"}, {F::Text13, "0.3"}}), "7.091kN/m", {}},
      {stair("defaults"), "7.172kN/m^2", {}},
      {beam("bay 0", {{F::Text1, "0"}}), "轴线间距≤0，数据错误，请重新输入！", F::Text1},
      {beam("window wider than the bay", {{F::Text4, "4.5"}}),
       "窗宽≥开间轴线间距，数据错误。请重新输入！", F::Text4},
      {beam("opening as tall as the wall", {{F::Text5, "3.15"}}),
       "窗高≥层高-梁高，数据错误。请重新输入！", F::Text5},
      {beam("column eats the bay", {{F::Text13, "2.5"}}), "柱宽非法，数据错误。请重新输入！",
       F::Text13},
      {beam("full-width digits", {{F::Text1, "４．０"}, {F::Text13, "０"}}), "6.7kN/m", {}},
      {beam("leading zero", {{F::Text3, "01"}}), std::string(guard_mark), F::Text3},
      {beam("empty window weight", {{F::Text11, ""}}), std::string(guard_mark), F::Text11},
      {beam("overflowing wall", {{F::Text6, "1e308"}}), "数值超出范围", {}},
      {stair("step too high", {{F::Text8, "200"}}), "踏步高度≤0或≥200，数据错误。请重新输入！",
       F::Text8},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry.name);
    const EntryResult r = evaluate(row.entry);
    EXPECT_EQ(r.valid ? r.caption : r.message, row.shown);
    EXPECT_EQ(r.valid, row.shown.find("kN/m") != std::string::npos);
    EXPECT_EQ(r.field, row.field);
    EXPECT_TRUE(r.valid || r.caption.empty());
  }
}

Book sample() {
  Book b{{"某办公楼", "2026-018", "1# 楼", "张三", "李四", "王五", "2026-12-08"}, {}};
  b.entries.push_back(beam("KL3 ③~④轴"));
  b.entries.push_back(beam(std::string("\0\t\x7f\U0001F3E2 𠀀", 12), {{F::Text1, "4.5"}}));
  b.entries.push_back(stair("LT-1, \"A\"", {{F::Text8, "200"}}));
  b.entries.back().note = "=见结施-05\n第二行 🏢";
  return b;
}

TEST(BookFile, RoundTripsAndIsWrittenStably) {
  const std::string text = write_book(sample());
  const auto read = read_book(text);
  ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
  EXPECT_EQ(std::get<Book>(read), sample());
  EXPECT_EQ(write_book(std::get<Book>(read)), text);
  const std::string start =
      "{\n  \"format\": \"loadcalc-book\",\n  \"version\": 1,\n  \"project\": {\n"
      "    \"name\": \"某办公楼\",\n    \"number\": \"2026-018\",\n";
  EXPECT_EQ(text.substr(0, start.size()), start);
  EXPECT_NE(text.find("\"texts\": {\n        \"bay_span\": \"4.0\",\n        \"storey_height\""),
            std::string::npos);
  EXPECT_NE(text.find("\"kind\": \"beam\""), std::string::npos);
  EXPECT_NE(text.find("\"kind\": \"stair\""), std::string::npos);
}

std::string file_with(std::string_view entry) {
  return R"({"format": "loadcalc-book", "version": 1, "project": {"name": "", "number": "",
    "subitem": "", "designer": "", "checker": "", "approver": "", "date": ""}, "entries": [)" +
         std::string(entry) + "]}";
}
constexpr std::string_view stair_texts =
    R"("step_width": "280", "step_height": "160", "slab_thickness": "130", "finish_thickness": "30")";

TEST(BookFile, NumbersAreTakenAsTheirShortestText) {
  const auto read = read_book(file_with(
      R"({"name": "LT", "kind": "stair", "note": "", "texts": {"step_width": 2.8e2,
      "step_height": "160", "slab_thickness": "130", "finish_thickness": "30",
      "finish_density": 22.0}})"));
  ASSERT_TRUE(std::holds_alternative<Book>(read)) << std::get<ReadError>(read).message;
  const Entry& e = std::get<Book>(read).entries.at(0);
  EXPECT_EQ(e.texts.at(F::Text7), "280");
  EXPECT_EQ(e.texts.at(F::Text12), "22");
}

TEST(BookFile, EveryBadFileIsRefusedWithItsPlace) {
  const std::string good_entry =
      R"({"name": "LT", "kind": "stair", "note": "", "texts": {)" + std::string(stair_texts);
  const std::string full = write_book(sample());
  const std::pair<std::string, std::string> rows[] = {
      {"", "文件是空的"},
      {full.substr(0, 120), "文件不完整：在第 121 字节处意外结束"},
      {"<html></html>", "文件不是有效的 JSON（第 1 字节处）"},
      {"{\"format\": \"loadcalc-book\xff\"}", "文件不是 UTF-8 文本（第 26 字节）"},
      {"[1, 2]", "不是计算书：文件内容应为 JSON 对象，却是数组"},
      {R"({"format": "other", "version": 1})",
       "不是 loadcalc 计算书：“format” 应为 “loadcalc-book”"},
      {R"({"format": "loadcalc-book", "version": 3})",
       "此计算书由较新版本的 loadcalc 写成（格式版本 3），本程序只能读取格式版本 2 及以前"},
      {R"({"format": "loadcalc-book", "version": 0})", "格式版本 0 无效"},
      {R"({"format": "loadcalc-book", "version": "1"})", "“version” 应为整数，却是文本"},
      {R"({"format": "loadcalc-book", "version": 1, "entries": []})", "缺少 “project”"},
      {file_with("").replace(file_with("").find("\"date\": \"\""), 10, "\"date\": 8"),
       "工程信息：“date” 应为文本，却是数字"},
      {file_with("7"), "第 1 条计算：应为对象，却是数字"},
      {file_with(R"({"kind": "stair"})"), "第 1 条计算：缺少 “name”"},
      {file_with(good_entry + R"(, "finish_density": "22"}}, {"name": "W", "kind": "wall"})"),
       "第 2 条计算：未知的类型 “wall”（应为 “beam” 或 “stair”）"},
      {file_with(good_entry + "}}"), "第 1 条计算：缺少输入 “finish_density”"},
      {file_with(good_entry + R"(, "finish_density": null}})"),
       "第 1 条计算：“finish_density” 应为文本或数字，却是null"},
      {file_with(good_entry + R"(, "finish_density": "22", "bay_span": "4"}})"),
       "第 1 条计算：“bay_span” 不是楼梯恒荷载的输入"},
      {file_with(good_entry + R"(, "finish_density": "22", "span": "4"}})"),
       "第 1 条计算：未知的输入 “span”"},
      {file_with(good_entry + R"(, "finish_density": "22"}, "result": 7.2})"),
       "第 1 条计算：未知的键 “result”"},
      // A key named twice, wherever it is.
      {R"({"format": "loadcalc-book", "version": 1, "format": "loadcalc-book"})",
       "重复的键 “format”"},
      {file_with("").replace(file_with("").find("\"date\": \"\""), 10,
                             R"("date": "", "checker": "x")"),
       "工程信息：重复的键 “checker”"},
      {file_with(good_entry + R"(, "finish_density": "22"}}, {"name": "A", "name": "B"})"),
       "第 2 条计算：重复的键 “name”"},
      {file_with(good_entry + R"(, "finish_density": "22", "step_width": "300"}})"),
       "第 1 条计算：重复的键 “step_width”"},
      {file_with("[{}], " + good_entry + R"(, "finish_density": "22"}, "note": "", "note": ""})"),
       "第 2 条计算：重复的键 “note”"},
  };
  for (const auto& [bytes, message] : rows) {
    const auto read = read_book(bytes);
    ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << bytes;
    EXPECT_EQ(std::get<ReadError>(read).message, message) << bytes;
  }
}

TEST(BookFile, RefusesAHugeFileUnreadAndABookOfTooManyEntries) {
  const auto dir = std::filesystem::temp_directory_path() / "loadcalc-test-book-huge";
  std::filesystem::create_directories(dir);
  { std::ofstream(dir / "big.lcbook") << "{"; }
  std::filesystem::resize_file(dir / "big.lcbook", 100u * 1024 * 1024);
  const auto big = load_book(dir / "big.lcbook");
  std::filesystem::remove_all(dir);
  ASSERT_TRUE(std::holds_alternative<ReadError>(big));
  EXPECT_EQ(std::get<ReadError>(big).message, "文件过大（100 MB，超过 64 MB），未读取");

  std::string many = "{}";
  for (int i = 0; i < 100'000; ++i) many += ",{}";
  const auto read = read_book(file_with(many));
  EXPECT_EQ(std::get<ReadError>(read).message, "计算书有 100001 条计算，超过上限 10000 条");
}

TEST(BookFile, SaveReplacesWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "loadcalc-test-book-save";
  fs::remove_all(dir);
  fs::create_directories(dir / "folder.lcbook" / "inside");
  EXPECT_EQ(save_book(dir / "a.lcbook", Book{}), std::nullopt);
  EXPECT_EQ(save_book(dir / "a.lcbook", sample()), std::nullopt);
  EXPECT_EQ(std::get<Book>(load_book(dir / "a.lcbook")), sample());
  // A save that cannot replace its target reports it and leaves nothing behind.
  EXPECT_NE(save_book(dir / "folder.lcbook", sample()), std::nullopt);
  EXPECT_NE(save_book(dir / "missing" / "b.lcbook", sample()), std::nullopt);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);

  EXPECT_EQ(write_recovery(dir / "recovery", sample(), dir / "a.lcbook"), std::nullopt);
  const auto recovered = read_recovery(dir / "recovery");
  ASSERT_TRUE(recovered);
  EXPECT_EQ(recovered->book, sample());
  EXPECT_EQ(recovered->original, dir / "a.lcbook");
  discard_recovery(dir / "recovery");
  EXPECT_FALSE(read_recovery(dir / "recovery"));
  fs::remove_all(dir);
}

TEST(BookExports, SummaryCsv) {
  EXPECT_EQ(
      summary_csv(sample()),
      "\xEF\xBB\xBF"
      "序号,构件,类型,轴线开间尺寸(m),层高(m),框架梁高(m),门窗洞口宽度(m),门窗洞口高度(m),"
      "墙自重(kN/m²),窗重(kN/m²),框架柱宽(m),踏步宽度(mm),踏步高度(mm),楼梯板厚度(mm),"
      "面层厚度(mm),面层容重(kN/m³),结果,单位,墙自重取值(kN/m²),洞口总面积(m²),检查,备注\r\n"
      "1,KL3 ③~④轴,梁上线荷载,4.0,3.6,0.45,2.0,2.2,3.0,0.50,0.0,,,,,,6.7,kN/m,3,4.4,,\r\n"
      "2,␀\t␡\U0001F3E2 𠀀,梁上线荷载,4.5,3.6,0.45,2.0,2.2,3.0,0.50,0.0,,,,,,7.006,kN/m,3,4.4,,"
      "\r\n"
      "3,\"LT-1, \"\"A\"\"\",楼梯恒荷载,,,,,,,,,280,200,130,30,22.0,,kN/m^2,,,"
      "无效：踏步高度≤0或≥200，数据错误。请重新输入！,\"'=见结施-05\n第二行 🏢\"\r\n"s);
}

TEST(BookExports, NoCellRunsAsASpreadsheetFormulaOrCarriesAControlCharacter) {
  const std::pair<std::string, std::string> rows[] = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+1+1", "'+1+1"},
      {"-2", "-2"},
      {"+3.5", "+3.5"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tTAB", "'\tTAB"},
      // Control characters are pictured, never written raw; a tab and line breaks are kept.
      {std::string("=\0", 2), "'=␀"},
      {"a\x01"
       "b\x1f\x7f",
       "a␁b␟␡"},
      {"\x1b[31m", "␛[31m"},
      {"a\tb", "a\tb"},
      {"a\nb", "\"a\nb\""},
  };
  for (const auto& [name, cell] : rows) {
    Book b;
    b.entries.push_back(beam(name));
    const std::string csv = summary_csv(b);
    EXPECT_NE(csv.find("\r\n1," + cell + ",梁上线荷载,"), std::string::npos) << name << "\n" << csv;
  }
}

TEST(BookFile, ReadsNothingFromWhatIsNotABookFile) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "loadcalc-test-book-files";
  fs::remove_all(dir);
  fs::create_directories(dir / "folder");
  const std::pair<fs::path, std::string> rows[] = {
      {dir / "absent.lcbook", "找不到文件 “" + (dir / "absent.lcbook").string() + "”"},
      {dir / "folder", "“" + (dir / "folder").string() + "” 不是文件"},
  };
  for (const auto& [path, message] : rows) {
    const auto read = load_book(path);
    ASSERT_TRUE(std::holds_alternative<ReadError>(read)) << path;
    EXPECT_EQ(std::get<ReadError>(read).message, message);
  }
  // A damaged recovery copy is not offered.
  { std::ofstream(dir / "recovery") << R"({"format": "loadcalc-recovery", "version": 1})"; }
  EXPECT_FALSE(read_recovery(dir / "recovery"));
  fs::remove_all(dir);
}

TEST(BookEntry, TakesExactlyItsKindsFieldsFromASheet) {
  MemorySheet sheet;
  sheet.load(F::Text1, "5.1");
  sheet.load(F::Text7, "300");
  const Entry beam_entry = entry_from_sheet(sheet, Calculation::MainProgram_1, "KL1");
  const Entry stair_entry = entry_from_sheet(sheet, Calculation::MainProgram_2, "LT1");
  EXPECT_EQ(beam_entry.texts.size(), 8u);
  EXPECT_EQ(beam_entry.texts.at(F::Text1), "5.1");
  EXPECT_FALSE(beam_entry.texts.contains(F::Text7));
  EXPECT_EQ(stair_entry.texts.size(), 5u);
  EXPECT_EQ(stair_entry.texts.at(F::Text7), "300");
  EXPECT_TRUE(stair_entry.texts.contains(F::Text12));
}

}  // namespace
}  // namespace loadcalc
