#pragma once
// The desktop's file-type database: which file extensions belong to which MIME type, and the
// names of the icons that stand for a type. It is read from the "mime" folders below the data
// folders ("globs2", "icons", "generic-icons").

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace varnel {

struct MimeExtension {
  std::string extension;  // without the ".": "txt", "tar.gz"
  std::string mimeType;
};

class SharedMimeInfo {
 public:
  // mimeFolders in order of precedence, the user's first. Missing files are passed over.
  explicit SharedMimeInfo(const std::vector<std::string>& mimeFolders);
  // The "mime" folders below DataFolders().
  static SharedMimeInfo FromDataFolders();

  // Every extension a plain "*.ext" pattern registers, once, with the type of the heaviest
  // pattern (the folder of higher precedence on a tie), in the order first met.
  const std::vector<MimeExtension>& Extensions() const { return extensions_; }
  // The icon names to try for a type, best first: the type's own icon ("icons" file, else the
  // type with "/" as "-"), then its generic icon ("generic-icons" file, else the media part
  // followed by "-x-generic").
  std::vector<std::string> IconNames(const std::string& mimeType) const;

 private:
  struct Pattern {
    int weight = 0;
    std::string mimeType;
    std::string extension;
  };
  using NameTable = std::unordered_map<std::string, std::string>;

  // The patterns of one folder's "globs2"; types marked "__NOGLOBS__" there are added to
  // cleared, and their patterns from folders of lower precedence are passed over.
  void ReadGlobs(const std::string& folder, std::unordered_set<std::string>& cleared,
                 std::vector<Pattern>& patterns) const;
  static void ReadNameTable(const std::string& path, NameTable& table);
  void ChooseTypes(const std::vector<Pattern>& patterns);

  std::vector<MimeExtension> extensions_;
  NameTable icons_;
  NameTable genericIcons_;
};

// The extension a glob names when it is a plain "*.ext" pattern; empty otherwise.
std::string ExtensionOfGlob(const std::string& glob);

}  // namespace varnel
