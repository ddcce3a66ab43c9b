#pragma once
// The error list window: "Errors" with the lines in a read-only, scrollable text and "Close".

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;

namespace varnel {

class TErrorListDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TErrorListDialog(const std::vector<std::string>& lines, QWidget* parent = nullptr);
  QString Text() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace varnel
