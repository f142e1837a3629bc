// make_page FILE: writes the page's window (web/page_writer.h) into FILE, after a line with the
// title; the first credit line of the sketch's tooltip is the program's name. The build runs it.
#include <cstdio>
#include <string>
#include <string_view>

#include "calc/startup.h"
#include "web/page_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string_view title =
      loadcalc::tooltip_text.substr(0, loadcalc::tooltip_text.find('\n'));
  const std::string page = std::string(title) + "\n" + loadcalc::web::window_html();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file) return 1;
  const bool written = std::fwrite(page.data(), 1, page.size(), file) == page.size();
  return std::fclose(file) == 0 && written ? 0 : 1;
}
