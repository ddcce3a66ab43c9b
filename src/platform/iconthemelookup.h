#pragma once
// Finds the file of a named icon in an icon theme the way desktops do: the theme's index.theme
// lists its size folders, a theme inherits the icons it lacks from the themes of its "Inherits"
// key, "hicolor" comes last, and icons outside any theme lie directly in the icon folders.
// Of the files a theme has for a name, the largest is taken.
//
// A lookup keeps what it read of each theme, so it is used from one thread at a time.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace varnel {

class IconThemeLookup {
 public:
  // iconFolders: the folders holding themes and unthemed icons, in order of precedence.
  IconThemeLookup(std::vector<std::string> iconFolders, std::string themeName);
  ~IconThemeLookup();
  IconThemeLookup(IconThemeLookup&&) noexcept;
  IconThemeLookup& operator=(IconThemeLookup&&) noexcept;

  // $HOME/.icons, "icons" below each of DataFolders(), then /usr/share/pixmaps.
  static std::vector<std::string> DefaultIconFolders();

  // The file (.png or .svg) of the first name that the theme, a theme it inherits from,
  // hicolor or the unthemed icons have; empty when none has any of the names.
  std::string Find(const std::vector<std::string>& names);

  // The themes searched, in order: the theme, its ancestors depth first, then hicolor. Themes
  // without an index.theme are left out; loops and chains deeper than a limit end the walk.
  const std::vector<std::string>& ThemeChain();

 private:
  struct Theme;

  const Theme& LoadTheme(const std::string& name);
  void AddToChain(const std::string& name, int depth);
  std::string FindUnthemed(const std::string& name) const;

  std::vector<std::string> iconFolders_;
  std::string themeName_;
  std::unordered_map<std::string, std::unique_ptr<Theme>> themes_;
  std::vector<std::string> chain_;
  bool chainBuilt_ = false;
};

}  // namespace varnel
