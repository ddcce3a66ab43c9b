#pragma once
// Window titles shown whole: a small dialog is made at least as wide as its title needs beside
// the title bar's buttons, since window managers cut a longer title short.

#include <QString>

class QWidget;

namespace varnel {

void SetTitleShownWhole(QWidget& window, const QString& title);

}  // namespace varnel
