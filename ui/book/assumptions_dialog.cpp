#include "ui/book/assumptions_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <string>

#include "calc/fields.h"
#include "ui/assumption_editors.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

std::string text_of(const Entry& entry, Field f) {
  const auto at = entry.texts.find(f);
  return at == entry.texts.end() ? std::string() : at->second;
}

QString shown_text(const Entry& entry, Field f) {
  const std::string t = text_of(entry, f);
  return t.empty() ? QStringLiteral("（空）") : qstring(t);
}

QGroupBox* switch_box(const QString& title, bool on, QWidget* content, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setCheckable(true);
  box->setChecked(on);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(content);
  return box;
}

}  // namespace

AssumptionsDialog::AssumptionsDialog(const Entry& entry, const Assumptions& current,
                                     QWidget* parent)
    : QDialog(parent), current_(current) {
  auto* layout = new QVBoxLayout(this);
  if (entry.kind == Calculation::MainProgram_1)
    build_beam(entry);
  else
    build_stair();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  const QString member = entry.name.empty() ? QStringLiteral("未命名") : qstring(entry.name);
  setWindowTitle((entry.kind == Calculation::MainProgram_1 ? QStringLiteral("墙体构造与门窗洞口")
                                                           : QStringLiteral("楼梯材料与附加荷载")) +
                 QStringLiteral(" — ") + member);
}

void AssumptionsDialog::build_beam(const Entry& entry) {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  layers_ = new WallLayersEditor;
  if (current_.wall_layers) layers_->set_layers(*current_.wall_layers);
  layers_box_ =
      switch_box(QStringLiteral("按墙体构造计算墙自重 g_w（不勾选时取输入的墙自重 %1 kN/m²）")
                     .arg(shown_text(entry, Field::Text6)),
                 current_.wall_layers.has_value(), layers_, this);
  layout->addWidget(layers_box_, 1);

  openings_ = new OpeningsEditor;
  // Unstated, the list starts as the entry's one opening, so that switching it on changes nothing
  // until an opening is edited or added.
  openings_->set_openings(current_.openings.value_or(
      std::vector<OpeningText>{{text_of(entry, Field::Text4), text_of(entry, Field::Text5), "1",
                                text_of(entry, Field::Text11), ""}}));
  openings_box_ = switch_box(
      QStringLiteral("逐个列出门窗洞口（不勾选时取输入的一个洞口 %1 m × %2 m，窗重 %3 kN/m²）")
          .arg(shown_text(entry, Field::Text4), shown_text(entry, Field::Text5),
               shown_text(entry, Field::Text11)),
      current_.openings.has_value(), openings_, this);
  layout->addWidget(openings_box_, 1);
  resize(1100, 640);
}

void AssumptionsDialog::build_stair() {
  stair_ = new StairMaterialsEditor(this);
  stair_->set_assumptions(current_);
  static_cast<QVBoxLayout*>(layout())->addWidget(stair_, 1);
  resize(880, 420);
}

Assumptions AssumptionsDialog::assumptions() const {
  Assumptions a = current_;
  if (layers_box_) {
    a.wall_layers.reset();
    if (layers_box_->isChecked()) a.wall_layers = layers_->layers();
    a.openings.reset();
    if (openings_box_->isChecked()) a.openings = openings_->openings();
  }
  if (stair_) stair_->write_to(a);
  return a;
}

std::optional<Assumptions> edit_assumptions(QWidget* parent, const Entry& entry,
                                            const Assumptions& current) {
  AssumptionsDialog dialog(entry, current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.assumptions();
}

}  // namespace loadcalc::ui
