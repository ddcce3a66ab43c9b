#pragma once
// File-type registrations read from the classes root of the registry: each ".ext" key names a
// type, and the type's "DefaultIcon" key names the icon file and the icon in it.

#include "platform/registrystore.h"
#include "search/filetyperegistrations.h"

namespace varnel {

class RegistryFileTypes : public FileTypeRegistrations {
 public:
  // A file named without a drive or root is looked for in each of searchFolders in turn.
  explicit RegistryFileTypes(TRegistryStore& store, std::vector<std::string> searchFolders = {});

  // In the order of the extension keys sorted ignoring case.
  std::vector<FileTypeIcon> Icons() override;

 private:
  std::string DefaultIconOf(const std::string& extensionKey) const;
  std::string LocateFile(const std::string& file) const;

  TRegistryStore& store_;
  std::vector<std::string> searchFolders_;
};

// Splits a DefaultIcon value into its file and index text: the text after the last "," (blanks
// trimmed) is the index; a value without "," has an empty one. A value beginning with "%" (an
// unexpanded variable) gives no file.
FileTypeIcon ParseDefaultIcon(const std::string& name, const std::string& value);

}  // namespace varnel
