#pragma once
// The program-wide handling of errors that reach the event loop: the progress window goes,
// the normal cursor comes back, and a message box with the application title shows the text.

#include <QApplication>
#include <exception>
#include <string>

namespace varnel {

inline constexpr const char* kApplicationTitle = "Varnel 5.14";
inline constexpr const char* kProductName = "Varnel";

// The message as shown: "." appended when it ends in a character that sorts after "." (a
// letter or a digit, for example).
std::string ErrorMessageText(const std::string& message);

class TQtUserInterface;

// Names the running application after the product.
void NameApplication();

// Shows error as the handler does; ui (may be null) loses its progress window.
void ShowError(QWidget* parent, TQtUserInterface* ui, const std::string& message);

// The application: exceptions thrown by event handlers are shown, and the program goes on.
class TVarnelApplication : public QApplication {
 public:
  TVarnelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
  void SetUserInterface(TQtUserInterface* ui) { ui_ = ui; }

 private:
  TQtUserInterface* ui_ = nullptr;
};

}  // namespace varnel
