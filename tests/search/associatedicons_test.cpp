#include "search/associatedicons.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "platform/registry.h"
#include "search/desktopfiletypes.h"
#include "search/registryfiletypes.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnvironment {
 public:
  ~ScopedEnvironment() {
    for (auto& [name, value] : saved_)
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
  void Set(const std::string& name, const std::string& value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name.c_str(), value.c_str(), 1);
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFileAtomic(path, bytes);
}

std::string WritePng(const std::string& path, int size) {
  TBitmap bitmap(size, size, PixelFormat::Bits32);
  bitmap.Fill(RGB(uint8_t(size), 1, 2));
  WriteBytes(path, EncodePng(bitmap));
  return path;
}

void WriteFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  test::WriteText(path, text);
}

void ClassesKey(TRegistryStore& store, const std::string& key, const std::string& value) {
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  ASSERT_TRUE(registry.OpenKey("\\" + key, true));
  registry.WriteString("", value);
}

std::vector<std::string> NamesOf(const std::vector<FileTypeIcon>& icons) {
  std::vector<std::string> names;
  for (const FileTypeIcon& icon : icons) names.push_back(icon.name);
  return names;
}

TEST(RegistryFileTypesTest, ExtensionKeysGiveTheirTypesDefaultIconsSortedIgnoringCase) {
  test::TempDir dir;
  TRegistryStore store(dir.File("registry.txt"));
  ClassesKey(store, ".ZIP", "zipfile");
  ClassesKey(store, "zipfile\\DefaultIcon", "C:\\Tools\\zip.dll, 3 ");
  ClassesKey(store, ".abc", "abcfile");
  ClassesKey(store, "abcfile\\DefaultIcon", "%SystemRoot%\\x.dll,1");
  ClassesKey(store, ".txt", "txtfile");  // no DefaultIcon key
  ClassesKey(store, ".bmp", "");
  ClassesKey(store, "notext", "x");
  ClassesKey(store, "notext\\DefaultIcon", "/x.ico");
  ClassesKey(store, ".lib", "libfile");
  ClassesKey(store, "libfile\\DefaultIcon", "lib.icl");
  ClassesKey(store, ".neg", "negfile");
  ClassesKey(store, "negfile\\DefaultIcon", "/a,b/shell.dll,-IDI_X");
  test::WriteText(dir.File("lib.icl"), "");
  RegistryFileTypes types(store, {dir.File("none"), dir.Path()});

  std::vector<FileTypeIcon> icons = types.Icons();
  ASSERT_EQ(NamesOf(icons), (std::vector<std::string>{"lib", "neg", "ZIP"}));
  EXPECT_EQ(icons[0].file, dir.File("lib.icl"));
  EXPECT_EQ(icons[0].indexText, "");
  EXPECT_EQ(icons[1].file, "/a,b/shell.dll");
  EXPECT_EQ(icons[1].indexText, "-IDI_X");
  EXPECT_EQ(icons[2].file, "C:\\Tools\\zip.dll");
  EXPECT_EQ(icons[2].indexText, "3");
  EXPECT_EQ(icons[2].kind, AssociatedIconFile::Indexed);
}

TEST(RegistryFileTypesTest, AStoreWithoutClassesGivesNothing) {
  test::TempDir dir;
  TRegistryStore store(dir.File("registry.txt"));
  EXPECT_TRUE(RegistryFileTypes(store).Icons().empty());
}

// A 32-bit icon library of three icons, each with one image of its own size.
std::string WriteLibrary(const test::TempDir& dir) {
  TIconLibrary library;
  library.Icons.AddIcon("MAIN", test::IconOfSizes({16}));
  library.Icons.AddIcon("IDI_OTHER", test::IconOfSizes({32}));
  library.Icons.AddIcon("1", test::IconOfSizes({48}));
  std::string path = dir.File("types.icl");
  library.SaveAs32Bit(path);
  return path;
}

int ImageWidth(TfmLib& lib, int index) {
  return lib.Items().Icons(index)->Images().Items(0)->ImageWidth();
}

