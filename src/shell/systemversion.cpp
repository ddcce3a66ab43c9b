#include "shell/systemversion.h"

namespace varnel {

namespace {

bool Is9xRelease(const WindowsVersion& version, const std::string& versionText, const char* release,
                 bool whenEmpty) {
  if (version.family != TPlatformFamily::Win9x || version.major != 4) return false;
  if (versionText.empty()) return whenEmpty;
  return versionText.find(release) != std::string::npos;
}

}  // namespace

SystemClasses ClassifySystem(const WindowsVersion& version, const std::string& versionText) {
  SystemClasses classes;
  classes.win95 = Is9xRelease(version, versionText, "95", version.minor < 10);
  classes.win98 = Is9xRelease(version, versionText, "98", version.minor >= 10);
  classes.ntFamily = version.family == TPlatformFamily::NT;
  classes.nt5 = classes.ntFamily && version.major == 5;
  classes.xp = version.major == 5 && version.minor == 1;
  return classes;
}

}  // namespace varnel
