#pragma once
// A small dialog asking for two numbers in a group: the custom grid size ("Select Custom Icon
// Size") and the cursor hot spot ("Set Cursor Hot Spot").

#include <QDialog>
#include <optional>
#include <utility>

class QSpinBox;

namespace varnel {

struct TNumberPairRequest {
  QString caption;
  QString group;
  QString firstLabel;
  QString secondLabel;
  int minimum = 0;
  int maximum = 255;
  int first = 0;
  int second = 0;
};

class TNumberPairDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TNumberPairDialog(const TNumberPairRequest& request, QWidget* parent = nullptr);
  std::pair<int, int> Values() const;
  QSpinBox* First() const { return first_; }
  QSpinBox* Second() const { return second_; }

 private:
  QSpinBox* first_;
  QSpinBox* second_;
};

// The custom size dialog: starts with the stored size (a width below 1 is 64, a height below 1
// the width); the new size, or nothing when cancelled.
std::optional<std::pair<int, int>> AskCustomSize(QWidget* parent, int width, int height);

}  // namespace varnel
