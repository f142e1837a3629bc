#include "ui/print_sheets.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QTextDocument>

namespace loadcalc::ui {

namespace {

// A PDF's text is found again through the font's character map. Noto Sans CJK shares many
// ideographs' glyphs with the Kangxi radicals and shapes some digits into glyphs no character
// maps to, so a copied or searched sheet would read "⾼" for "高" and lose its version; the
// WenQuanYi glyphs map back one to one.
QFont sheet_font() {
  QFont font = QGuiApplication::font();
  font.setFamilies(QStringList{QStringLiteral("WenQuanYi Zen Hei")} + font.families());
  font.setPointSizeF(10);
  return font;
}

}  // namespace

std::unique_ptr<QTextDocument> sheet_document(const QString& html, QPaintDevice* device) {
  auto doc = std::make_unique<QTextDocument>();
  if (device) doc->documentLayout()->setPaintDevice(device);
  doc->setDefaultFont(sheet_font());
  doc->setDocumentMargin(0);
  doc->setHtml(html);
  return doc;
}

SheetPrinter::SheetPrinter(QPagedPaintDevice& device)
    : device_(device), millimetre_(device.logicalDpiX() / 25.4) {
  device.setPageSize(QPageSize(QPageSize::A4));
  device.setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
  page_ = QRectF(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
}

std::unique_ptr<QTextDocument> SheetPrinter::document(const QString& html) const {
  return sheet_document(html, &device_);
}

void SheetPrinter::start_page() {
  if (painter_.isActive())
    device_.newPage();
  else
    painter_.begin(&device_);
}

void SheetPrinter::fit(const QString& html, const QRectF& place) {
  const auto doc = document(html);
  doc->setTextWidth(place.width());
  qreal scale = 1;
  for (int i = 0; i < 3 && doc->size().height() * scale > place.height(); ++i) {
    scale = place.height() / doc->size().height() * scale;
    doc->setTextWidth(place.width() / scale);
  }
  painter_.save();
  painter_.translate(place.topLeft());
  painter_.scale(scale, scale);
  doc->drawContents(&painter_);
  painter_.restore();
}

void SheetPrinter::sheet(const QString& html) {
  start_page();
  fit(html, page_);
}

void print_sheets(QPagedPaintDevice& device, const QStringList& sheets) {
  SheetPrinter printer(device);
  for (const QString& sheet : sheets) printer.sheet(sheet);
}

}  // namespace loadcalc::ui
