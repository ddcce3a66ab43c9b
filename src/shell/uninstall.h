#pragma once
// The program's own registrations for the user, and taking them all away again.

#include <memory>
#include <string>

#include "shell/desktopfileassociations.h"

namespace varnel {

// The desktop program the associations start: "varnel" beside the running program when it is
// there, else "varnel" as PATH finds it.
std::string DesktopProgramPath();

// The user's desktop associations, in the folders the environment names.
DesktopFileAssociations UserDesktopAssociations();

// Removes what the program registered for the user: its file associations on the desktop and
// in the registry store, and the custom icon theme with the theme names it replaced. Returns what could not be done, one line each; empty when all went well.
std::string UninstallDesktopIntegration();

}  // namespace varnel
