#include "shell/uninstall.h"

#include <unistd.h>

#include "platform/folders.h"
#include "shell/associationchoices.h"
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
  DesktopFileAssociations desktop = UserDesktopAssociations();
  RemoveAllAssociations(desktop);
  RegistryFileAssociations registry(TRegistryStore::Default(), DesktopProgramPath());
  RemoveAllAssociations(registry);
  return desktop.Note();
}

}  // namespace varnel
