#include "ui/calculator/figure_dialogs.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "calc/materials.h"
#include "calc/number.h"
#include "ui/assumption_editors.h"
#include "ui/qt_text.h"

namespace loadcalc::ui {

namespace {

QDialogButtonBox* ok_cancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

WallBuildUpDialog::WallBuildUpDialog(QWidget* parent)
    : FigureDialog(parent), editor_(new WallLayersEditor(this)) {
  setWindowTitle(QStringLiteral("按墙体构造计算墙自重"));
  auto* intro = new QLabel(
      QStringLiteral("逐层列出墙体及其抹灰、面层：砌体和砂浆按厚度 × 容重，面层按每平方米重。"
                     "确定后，合计 g_w 取三位小数写入“墙自重kN/m2”。"),
      this);
  intro->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(editor_, 1);
  layout->addWidget(ok_cancel(this));
  resize(980, 420);
}

double WallBuildUpDialog::figure() const {
  return editor_->wall_weight();
}

namespace {

enum TypeColumn { type_name, type_range, type_default, type_source };

}  // namespace

OpeningTypeDialog::OpeningTypeDialog(QWidget* parent)
    : FigureDialog(parent), list_(new QTreeWidget(this)) {
  setWindowTitle(QStringLiteral("按门窗类型选取窗重"));
  auto* intro = new QLabel(
      QStringLiteral("选取门窗类型，确定后其取值写入“窗重kN/m2”。规范给出范围时取上限。"), this);
  intro->setWordWrap(true);
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({QStringLiteral("类型"), QStringLiteral("规范所列"),
                          QStringLiteral("取值（kN/m²）"), QStringLiteral("依据")});
  for (const Material& m : materials) {
    if (m.group != MaterialGroup::door_window) continue;
    auto* item = new QTreeWidgetItem(
        list_, {qstring(m.name), qstring(range_text(m)),
                qstring(shortest_figure(default_weight(m))), qstring(citation_text(m))});
    item->setData(type_name, Qt::UserRole, qstring(m.name));
  }
  // Room between the columns: a name must not run into its figures.
  for (int c = type_name; c <= type_source; ++c) {
    list_->resizeColumnToContents(c);
    list_->setColumnWidth(c, list_->columnWidth(c) + 24);
  }
  list_->setCurrentItem(list_->topLevelItem(0));
  QDialogButtonBox* buttons = ok_cancel(this);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(list_, &QTreeWidget::currentItemChanged, this, [buttons](QTreeWidgetItem* now) {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(now != nullptr);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(560, 280);
}

bool OpeningTypeDialog::choose(std::string_view name) {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(i);
    if (item->data(type_name, Qt::UserRole).toString() == qstring(name)) {
      list_->setCurrentItem(item);
      return true;
    }
  }
  return false;
}

double OpeningTypeDialog::figure() const {
  const QTreeWidgetItem* item = list_->currentItem();
  if (!item) return 0;
  const Material* m = find_material(item->data(type_name, Qt::UserRole).toString().toStdString());
  return m ? default_weight(*m) : 0;
}

}  // namespace loadcalc::ui
