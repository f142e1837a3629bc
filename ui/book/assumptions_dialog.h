#pragma once
// An entry's assumptions, edited in one dialog: a beam's wall layers and openings, a stair's
// materials and extra loads. What the entry does not state stays its typed fields' (or the
// calculator's fixed figures), and the dialog says which.

#include <QDialog>
#include <optional>

#include "book/book.h"
#include "calc/assumptions.h"

class QGroupBox;

namespace loadcalc::ui {

class OpeningsEditor;
class StairMaterialsEditor;
class WallLayersEditor;

class AssumptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // `current` is what the entry states now.
  AssumptionsDialog(const Entry& entry, const Assumptions& current, QWidget* parent = nullptr);

  // `current` with the members of the entry's kind as edited; the other kind's as they were.
  Assumptions assumptions() const;

  // A beam's: each group is checked when the entry states its members. Null for a stair.
  QGroupBox* layers_box() const { return layers_box_; }
  WallLayersEditor* layers() const { return layers_; }
  QGroupBox* openings_box() const { return openings_box_; }
  OpeningsEditor* openings() const { return openings_; }
  // A stair's. Null for a beam.
  StairMaterialsEditor* stair() const { return stair_; }

 private:
  void build_beam(const Entry& entry);
  void build_stair();

  Assumptions current_;
  QGroupBox* layers_box_ = nullptr;
  WallLayersEditor* layers_ = nullptr;
  QGroupBox* openings_box_ = nullptr;
  OpeningsEditor* openings_ = nullptr;
  StairMaterialsEditor* stair_ = nullptr;
};

// Runs the dialog over `parent`: the edited assumptions on OK, none when cancelled.
std::optional<Assumptions> edit_assumptions(QWidget* parent, const Entry& entry,
                                            const Assumptions& current);

}  // namespace loadcalc::ui
