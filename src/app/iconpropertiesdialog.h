#pragma once
// TfmIconProps: the icon properties dialog: name, format and size of an icon of the collection,
// its source file, and an image chooser with a preview, copy and save of the chosen image.

#include <QDialog>
#include <string>

#include "collection/iconproperties.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace varnel {

class Clipboard;
class TAdvancedIcon;
class UserInterface;
struct TIconSaveDialog;
struct TSettings;

// What the dialog works with besides the icon.
struct TIconPropsContext {
  UserInterface& ui;
  const TSettings& settings;
  Clipboard& clipboard;
  TIconSaveDialog& saveDialog;
};

class TfmIconProps : public QDialog {
  Q_OBJECT

 public:
  TfmIconProps(const TIconPropsContext& context, const TAdvancedIcon& icon,
               const TIconProperties& properties, QWidget* parent = nullptr);

  std::string Name() const;
  QLabel* ImageLabel() const { return imageLabel_; }
  QLabel* Field(const QString& objectName) const;
  void ChooseImage(int index);
  void CopyImage();
  void SaveImage();

 private:
  QWidget* IconGroup(const TIconProperties& p);
  QWidget* SourceGroup(const TIconProperties& p);
  QWidget* ImageGroup(const TIconProperties& p);

  TIconPropsContext context_;
  const TAdvancedIcon& icon_;
  QLineEdit* name_ = nullptr;
  QComboBox* images_ = nullptr;
  QLabel* imageLabel_ = nullptr;
  QLabel* hotSpot_ = nullptr;  // the selected image's hot spot, shown for cursors
  QLabel* preview_ = nullptr;
};

// Shows the dialog; true after "OK", with name holding the edited text.
bool ShowIconProperties(const TIconPropsContext& context, const TAdvancedIcon& icon,
                        const std::string& sourceFile, int sourceIndex, std::string& name,
                        QWidget* parent);

}  // namespace varnel
