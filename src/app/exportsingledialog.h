#pragma once
// TfmExportSingle: the settings of "Single Image...": margins, gaps, cells, columns and rows,
// background colour, stretching, backups and the item colour format.

#include <QDialog>
#include <map>

#include "collection/singleimageexport.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QSpinBox;

namespace varnel {

class TfmExportSingle : public QDialog {
  Q_OBJECT

 public:
  explicit TfmExportSingle(QWidget* parent = nullptr);

  void SetChoice(const TExportSingleChoice& choice);
  TExportSingleChoice Choice() const;
  // "Default": margins and gaps 0, cells 32 by 32, 20 columns, 15 rows, white, stretch off,
  // backups on, format 24.
  void ResetToDefaults();
  QSpinBox* Spin(const char* key) const { return spins_.at(key); }

 private:
  QWidget* NumberGroup(const QString& title,
                       std::initializer_list<std::tuple<const char*, const char*, int, int>> rows);
  QWidget* FormatButtons();
  void ChooseBackground();
  void PaintSwatch();

  std::map<std::string, QSpinBox*> spins_;
  QCheckBox* stretch_ = nullptr;
  QCheckBox* backup_ = nullptr;
  QButtonGroup* formats_ = nullptr;
  QPushButton* swatch_ = nullptr;
  TColor background_ = clWhite;
  std::string folder_;
};

// The settings dialog as ExportSingleImage asks it: the dialog in slot, made on first use as a
// child of parent and kept with it.
TAskExportSingle ExportSingleAsker(QWidget* parent, TfmExportSingle*& slot);

}  // namespace varnel
