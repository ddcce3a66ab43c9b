#pragma once
// TfmNewImageSize, the "Add Image" dialog: the size a raster picture is converted to when it
// is imported, with the resample filter and the proportions choice.

#include <QDialog>

#include "appcore/newimageresizesettings.h"
#include "platform/userinterface.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSpinBox;

namespace varnel {

class TNewImageSizeDialog : public QDialog {
  Q_OBJECT

 public:
  TNewImageSizeDialog(const TNewImageSizeRequest& request, TNewImageResizeSettings& settings,
                      QWidget* parent = nullptr);
  // The answer on confirming; also stores the choices in the settings.
  TNewImageSizeAnswer Answer();

  QButtonGroup* SizeChoice() const { return sizes_; }
  QSpinBox* WidthField() const { return width_; }
  QSpinBox* HeightField() const { return height_; }
  QCheckBox* SquareBox() const { return square_; }

 private:
  void BuildControls();
  void LoadSettings();
  void SizeChoiceChanged(bool byUser);
  void FieldChanged(QSpinBox* changed, QSpinBox* other);
  int ChosenFilter(int newWidth, int newHeight) const;

  TNewImageSizeRequest request_;
  TNewImageResizeSettings& settings_;
  QButtonGroup* sizes_;
  QSpinBox* width_;
  QSpinBox* height_;
  QCheckBox* square_;
  QCheckBox* proportions_;
  QComboBox* filter_;
  bool applyToAll_ = false;
};

}  // namespace varnel
