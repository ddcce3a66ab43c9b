#include "platform/iconthemelookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/desktopicontheme.h"
#include "support/corpus.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

// Icon folders in a temporary folder: themes with index.theme files and empty icon files.
class IconFolders {
  test::TempDir dir;

 public:
  std::string user = dir.File("user");
  std::string system = dir.File("system");
  std::string pixmaps = dir.File("pixmaps");

  IconFolders() {
    for (const std::string& folder : {user, system, pixmaps}) fs::create_directories(folder);
  }
  // A theme whose folders are "name:Size:Type[:MaxSize]" texts.
  void Theme(const std::string& base, const std::string& name, const std::string& inherits,
             const std::vector<std::string>& folders) {
    std::string text = "[Icon Theme]\nName=" + name + "\nInherits=" + inherits + "\nDirectories=";
    std::string sections;
    for (const std::string& spec : folders) {
      std::vector<std::string> parts;
      std::stringstream stream(spec);
      for (std::string part; std::getline(stream, part, ':');) parts.push_back(part);
      text += parts[0] + ",";
      if (parts.size() < 3) continue;  // listed without a section of its own
      sections += "\n[" + parts[0] + "]\nSize=" + parts[1] + "\nType=" + parts[2] + "\n";
      if (parts.size() > 3) sections += "MaxSize=" + parts[3] + "\n";
    }
    fs::create_directories(base + "/" + name);
    test::WriteText(base + "/" + name + "/index.theme", text + "\n" + sections);
  }
  std::string Icon(const std::string& relative) {
    std::string path = dir.File(relative);
    fs::create_directories(fs::path(path).parent_path());
    test::WriteText(path, "");
    return path;
  }
  IconThemeLookup Lookup(const std::string& theme) {
    return IconThemeLookup({user, system, pixmaps}, theme);
  }
};

TEST(IconThemeLookupTest, ThemesInheritAndTheLargestFileOfTheFirstThemeWins) {
  IconFolders folders;
  folders.Theme(folders.system, "Child", "Parent",
                {"16x16/mimetypes:16:Fixed", "48x48/mimetypes:48:Threshold",
                 "scalable/mimetypes:16:Scalable:512", "nosize"});
  folders.Theme(folders.system, "Parent", "hicolor",
                {"32x32/mimetypes:32:Fixed", "256x256/mimetypes:256:Fixed"});
  folders.Theme(folders.system, "hicolor", "", {"64x64/mimetypes:64:Fixed"});
  folders.Icon("system/Child/16x16/mimetypes/text-plain.png");
  std::string childLarge = folders.Icon("system/Child/48x48/mimetypes/text-plain.png");
  std::string childSvg = folders.Icon("system/Child/scalable/mimetypes/image-png.svg");
  folders.Icon("system/Child/48x48/mimetypes/image-png.png");
  folders.Icon("system/Child/48x48/mimetypes/text-plain.xpm");
  // The parent's larger icon does not beat the child's own.
  folders.Icon("system/Parent/256x256/mimetypes/text-plain.png");
  std::string parentOnly = folders.Icon("system/Parent/32x32/mimetypes/audio-x-generic.png");
  std::string hicolorOnly = folders.Icon("system/hicolor/64x64/mimetypes/video-x-generic.png");
  std::string unthemed = folders.Icon("pixmaps/font-x-generic.png");
  // The same theme in the user's folder adds files of the folders its index lists.
  std::string userIcon = folders.Icon("user/Child/256x256/mimetypes/text-html.png");
  folders.Theme(folders.system, "Child", "Parent",
                {"16x16/mimetypes:16:Fixed", "48x48/mimetypes:48:Threshold",
                 "scalable/mimetypes:16:Scalable:512", "256x256/mimetypes:256:Fixed"});

  IconThemeLookup lookup = folders.Lookup("Child");
  EXPECT_EQ(lookup.ThemeChain(), (std::vector<std::string>{"Child", "Parent", "hicolor"}));
  EXPECT_EQ(lookup.Find({"text-plain"}), childLarge);
  EXPECT_EQ(lookup.Find({"image-png"}), childSvg);  // scalable up to 512 beats 48
  EXPECT_EQ(lookup.Find({"missing", "audio-x-generic"}), parentOnly);
  EXPECT_EQ(lookup.Find({"video-x-generic"}), hicolorOnly);
  EXPECT_EQ(lookup.Find({"font-x-generic"}), unthemed);
  EXPECT_EQ(lookup.Find({"text-html"}), userIcon);
  EXPECT_EQ(lookup.Find({"missing", "../user/Child/256x256/mimetypes/text-html"}), "");
  EXPECT_EQ(lookup.Find({}), "");
}

TEST(IconThemeLookupTest, HicolorComesLastAndMissingThemesAreLeftOut) {
  IconFolders folders;
  folders.Theme(folders.system, "A", "hicolor,Missing,B", {});
  folders.Theme(folders.system, "B", "", {});
  folders.Theme(folders.system, "hicolor", "", {});
  EXPECT_EQ(folders.Lookup("A").ThemeChain(), (std::vector<std::string>{"A", "B", "hicolor"}));
  EXPECT_EQ(folders.Lookup("Missing").ThemeChain(), (std::vector<std::string>{"hicolor"}));
  EXPECT_EQ(folders.Lookup("../system/A").ThemeChain(), (std::vector<std::string>{"hicolor"}));
}

TEST(IconThemeLookupTest, InheritanceLoopsAndDeepChainsEnd) {
  IconFolders folders;
  folders.Theme(folders.system, "Loop1", "Loop2", {});
  folders.Theme(folders.system, "Loop2", "Loop1,Loop2", {});
  EXPECT_EQ(folders.Lookup("Loop1").ThemeChain(), (std::vector<std::string>{"Loop1", "Loop2"}));
  for (int i = 0; i < 40; ++i)
    folders.Theme(folders.system, "T" + std::to_string(i), "T" + std::to_string(i + 1), {});
  size_t length = folders.Lookup("T0").ThemeChain().size();
  EXPECT_GT(length, 5u);
  EXPECT_LT(length, 40u);
}

TEST(DesktopIconThemeTest, GtkSettingsComeBeforeKdeSettings) {
  test::TempDir dir;
  EXPECT_EQ(IconThemeNameFromConfigFiles(dir.Path()), "");
  EXPECT_EQ(IconThemeNameFromConfigFiles(""), "");
  test::WriteText(dir.File("kdeglobals"), "[General]\nTheme=Wrong\n[Icons]\nTheme=breeze\n");
  EXPECT_EQ(IconThemeNameFromConfigFiles(dir.Path()), "breeze");
  fs::create_directories(dir.File("gtk-3.0"));
  test::WriteText(dir.File("gtk-3.0/settings.ini"), "[Settings]\ngtk-icon-theme-name = Papirus\n");
  EXPECT_EQ(IconThemeNameFromConfigFiles(dir.Path()), "Papirus");
  EXPECT_FALSE(CurrentIconThemeName().empty());
}

}  // namespace
}  // namespace varnel
