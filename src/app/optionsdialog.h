#pragma once
// TfmConfiguration, the options dialog: the pages "Dialogs", "Export", "Import" and "Tuning"
// over the configuration model, with "OK", "Cancel" and "Default".

#include <QDialog>

#include "appcore/optionsdialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace varnel {

class TfmColorSelection;

class TfmConfiguration : public QDialog, public TOptionsDialogView {
  Q_OBJECT

 public:
  explicit TfmConfiguration(QWidget* parent = nullptr);
  bool Execute(TConfigurationModel& model, TOptionsPage page) override;

  // The controls shown from the model, and taken back into it.
  void Show(const TConfigurationModel& model);
  void Take(TConfigurationModel& model) const;
  QTabWidget* Pages() const { return pages_; }

 private:
  QWidget* DialogsPage();
  QWidget* ExportPage();
  QWidget* ImportPage();
  QWidget* TuningPage();
  void PickColor(int bits);
  void ShowColors();

  TConfigurationModel* model_ = nullptr;
  TfmColorSelection* colors_ = nullptr;
  QTabWidget* pages_;
  QCheckBox* confirmDelete_;
  QCheckBox* confirmUpdate_;
  QSpinBox* limit_;
  QPushButton* back1_;
  QPushButton* back4_;
  QPushButton* back8_;
  QLineEdit* mask_;
  QCheckBox* excludeDuplicates_;
  QLineEdit* archiveSize_;
  QCheckBox* showImages_;
  QCheckBox* saveWindow_;
};

}  // namespace varnel
