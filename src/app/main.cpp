// The desktop program: the application with its error handler, the main window, and the names
// given on the command line.

#include <string>
#include <vector>

#include "app/errorhandler.h"
#include "app/mainwindow.h"
#include "platform/folders.h"

int main(int argc, char** argv) {
  varnel::TVarnelApplication application(argc, argv);
  std::vector<std::string> arguments;
  for (const QString& argument : application.arguments().mid(1))
    arguments.push_back(argument.toStdString());
  varnel::TfmMain window(varnel::SettingsFileName());
  application.SetUserInterface(&window.UI());
  window.show();
  window.Start(arguments);
  return application.exec();
}
