#pragma once
// The confirmation dialog: the question icon, the text, "OK" and "Cancel", and the check box
// "&Do not prompt in the future" when asked for.

#include <QDialog>

#include "platform/userinterface.h"

class QCheckBox;

namespace varnel {

class TConfirmationDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TConfirmationDialog(const TConfirmRequest& request, QWidget* parent = nullptr);
  TConfirmAnswer Answer() const;
  QCheckBox* DoNotPrompt() const { return doNotPrompt_; }

 private:
  QCheckBox* doNotPrompt_;
  bool showCheckBox_;
};

}  // namespace varnel
