#include "shell/desktopfileassociations.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>

#include "shell/associationchoices.h"
#include "shell/installeddata.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

// Points HOME and the XDG folders into a temporary folder and clears what would make xdg-mime
// ask a desktop session; everything is put back afterwards.
class TemporaryHome {
 public:
  TemporaryHome() {
    Set("HOME", dir_.Path());
    Set("XDG_DATA_HOME", dir_.File("data"));
    Set("XDG_CONFIG_HOME", dir_.File("config"));
    // No system-wide defaults either (an installed package's would answer the queries).
    Set("XDG_CONFIG_DIRS", dir_.File("etc-xdg"));
    Set("XDG_DATA_DIRS", dir_.File("usr-share"));
    for (const char* name :
         {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
          "MATE_DESKTOP_SESSION_ID", "XDG_MENU_PREFIX", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY"})
      Set(name, std::nullopt);
  }
  ~TemporaryHome() {
    for (const auto& [name, value] : saved_)
      value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  std::string File(const std::string& name) const { return dir_.File(name); }
  DesktopFolders Folders() const { return DesktopFolders::FromEnvironment(); }

 private:
  void Set(const std::string& name, const std::optional<std::string>& value) {
    const char* old = ::getenv(name.c_str());
    saved_.emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

  test::TempDir dir_;
  std::map<std::string, std::optional<std::string>> saved_;
};

// Every file below a folder with its contents.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (!entry.is_directory()) files[entry.path().string()] = test::FileText(entry.path());
  return files;
}

std::string QueryDefault(const char* mimeType) {
  test::ProcessResult result =
      test::RunCommand(std::string("xdg-mime query default ") + mimeType + " 2>/dev/null");
  while (!result.out.empty() && result.out.back() == '\n') result.out.pop_back();
  return result.out;
}

// Writes a file, making its folder first.
void WriteFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  test::WriteText(path, text);
}

const TAssociatedType& Type(const char* extension) {
  return *FindAssociatedType(extension);
}

constexpr const char* kUserMimeApps =
    "[Added Associations]\nimage/png=viewer.desktop;\n\n"
    "[Default Applications]\napplication/x-varnel-icon-library=wine.desktop;\n"
    "image/png=viewer.desktop;";

TEST(DesktopAssociationsTest, AssociatingMakesTheProgramTheDefaultAndRemovingPutsAllBack) {
  TemporaryHome home;
  WriteFile(home.File("config/mimeapps.list"), kUserMimeApps);
  // xdg-mime names only defaults whose desktop entry exists.
  WriteFile(home.File("data/applications/wine.desktop"),
            "[Desktop Entry]\nType=Application\nExec=sh %F\n");
  auto before = Snapshot(home.File(""));
  DesktopFileAssociations associations(home.Folders(), "/opt/my apps/varnel");

  FileAssociationChoices choices(associations);
  choices.CheckAll();
  choices.Apply(associations);
  for (const TAssociatedType& type : kAssociatedTypes)
    EXPECT_TRUE(associations.IsAssociated(type)) << type.extension;
  EXPECT_EQ(QueryDefault("application/x-varnel-icon-library"), "varnel.desktop");
  EXPECT_EQ(QueryDefault("application/x-varnel-collection"), "varnel.desktop");
  EXPECT_EQ(test::FileText(associations.MimePackagePath()), InstalledMimeDefinition());
  std::string entry = test::FileText(associations.DesktopEntryPath());
  EXPECT_NE(entry.find("\nExec=\"/opt/my apps/varnel\" %F\n"), std::string::npos) << entry;
  EXPECT_TRUE(fs::exists(home.File("data/mime/mime.cache"))) << associations.Note();

  RemoveAllAssociations(associations);
  for (const TAssociatedType& type : kAssociatedTypes)
    EXPECT_FALSE(associations.IsAssociated(type)) << type.extension;
  EXPECT_EQ(QueryDefault("application/x-varnel-icon-library"), "wine.desktop");
  EXPECT_EQ(test::FileText(home.File("config/mimeapps.list")), kUserMimeApps);
  EXPECT_EQ(Snapshot(home.File("")), before);
}

TEST(DesktopAssociationsTest, ACollectionIsKnownByItsMagicAndNotByItsExtension) {
  TemporaryHome home;
  DesktopFileAssociations associations(home.Folders(), "/usr/bin/varnel");
  associations.SetAssociation(true, Type("icc"));
  test::WriteText(home.File("collection.bin"), std::string("ICC0") + std::string(60, '\0'));
  test::WriteText(home.File("library.icl"), "MZ");
  // GIO reads the user's MIME database the way file managers do.
  std::string query =
      "GIO_USE_VFS=local XDG_DATA_DIRS=/usr/share gio info -a "
      "standard::content-type ";
  EXPECT_NE(test::RunCommand(query + home.File("collection.bin"))
                .out.find("content-type: application/x-varnel-collection\n"),
            std::string::npos);
  EXPECT_NE(test::RunCommand(query + home.File("library.icl"))
                .out.find("content-type: application/x-varnel-icon-library\n"),
            std::string::npos);
  EXPECT_EQ(test::FileText(associations.MimePackagePath()).find("pattern=\"*.icc\""),
            std::string::npos);
}

TEST(DesktopAssociationsTest, TheLibrariesShareOneDefaultWhileAnyOfThemIsAssociated) {
  TemporaryHome home;
  DesktopFileAssociations associations(home.Folders(), "/usr/bin/varnel");
  associations.SetAssociation(true, Type("icl"));
  associations.SetAssociation(true, Type("nil"));
  EXPECT_FALSE(associations.IsAssociated(Type("il")));
  associations.SetAssociation(false, Type("il"));  // not associated: nothing happens
  associations.SetAssociation(false, Type("icl"));
  EXPECT_TRUE(associations.IsAssociated(Type("nil")));
  EXPECT_EQ(QueryDefault("application/x-varnel-icon-library"), "varnel.desktop");
  associations.SetAssociation(false, Type("nil"));
  EXPECT_EQ(Snapshot(home.File("")), (std::map<std::string, std::string>{}));
}

TEST(DesktopAssociationsTest, FilesAndDefaultsTheUserMadeAreLeftAlone) {
  TemporaryHome home;
  std::string ownEntry = "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine %F\n";
  std::string mimeApps =
      "[Default Applications]\napplication/x-varnel-collection=varnel.desktop;\n";
  WriteFile(home.File("data/applications/varnel.desktop"), ownEntry);
  WriteFile(home.File("config/mimeapps.list"), mimeApps);
  DesktopFileAssociations associations(home.Folders(), "/usr/bin/varnel");
  // Chosen by hand, not registered by the program: "-uninstall" leaves it.
  EXPECT_FALSE(associations.IsAssociated(Type("icc")));
  associations.SetAssociation(true, Type("icc"));
  associations.SetAssociation(true, Type("icc"));
  EXPECT_TRUE(associations.IsAssociated(Type("icc")));
  // Someone else takes the type over; the program no longer claims it.
  WriteFile(home.File("config/mimeapps.list"),
            "[Default Applications]\napplication/x-varnel-collection=other.desktop;\n");
  EXPECT_FALSE(associations.IsAssociated(Type("icc")));
  associations.SetAssociation(true, Type("icc"));
  associations.SetAssociation(false, Type("icc"));
  EXPECT_EQ(test::FileText(home.File("config/mimeapps.list")),
            "[Default Applications]\napplication/x-varnel-collection=other.desktop;\n");
  EXPECT_EQ(test::FileText(home.File("data/applications/varnel.desktop")), ownEntry);
  EXPECT_FALSE(fs::exists(associations.MimePackagePath()));
  EXPECT_FALSE(fs::exists(associations.RecordPath()));
}

}  // namespace
}  // namespace varnel
