#pragma once
// The colour selection dialog ("Select Color") over its model: sixteen colour buttons, the
// system colours, the custom colour with "Other..." and its hexadecimal text field, and
// "&Default" when the caller gives a default colour. Made once and kept by its owner.

#include <QDialog>

#include "appcore/colorselection.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace varnel {

class TfmColorSelection : public QDialog, public TColorSelectionView {
  Q_OBJECT

 public:
  explicit TfmColorSelection(QWidget* parent = nullptr);
  TColorSelectionModel& Model() override { return model_; }
  bool Execute() override;

  QLineEdit* HexField() const { return hex_; }
  QPushButton* ColorButton(int index) const { return buttons_.at(size_t(index)); }

 private:
  void ShowModel();

  TColorSelectionModel model_;
  std::vector<QPushButton*> buttons_;
  QPushButton* custom_;
  QPushButton* default_;
  QListWidget* systemColors_;
  QLineEdit* hex_;
};

}  // namespace varnel
