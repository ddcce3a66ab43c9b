#include "shell/uninstall.h"

#include <unistd.h>

#include "platform/folders.h"
#include "shell/associationchoices.h"
#include "shell/desktopthemeicons.h"
#include "shell/registryfileassociations.h"

namespace varnel {

std::string DesktopProgramPath() {
  std::string beside = PathJoin(ProgramFolder(), "varnel");
  return ::access(beside.c_str(), X_OK) == 0 ? beside : std::string("varnel");
}

DesktopFileAssociations UserDesktopAssociations() {
  return DesktopFileAssociations(DesktopFolders::FromEnvironment(), DesktopProgramPath());
}

std::string UninstallDesktopIntegration() {
  std::string notes;
  auto note = [&notes](const std::string& text) {
    if (!text.empty()) notes += (notes.empty() ? "" : "\n") + text;
  };
  try {
    DesktopFileAssociations desktop = UserDesktopAssociations();
    RemoveAllAssociations(desktop);
    note(desktop.Note());
  } catch (const std::exception& error) {
    note(error.what());
  }
  try {
    RegistryFileAssociations registry(TRegistryStore::Default(), DesktopProgramPath());
    RemoveAllAssociations(registry);
  } catch (const std::exception& error) {
    note(error.what());
  }
  try {
    RestoreDesktopIconTheme();
  } catch (const std::exception& error) {
    note(error.what());
  }
  return notes;
}

}  // namespace varnel
