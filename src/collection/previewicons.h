#pragma once
// The icons of the preview grid, one per cell, given out as the grid draws its cells: either
// all read beforehand (modules and resource files, read on the preview's worker thread) or read
// from a collection file when a cell first needs its icon.

#include <memory>
#include <string>
#include <vector>

#include "icons/advancedicon.h"

namespace varnel {

class TPreviewIcons {
 public:
  virtual ~TPreviewIcons() = default;

  virtual int Count() const = 0;
  // The icon of cell index; null out of range or when it cannot be read.
  virtual const TAdvancedIcon* Icon(int index) = 0;
  // Lets the icon of cell index go when it can be read again later.
  virtual void Release(int index) = 0;
  // The cell of the icon with this resource name ("1", "MAINICON"), -1 when none has it.
  virtual int IndexOfName(const std::string& name) const = 0;
};

// Icons already read, with their names.
std::unique_ptr<TPreviewIcons> LoadedPreviewIcons(std::vector<std::unique_ptr<TAdvancedIcon>> icons,
                                                  std::vector<std::string> names);
// The items of a collection file, read on demand. Raises when the header cannot be read.
std::unique_ptr<TPreviewIcons> CollectionPreviewIcons(const std::string& path);

}  // namespace varnel