TEST(AddAssociatedIconTest, IndexTextChoosesByNumberOrByNameIgnoringCase) {
  test::TempDir dir;
  std::string path = WriteLibrary(dir);
  TIconLibrary library;
  library.LoadFromFile(path);
  ASSERT_EQ(library.Count(), 3);
  EXPECT_EQ(AssociatedIconIndex(library, "1"), 1);
  EXPECT_EQ(AssociatedIconIndex(library, "-idi_other"), 1);
  EXPECT_EQ(AssociatedIconIndex(library, "-1"), 2);  // the icon named "1"
  EXPECT_EQ(AssociatedIconIndex(library, "-missing"), -1);
  EXPECT_EQ(AssociatedIconIndex(library, "3"), -1);
  EXPECT_EQ(AssociatedIconIndex(library, ""), -1);
  EXPECT_EQ(AssociatedIconIndex(library, "x"), -1);

  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  AddAssociatedIcon(lib, path, "icl", "-IDI_OTHER");
  AddAssociatedIcon(lib, path, "dll", "0");
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.Items().Names(0), "icl");
  EXPECT_EQ(ImageWidth(lib, 0), 32);
  EXPECT_EQ(lib.Items().Source(0).position, 1);
  EXPECT_EQ(lib.SourceOf(0), path);
  EXPECT_EQ(lib.Items().Names(1), "dll");
  EXPECT_EQ(ImageWidth(lib, 1), 16);
  EXPECT_EQ(lib.Items().Source(1).position, 0);
}

TEST(AddAssociatedIconTest, IconFilesAndMissingIndexes) {
  test::TempDir dir;
  std::string ico = dir.File("one.ico");
  test::IconOfSizes({24, 48})->SaveToFile(ico);
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  lib.AppendItem("earlier", test::IconOfSizes({16}));
  AddAssociatedIcon(lib, ico, "ico", "");  // an empty index chooses nothing
  AddAssociatedIcon(lib, ico, "ico", "9");
  ASSERT_EQ(lib.Count(), 1);
  // The whole icon file follows the images the library's scan found, under the file's name.
  AddAssociatedIcon(lib, ico, "ico", "-ONE.ICO");
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.Items().Names(1), "ico");
  EXPECT_EQ(lib.Items().Icons(1)->Images().Count(), 2);
  EXPECT_EQ(lib.SourceOf(1), ico);
  // The search records the file for items without a source when it takes no icon.
  EXPECT_EQ(lib.SourceOf(0), ico);
}

TEST(AddAssociatedIconTest, PicturesBecomeOneIconAndOtherFilesAreReadAsIconFiles) {
  test::TempDir dir;
  std::string png = WritePng(dir.File("a.png"), 20);
  std::string svg = dir.File("b.svg");
  test::WriteText(svg,
                  "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>"
                  "<rect width='40' height='30' fill='red'/></svg>");
  std::string ico = dir.File("c.svg");  // an icon file under a picture's name
  test::IconOfSizes({24})->SaveToFile(ico);
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  AddAssociatedPicture(lib, png, "png");
  AddAssociatedPicture(lib, svg, "svg");
  AddAssociatedPicture(lib, ico, "ico");
  ASSERT_EQ(lib.Count(), 3);
  EXPECT_EQ(ImageWidth(lib, 0), 20);
  EXPECT_EQ(ImageWidth(lib, 1), 40);
  EXPECT_EQ(ImageWidth(lib, 2), 24);
  EXPECT_EQ(lib.SourceOf(1), svg);
  EXPECT_EQ(lib.Items().Source(2).position, 0);
}

// Registrations given directly, for the search's own steps.
class ListedTypes : public FileTypeRegistrations {
 public:
  std::vector<FileTypeIcon> icons;
  std::vector<FileTypeIcon> Icons() override { return icons; }
};

