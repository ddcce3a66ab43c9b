#pragma once
// The system version classes the icon customisation tells apart, decided once from the version
// numbers and the registry's version text.

#include <string>

namespace varnel {

enum class TPlatformFamily { Win9x, NT };

struct WindowsVersion {
  TPlatformFamily family = TPlatformFamily::NT;
  int major = 6;
  int minor = 1;
};

struct SystemClasses {
  bool win95 = false;
  bool win98 = false;
  bool nt5 = false;
  bool xp = false;
  bool ntFamily = false;
};

// versionText is HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion" "Version".
// An empty text on a 9x system decides by the minor version: below 10 is Windows 95.
SystemClasses ClassifySystem(const WindowsVersion& version, const std::string& versionText);

}  // namespace varnel
