#pragma once
// The base of the icon-library readers: they fill a list of (name, icon) pairs that the library
// then takes over.

#include <memory>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

struct TNamedIcon {
  std::string name;
  std::unique_ptr<TAdvancedIcon> icon;  // none when only the names were read
};

class TICLReader {
 public:
  explicit TICLReader(std::string fileName) : FileName(std::move(fileName)) {}
  virtual ~TICLReader() = default;

  // Fill List with the icons and their names / the names only; false on any error, List empty.
  virtual bool ReadIcons() = 0;
  virtual bool ReadNames() = 0;

  std::string FileName;
  std::vector<TNamedIcon> List;
};

}  // namespace varnel