TEST(FindAssociatedIconsTest, SortsSkipsMissingFilesCollectsErrorsAndStops) {
  test::TempDir dir;
  std::string png = WritePng(dir.File("p.png"), 16);
  std::string broken = dir.File("broken.png");
  WriteBytes(broken, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H'});
  ListedTypes types;
  types.icons = {{"b", png, "0", AssociatedIconFile::Picture},
                 {"Zed", png, "0", AssociatedIconFile::Picture},
                 {"gone", dir.File("none.png"), "0", AssociatedIconFile::Picture},
                 {"bad", broken, "0", AssociatedIconFile::Picture},
                 {"A", png, "0", AssociatedIconFile::Picture}};
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  FindAssociatedIcons(lib, types);
  ASSERT_EQ(lib.Count(), 3);
  EXPECT_EQ(lib.Items().Names(0), "A");
  EXPECT_EQ(lib.Items().Names(1), "b");
  EXPECT_EQ(lib.Items().Names(2), "Zed");
  EXPECT_TRUE(lib.GetModified());
  EXPECT_FALSE(lib.Busy());
  EXPECT_FALSE(collection.ui.progressShown);
  ASSERT_EQ(collection.ui.errorLists.size(), 1u);
  EXPECT_NE(collection.ui.errorLists[0].at(0).find("broken.png"), std::string::npos);

  test::TestCollection stopped;
  stopped.ui.onProcessMessages = [&] {
    if (stopped.lib.Count() == 2) stopped.ui.progressFlags.stopRequested = true;
  };
  FindAssociatedIcons(stopped.lib, types);
  EXPECT_EQ(stopped.lib.Count(), 2);
  EXPECT_TRUE(stopped.lib.StopRequested());
}

// A desktop in a temporary folder: the MIME database split over the user's and the system's
// data folders, and a theme that inherits from another.
class DesktopFolders : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScopedEnvironment environment;
  std::string home = dir.File("home");
  std::string user = dir.File("home/.local/share");
  std::string system = dir.File("system");

  void SetUp() override {
    environment.Set("HOME", home);
    environment.Set("XDG_DATA_HOME", user);
    environment.Set("XDG_DATA_DIRS", dir.File("relative-ignored") + ":" + system + ":relative");
    WriteFile(system + "/mime/globs2",
              "50:text/plain:*.txt\n50:image/png:*.png\n50:application/x-thing:*.thing\n"
              "50:application/x-none:*.none\n50:text/x-log:*.Log\n");
    WriteFile(user + "/mime/globs2", "50:text/x-mine:*.mine\n");
    WriteFile(system + "/mime/icons", "application/x-thing:thing-icon\n");
    WriteFile(system + "/icons/Child/index.theme",
              "[Icon Theme]\nInherits=Base\nDirectories=48/m,16/m\n"
              "[48/m]\nSize=48\nType=Fixed\n[16/m]\nSize=16\n");
    WriteFile(system + "/icons/Base/index.theme",
              "[Icon Theme]\nInherits=Child\nDirectories=s/m\n"
              "[s/m]\nSize=16\nType=Scalable\nMaxSize=64\n");
    WritePng(system + "/icons/Child/16/m/text-plain.png", 16);
    WritePng(system + "/icons/Child/48/m/text-plain.png", 48);
    WritePng(system + "/icons/Child/16/m/thing-icon.png", 16);
    WriteFile(system + "/icons/Base/s/m/image-png.svg",
              "<svg xmlns='http://www.w3.org/2000/svg' width='64' height='64'><rect width='9' "
              "height='9'/></svg>");
    WritePng(system + "/icons/Base/s/m/text-x-generic.png", 32);
    WritePng(home + "/.icons/application-x-none-unused.png", 8);
  }

  DesktopFileTypes Types() {
    return DesktopFileTypes(SharedMimeInfo::FromDataFolders(),
                            IconThemeLookup(IconThemeLookup::DefaultIconFolders(), "Child"));
  }
};

TEST_F(DesktopFolders, EveryExtensionWithAThemeIconIsAPicture) {
  std::vector<FileTypeIcon> icons = Types().Icons();
  ASSERT_EQ(NamesOf(icons), (std::vector<std::string>{"mine", "txt", "png", "thing", "Log"}));
  EXPECT_EQ(icons[0].file, system + "/icons/Base/s/m/text-x-generic.png");
  EXPECT_EQ(icons[1].file, system + "/icons/Child/48/m/text-plain.png");
  EXPECT_EQ(icons[2].file, system + "/icons/Base/s/m/image-png.svg");
  EXPECT_EQ(icons[3].file, system + "/icons/Child/16/m/thing-icon.png");
  EXPECT_EQ(icons[4].file, icons[0].file);
  for (const FileTypeIcon& icon : icons) EXPECT_EQ(icon.kind, AssociatedIconFile::Picture);
}

TEST_F(DesktopFolders, TheSearchNamesEachItemAfterItsExtension) {
  DesktopFileTypes types = Types();
  test::TestCollection collection;
  TfmLib& lib = collection.lib;
  FindAssociatedIcons(lib, types);
  ASSERT_EQ(lib.Count(), 5);
  std::vector<std::string> names;
  for (int i = 0; i < lib.Count(); ++i) names.push_back(lib.Items().Names(i));
  EXPECT_EQ(names, (std::vector<std::string>{"Log", "mine", "png", "thing", "txt"}));
  EXPECT_EQ(ImageWidth(lib, 4), 48);
  EXPECT_EQ(lib.SourceOf(4), system + "/icons/Child/48/m/text-plain.png");
  EXPECT_TRUE(collection.ui.errorLists.empty());
}

TEST(DesktopFileTypesTest, ThisMachineGivesOneIconFilePerExtension) {
  if (!fs::exists("/usr/share/mime/globs2")) GTEST_SKIP() << "no MIME database installed";
  std::vector<FileTypeIcon> icons = DesktopFileTypes::FromEnvironment().Icons();
  EXPECT_GT(icons.size(), 100u);
  std::set<std::string> names;
  for (const FileTypeIcon& icon : icons) {
    EXPECT_TRUE(names.insert(icon.name).second) << icon.name;
    EXPECT_TRUE(fs::is_regular_file(icon.file)) << icon.file;
  }
}

}  // namespace
}  // namespace varnel
