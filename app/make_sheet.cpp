// Prints the calculation sheet of the started window to a PDF file: the picture of the printed
// sheet in the README is made from it (scripts/sheet).
#include <QApplication>
#include <QPrinter>
#include <cstdio>

#include "ui/application.h"
#include "ui/calculator/form1.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SHEET.pdf\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  loadcalc::ui::configure_application(app);
  loadcalc::ui::Form1 form;
  form.show();  // start-up fills in the defaults and both results
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromLocal8Bit(argv[1]));
  form.print_sheet(printer);
  return 0;
}
