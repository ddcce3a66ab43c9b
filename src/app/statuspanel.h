#pragma once
// One panel of the main window's status bar: a text shortened in its middle to the panel's
// width (paths keep their start and their file name), the whole text in its tooltip.

#include <QLabel>
#include <QString>

namespace varnel {

class TStatusPanel : public QLabel {
  Q_OBJECT

 public:
  explicit TStatusPanel(QWidget* parent = nullptr);

  void SetFullText(const QString& text);
  const QString& FullText() const { return fullText_; }
  // As wide as its minimum: the text follows the panel's width, never the other way round.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowElided();

  QString fullText_;
};

}  // namespace varnel
