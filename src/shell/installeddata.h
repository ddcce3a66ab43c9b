#pragma once
// The data files the package installs for the desktop, as the source tree holds them.

#include <string_view>

namespace varnel {

// The desktop entry installed as applications/varnel.desktop.
std::string_view InstalledDesktopEntry();
// The MIME definitions installed as mime/packages/varnel.xml.
std::string_view InstalledMimeDefinition();

}  // namespace varnel
