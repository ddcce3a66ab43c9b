#pragma once
// The program's help: its manual page varnel(1), installed with it, formatted by man and shown
// in a window of its own at the section asked for.

#include <QString>
#include <string>

class QWidget;

namespace varnel {

// The manual page's heading of the Customize Windows Icons window.
inline constexpr const char* kHelpCustomizeSection = "CUSTOMIZE WINDOWS ICONS";

// The installed manual page as text, wrapped to width columns; empty when it is not installed.
std::string ManualPageText(int width);

// Shows the help scrolled to the line that starts section (the top for an empty one); a message
// says so when the manual page is not installed.
void ShowHelp(QWidget* parent, const QString& section = QString());

}  // namespace varnel
