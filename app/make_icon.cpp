// Writes the program's icon as PNG files for installation, from the same painter as the window
// icon. Usage: loadcalc_make_icon <file.png> <size> [<file.png> <size> ...]

#include <QImage>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstring>

#include "ui/icon.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: %s <file.png> <size> [<file.png> <size> ...]\n", argv[0]);
    return 2;
  }
  for (int i = 1; i < argc; i += 2) {
    int size = 0;
    const char* end = argv[i + 1] + std::strlen(argv[i + 1]);
    const auto [last, error] = std::from_chars(argv[i + 1], end, size);
    if (error != std::errc() || last != end || size < 1 || size > 1024) {
      std::fprintf(stderr, "%s: bad size '%s'\n", argv[0], argv[i + 1]);
      return 2;
    }
    if (!loadcalc::ui::paint_app_icon(size).save(QString::fromLocal8Bit(argv[i]), "PNG")) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[i]);
      return 1;
    }
  }
  return 0;
}
