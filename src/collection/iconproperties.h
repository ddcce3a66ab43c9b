#pragma once
// What the icon properties dialog shows of one icon of the collection: its format and size as
// an icon file, and its source file's icon count and size.

#include <string>
#include <vector>

namespace varnel {

class TAdvancedIcon;

struct TIconProperties {
  std::string name;
  std::string format;    // the image's description, or "N images"
  std::string fileSize;  // "N bytes" written as an icon file
  std::string sourceName;
  std::string iconIndex;       // empty for -1
  std::string totalIcons;      // empty when the source file does not exist
  std::string sourceFileSize;  // "N bytes" or "Not found"
  std::vector<std::string> imageDescriptions;

  static TIconProperties Of(const TAdvancedIcon& icon, const std::string& name,
                            const std::string& sourceFile, int sourceIndex);
};

// "Image %d of %d" (position from 0 given, shown from 1) or "No image".
std::string ImageChooserLabel(int selected, int count);

// The number of icons a file holds as the collection reads it (0 when it cannot be read).
int IconCountOfFile(const std::string& path);

}  // namespace varnel
