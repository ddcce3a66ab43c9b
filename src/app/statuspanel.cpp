#include "app/statuspanel.h"

#include <QFontMetrics>
#include <algorithm>

namespace varnel {

TStatusPanel::TStatusPanel(QWidget* parent) : QLabel(parent) {
  setFrameShape(QFrame::StyledPanel);
  setTextFormat(Qt::PlainText);
}

QSize TStatusPanel::sizeHint() const {
  return QSize(minimumWidth(), QLabel::sizeHint().height());
}

void TStatusPanel::SetFullText(const QString& text) {
  if (text == fullText_) return;
  fullText_ = text;
  setToolTip(text);
  ShowElided();
}

void TStatusPanel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowElided();
}

void TStatusPanel::ShowElided() {
  int room = contentsRect().width() - 2 * margin() - 2 * std::max(0, indent());
  setText(fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(0, room)));
}

}  // namespace varnel
