#pragma once
// The find dialog of the "Locate Icon" commands: the text, "Match case", "Whole word", the
// direction fixed downwards; each "Find Next" hands the options on.

#include <QDialog>
#include <functional>

#include "collection/fmlib.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace varnel {

class TFindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TFindDialog(QWidget* parent = nullptr);
  // Sets the mode and its caption ("Locate icon by name" or "Locate icon by source name").
  void SetMode(TFindMode mode);
  TFindOptions Options() const;

  QLineEdit* TextField() const { return text_; }
  QPushButton* FindNextButton() const { return findNext_; }
  std::function<void(const TFindOptions&)> OnFindNext;

 private:
  TFindMode mode_ = TFindMode::Name;
  QLineEdit* text_;
  QCheckBox* matchCase_;
  QCheckBox* wholeWord_;
  QPushButton* findNext_;
};

}  // namespace varnel
