#pragma once
// Sheets on paper, as the calculator's 打印计算书 and the book's print and PDF lay them: A4 with
// 20 mm at the sides and 15 mm above and below, the sheet's font, and every sheet on one page of
// its own, set smaller rather than split. A book's sheet is set smaller only so far: one longer
// than that (a wall of many layers and openings) flows onto further pages.

#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QTextDocument;

namespace loadcalc::ui {

// `html` in the sheet's font with no margin of its own, laid out for `device` (a printer's or a
// PDF's resolution), or for none when it goes to a file such as an ODT.
std::unique_ptr<QTextDocument> sheet_document(const QString& html, QPaintDevice* device);

// A4 pages of `device`, painted one after another.
class SheetPrinter {
 public:
  explicit SheetPrinter(QPagedPaintDevice& device);

  // A page's printable area in device pixels, its top left corner at the origin.
  const QRectF& page() const { return page_; }
  qreal millimetre() const { return millimetre_; }
  QPainter& painter() { return painter_; }
  std::unique_ptr<QTextDocument> document(const QString& html) const;

  // Starts the next page; the first call paints on the device's first page.
  void start_page();
  // `html` in `place` on the current page: a document too long for its place is set smaller.
  void fit(const QString& html, const QRectF& place);
  // A sheet alone on the next page.
  void sheet(const QString& html);

  // How `html` goes into places of `place`'s size: one page set smaller as far as
  // min_sheet_scale, or at that scale over as many pages as it needs.
  struct Flow {
    qreal scale = 1;
    int pages = 1;
  };
  Flow flow(const QString& html, const QRectF& place) const;
  // Page `page` (from 0) of `html` so laid out, in `place` on the current page.
  void flow_page(const QString& html, const QRectF& place, const Flow& flow, int page);

 private:
  QPagedPaintDevice& device_;
  QRectF page_;
  qreal millimetre_;
  QPainter painter_;
};

// Below this a sheet's 10-point text (7.2 points here) would be too small to read and sign. With
// the Linux fonts it keeps even six layers by thickness and six openings on one page.
inline constexpr qreal min_sheet_scale = 0.72;

// The sheets, one to a page.
void print_sheets(QPagedPaintDevice& device, const QStringList& sheets);

}  // namespace loadcalc::ui
