#include "ui/print_sheets.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QTextDocument>
#include <algorithm>

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

SheetPrinter::Flow SheetPrinter::flow(const QString& html, const QRectF& place) const {
  const auto doc = document(html);
  // Set just small enough, as fit() does, but never below the least scale; a smaller scale
  // widens the text, so each try is laid out again.
  qreal scale = 1;
  doc->setTextWidth(place.width());
  for (int i = 0; i < 4 && doc->size().height() * scale > place.height(); ++i) {
    scale = std::max(min_sheet_scale, place.height() / doc->size().height() * scale);
    doc->setTextWidth(place.width() / scale);
  }
  if (doc->size().height() * scale <= place.height()) return {scale, 1};
  doc->setPageSize(place.size() / min_sheet_scale);
  return {min_sheet_scale, doc->pageCount()};
}

void SheetPrinter::flow_page(const QString& html, const QRectF& place, const Flow& flow, int page) {
  if (flow.pages == 1 && flow.scale == 1) return fit(html, place);
  const auto doc = document(html);
  const QSizeF size = place.size() / flow.scale;
  if (flow.pages == 1)
    doc->setTextWidth(size.width());
  else
    doc->setPageSize(size);
  painter_.save();
  painter_.translate(place.topLeft());
  painter_.scale(flow.scale, flow.scale);
  painter_.translate(0, -page * size.height());
  doc->drawContents(&painter_, QRectF(QPointF(0, page * size.height()), size));
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
