#pragma once
// Helpers of the shell tests: icons of known sizes, icon libraries with named icons, and a
// temporary home folder that every per-user path of the desktop points into.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "icons/advancedicon.h"
#include "support/corpus.h"

namespace varnel::test {

// An icon of one square 32-bit image of that size.
std::unique_ptr<TAdvancedIcon> SquareIcon(int size);

// Writes an icon library holding one icon per (name, size), in that order.
void WriteIconLibrary(const std::string& path,
                      const std::vector<std::pair<std::string, int>>& icons);

// The width of the first image of an icon; 0 for none.
int FirstImageWidth(const TAdvancedIcon* icon);

// Points HOME and the XDG folders into a temporary folder and GSettings at a key file there for
// the life of the object, then puts the environment back.
class TemporaryHome {
 public:
  TemporaryHome();
  ~TemporaryHome();
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  std::string Path(const std::string& below) const { return dir_.File(below); }

 private:
  TempDir dir_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace varnel::test
