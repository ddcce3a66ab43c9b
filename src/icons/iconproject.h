#pragma once
// TIconProject: an icon together with, for each of its images, the picture layers the image can
// be composed from; stored as an icon project (ICPR) file.

#include <cstdint>
#include <string>
#include <vector>

#include "base/stream.h"
#include "graphics/canvas.h"
#include "icons/advancedicon.h"
#include "icons/iconlayerslist.h"

namespace varnel {

class Clipboard;

// The first bytes of an icon project file: 0xB7 and "ICP".
inline constexpr uint8_t kIconProjectMagic[4] = {0xB7, 'I', 'C', 'P'};

class TIconProject {
 public:
  TAdvancedIcon& Icon() { return icon_; }
  const TAdvancedIcon& Icon() const { return icon_; }
  // One list per image, in image order.
  std::vector<TIconLayersList>& LayerLists() { return layerLists_; }
  const std::vector<TIconLayersList>& LayerLists() const { return layerLists_; }

  // An icon project; or, without its magic, an ICO or CUR stream read from the same position,
  // each image given an empty layer list. Read errors of a truncated stream reach the caller;
  // counts larger than the bytes left could hold raise EReadError before allocating.
  void LoadFromStream(Stream& stream);
  void SaveToStream(Stream& stream) const;
  void LoadFromFile(const std::string& fileName);
  // Replaces the file only when all is written.
  void SaveToFile(const std::string& fileName) const;

  // The icon's images copied, each with an empty layer list.
  void Assign(const TAdvancedIcon& source);
  // The icon the clipboard holds, each image with an empty layer list.
  void Assign(const Clipboard& clipboard);
  // Recomposes every image whose layers hold a modified one, then copies the images to dest.
  void AssignTo(TAdvancedIcon& dest);

  // The largest image width and height.
  int Width() const;
  int Height() const;
  // The best image for 32 x 32 at any depth stretched into rect, blended with its transparency.
  void Draw(TBitmap& canvas, const TRect& rect) const;
  // The picture classes' "empty" query, which answers true when the project holds layer lists
  // (picture views that skip empty graphics therefore draw no icon project).
  bool Empty() const { return !layerLists_.empty(); }

 private:
  void ResetLayerLists();
  void LoadIconStream(Stream& stream, int64_t start);
  void RecomposeImage(int index);

  TAdvancedIcon icon_;
  std::vector<TIconLayersList> layerLists_;
};

// Loads an icon project file and gives its images to icon.
void ImportIconProject(TAdvancedIcon& icon, const std::string& fileName);
void ImportIconProjectBytes(TAdvancedIcon& icon, std::span<const uint8_t> bytes);
// Registers "icpr" ("Icon Project") with the picture-format registry: a project read as a
// picture is drawn at its width and height onto a transparent 32-bit bitmap.
void RegisterIconProjectFormat();

// Writes an icon as an icon project whose images have no layers.
void SaveIconAsIconProject(const TAdvancedIcon& icon, const std::string& path);

}  // namespace varnel
