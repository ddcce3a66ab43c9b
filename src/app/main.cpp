// The desktop program: the application with its error handler, the main window, and the names
// given on the command line.

#include <iostream>
#include <string>
#include <vector>

#include "app/errorhandler.h"
#include "app/mainwindow.h"
#include "icons/bitmapfix32.h"
#include "icons/imagefileloader.h"
#include "platform/folders.h"
#include "shell/uninstall.h"

int main(int argc, char** argv) {
  // "-uninstall" alone removes what the program registered with the desktop and ends without a
  // window.
  if (argc == 2 && std::string(argv[1]) == "-uninstall") {
    std::string note = varnel::UninstallDesktopIntegration();
    if (!note.empty()) std::cerr << "varnel: " << note << "\n";
    return 0;
  }
  varnel::RegisterBitmapFix32();
  varnel::RegisterPictureReaders();
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
