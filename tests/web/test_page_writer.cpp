// The page's window as the page writer lays it out: the same pixels as the desktop window, each
// control once, by its control name, stacked as the desktop stacks them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "web/page_writer.h"

namespace {

// The start tag of the element with this id.
std::string tag(const std::string& page, std::string_view id) {
  const std::size_t at = page.find("id=\"" + std::string(id) + "\"");
  if (at == std::string::npos) return {};
  const std::size_t start = page.rfind('<', at);
  return page.substr(start, page.find('>', at) - start + 1);
}

struct PlacedRow {
  std::string_view id;
  std::string_view tab;  // its tabindex attribute, empty where it has none
  std::string_view box;
};

// Twips / 15, inside the container's outer corner.
const PlacedRow placed_rows[] = {
    {"Text1", R"(tabindex="1")", "left:24px;top:48px;width:73px;height:18px"},
    {"Text13", R"(tabindex="7")", "left:120px;top:32px;width:57px;height:18px"},
    {"Text12", R"(tabindex="13")", "left:136px;top:32px;width:65px;height:18px"},
    {"Label10", R"(tabindex="-1")", "left:24px;top:32px;width:249px;height:25px"},
    {"Label4", "", "left:16px;top:80px;width:193px;height:17px"},
    {"Frame5", "", "left:24px;top:264px;width:577px;height:233px"},
    {"Picture1", R"(tabindex="29")", "left:8px;top:16px;width:561px;height:201px"},
};

TEST(PageWriter, PlacesEachControlAsTheDesktopWindowDoes) {
  const std::string page = loadcalc::web::window_html();
  EXPECT_EQ(page.rfind(R"(<div id="Form1" style="width:630px;height:509px">)", 0), 0u);
  for (const PlacedRow& row : placed_rows) {
    const std::string t = tag(page, row.id);
    EXPECT_NE(t.find(std::string("style=\"") + std::string(row.box) + "\""), std::string::npos)
        << row.id << ": " << t;
    const std::size_t tab = t.find(row.tab.empty() ? std::string_view("tabindex") : row.tab);
    EXPECT_EQ(tab != std::string::npos, !row.tab.empty()) << t;
  }
}

TEST(PageWriter, HoldsEveryControlOnceAndTheFieldsOverTheResultLabels) {
  const std::string page = loadcalc::web::window_html();
  std::size_t ids = 0;
  for (std::size_t at = page.find(" id=\""); at != std::string::npos;
       at = page.find(" id=\"", at + 1))
    ++ids;
  EXPECT_EQ(ids, 34u);  // Form1 and its 33 controls
  const auto at = [&](std::string_view id) { return page.find("id=\"" + std::string(id) + "\""); };
  // Later elements paint over earlier ones: each field after the result label that reaches under
  // it.
  EXPECT_LT(at("Label10"), at("Text13"));
  EXPECT_LT(at("Label10"), at("Text11"));
  EXPECT_LT(at("Label11"), at("Text12"));
  // The fields start as the freshly built window has them, before start-up.
  EXPECT_NE(tag(page, "Text13").find(R"(value="Text13")"), std::string::npos);
  EXPECT_NE(tag(page, "Text1").find(R"(value=" ")"), std::string::npos);
}

TEST(PageWriter, DrawsTheSketchInSketchUnitsAt66ToThePixel) {
  const std::string page = loadcalc::web::window_html();
  EXPECT_NE(page.find(R"(viewBox="0 0 32472 13398" width="492" height="203")"), std::string::npos);
  EXPECT_NE(page.find(">板底粉刷按0.34kN/m</text>"), std::string::npos);
  EXPECT_NE(page.find(">踏步宽</text>"), std::string::npos);
}

}  // namespace
