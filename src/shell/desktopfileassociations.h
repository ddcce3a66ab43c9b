#pragma once
// File associations on a freedesktop desktop, for the user alone: the desktop entry
// applications/varnel.desktop and the MIME definitions mime/packages/varnel.xml below
// $XDG_DATA_HOME (the same texts the package installs), and the default application of each
// MIME type in $XDG_CONFIG_HOME/mimeapps.list. What the program added and the defaults it
// replaced are kept in a record file, so that removing the associations puts mimeapps.list back
// as it was and deletes only files the program made.
//
// The three icon library extensions share one MIME type: its default stays with the program
// while any of them is associated.

#include <string>

#include "platform/inifile.h"
#include "shell/fileassociations.h"

namespace varnel {

struct DesktopFolders {
  std::string dataHome;    // $XDG_DATA_HOME, else ~/.local/share
  std::string configHome;  // $XDG_CONFIG_HOME, else ~/.config
  // The folders the environment names; empty texts when neither XDG nor HOME is set.
  static DesktopFolders FromEnvironment();
};

class DesktopFileAssociations : public FileAssociations {
 public:
  static constexpr const char* kDesktopEntryName = "varnel.desktop";

  // programPath: the program the desktop entry starts.
  DesktopFileAssociations(DesktopFolders folders, std::string programPath);

  bool IsAssociated(const TAssociatedType& type) const override;
  void SetAssociation(bool doRegister, const TAssociatedType& type) override;

  std::string DesktopEntryPath() const;
  std::string MimeFolder() const;
  std::string MimePackagePath() const;
  std::string MimeAppsPath() const;
  std::string RecordPath() const;
  // The desktop entry as written for this program: the installed one starting programPath.
  std::string DesktopEntryText() const;
  // What went wrong without stopping the work (update-mime-database missing or failing).
  const std::string& Note() const { return note_; }

 private:
  void Register(const TAssociatedType& type);
  void Unregister(const TAssociatedType& type);
  bool AnyTypeRecorded(const char* mimeType) const;
  void AddDesktopEntry();
  void AddMimePackage();
  void SetDefaultApplication(const char* mimeType);
  void RestoreDefaultApplication(const char* mimeType);
  void RemoveAddedFiles();
  void UpdateMimeDatabase();
  void SaveRecord();

  DesktopFolders folders_;
  std::string programPath_;
  TIniFile record_;
  std::string note_;
};

}  // namespace varnel
