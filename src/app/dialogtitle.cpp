#include "app/dialogtitle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace varnel {

namespace {

// Room for the title bar's icon and buttons (close, maximise, minimise) and its margins.
constexpr int kTitleBarButtons = 150;

}  // namespace

void SetTitleShownWhole(QWidget& window, const QString& title) {
  window.setWindowTitle(title);
  // Title bars use the window manager's font, commonly the desktop's bold title font: the
  // application font in bold stands for it.
  QFont font = QApplication::font();
  font.setBold(true);
  int needed = QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons;
  if (window.minimumWidth() < needed) window.setMinimumWidth(needed);
}

}  // namespace varnel
