// The desktop program: the application with its error handler, the main window, and the names
// given on the command line.

#include <string>
#include <vector>

#include "app/errorhandler.h"
#include "app/mainwindow.h"
#include "icons/bitmapfix32.h"
#include "icons/rasterpictures.h"
#include "platform/folders.h"

int main(int argc, char** argv) {
  // "-uninstall" alone removes what the program registered with the system and ends without a
  // window; the program registers nothing with the desktop yet, so there is nothing to remove.
  if (argc == 2 && std::string(argv[1]) == "-uninstall") return 0;
  varnel::RegisterBitmapFix32();
  varnel::RegisterRasterPictureFormats();
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
