#pragma once
// TfmWelcome: the first choices offered at start-up, and "Show this window next time".

#include <QDialog>

class QCheckBox;

namespace varnel {

class TfmWelcome : public QDialog {
  Q_OBJECT

 public:
  explicit TfmWelcome(QWidget* parent = nullptr);
  // The code of the chosen button: 'O', 'F', 'C', 'D', or 0 for none.
  char Choice() const { return choice_; }
  bool ShowNextTime() const;
  QCheckBox* ShowNextTimeBox() const { return showNextTime_; }

 private:
  void AddChoice(const QString& label, char code, int pixmap);

  char choice_ = 0;
  QCheckBox* showNextTime_;
};

}  // namespace varnel
