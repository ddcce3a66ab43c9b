#include "app/errorhandler.h"

#include <QMessageBox>

#include "app/qtuserinterface.h"

namespace varnel {

std::string ErrorMessageText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void ShowError(QWidget* parent, TQtUserInterface* ui, const std::string& message) {
  if (ui) {
    ui->CloseProgress();
    ui->ResetWaitCursor();
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  QMessageBox::critical(parent, kApplicationTitle,
                        QString::fromStdString(ErrorMessageText(message)));
}

TVarnelApplication::TVarnelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  NameApplication();
}

void NameApplication() {
  // No display name: Qt would append it to every window title, and the main window's title is
  // its caption alone. The application title is given to the message boxes themselves.
  QCoreApplication::setApplicationName(kProductName);
}

bool TVarnelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowError(activeWindow(), ui_, error.what());
  }
  return false;
}

}  // namespace varnel
