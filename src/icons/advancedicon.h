#pragma once
// TAdvancedIcon: one icon (or cursor) as an ordered list of images, with the ICO and CUR file
// formats, icons assembled from resources, icons found inside RIFF files and the clipboard.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/stream.h"
#include "icons/subiconlist.h"

namespace varnel {

class Clipboard;
class IconResourceSource;
class TFilerReader;
class TFilerWriter;

// Name of the private clipboard format that holds a one-image ICO stream.
inline constexpr const char* kIconClipboardFormat = "Tessel Icon";
// Files larger than this are not searched for icons inside RIFF chunks.
inline constexpr int64_t kMaxRiffFileSize = 2000000;

class TAdvancedIcon {
 public:
  TAdvancedIcon() = default;
  virtual ~TAdvancedIcon() = default;
  TAdvancedIcon(const TAdvancedIcon&) = delete;
  TAdvancedIcon& operator=(const TAdvancedIcon&) = delete;

  TSubIconList& Images() { return images_; }
  const TSubIconList& Images() const { return images_; }
  // The selection flag the collection keeps in each icon; not copied by Assign.
  bool Selected = false;
  // A cursor is told by its hot spots: icons have none.
  bool HasHotSpot() const;

  // Replaces the images by deep copies of source's images.
  void Assign(const TAdvancedIcon& source);

  // Reads the 6-byte directory header: valid when reserved is 0 and the type 1 or 2.
  bool ReadIconHeader(Stream& stream, int& count, uint16_t* type = nullptr);

  // ICO files (cursor files read as icons keep their hotspots). True when an image was read
  // through the directory; a bare-image file gives its image but False.
  bool LoadFromFile(const std::string& fileName);
  bool LoadFromBytes(std::span<const uint8_t> bytes);
  // An ICO at the stream position, offsets counted from there; appends.
  bool LoadFromStream(Stream& stream);
  // Clears, then reads an ICO whose offsets count from position 0 of the stream.
  bool LoadFromStreamAbsolute(Stream& stream);
  // Appends the images of icon group `name` of a resource container (the first group of that
  // name, its images in any language).
  bool LoadFromResourceModule(IconResourceSource& module, const std::string& name);
  // Appends the images of the icon group (or, with cursor, the cursor group) whose data is
  // `group`: each entry's icon (cursor) resource is taken in `language` when the container has
  // it there, else in any language; cursor images keep their hotspots. Damaged and missing
  // images are dropped. False when the group header is not valid.
  bool LoadFromResourceGroup(IconResourceSource& module, Stream& group,
                             std::optional<uint32_t> language, bool cursor = false);
  void SaveToStream(Stream& stream) const;
  // Raises "No images in icon" for an empty icon; replaces the file only when complete.
  void SaveToFile(const std::string& fileName) const;

  // CUR files: clears and reads with offsets from position 0 / appends with offsets relative to
  // the stream position. Like the ICO stream readers, they read each directory entry from its
  // place in the directory and drop damaged or truncated images.
  bool LoadCursorFromStream(Stream& stream);
  bool LoadCursorFromStreamRelative(Stream& stream);
  void SaveCursorToStream(Stream& stream) const;
  void SaveCursorToFile(const std::string& fileName) const;
  // Writes the icon as a cursor whose images all have the given hotspot (x low, y high word).
  void SaveAsCursorFile(const std::string& fileName, uint32_t hotSpot) const;

  // Icons stored whole in "ICON" chunks of a RIFF file. With a list, each icon found is appended
  // to it; otherwise the images are appended here. limit < 1: no limit.
  bool ExtractFromRiffFile(const std::string& fileName, int limit,
                           std::vector<std::unique_ptr<TAdvancedIcon>>* list);
  bool ExtractFromRiffData(std::span<const uint8_t> bytes, int limit,
                           std::vector<std::unique_ptr<TAdvancedIcon>>* list);

  // Adds one image to the clipboard: the picture composed on backColor, and a one-image ICO.
  // Formats already on the clipboard stay.
  static void CopyImageToClipboard(const TSubIcon& image, TColor backColor, Clipboard& clipboard);
  // Replaces the images by what the clipboard holds (icon format, PNG, or picture); nothing
  // changes when it holds none of them.
  void PasteFromClipboard(const Clipboard& clipboard);
  void LoadFromClipboardFormat(std::span<const uint8_t> block);

  // Image choice for a wanted width, height and depth (each 0 for "any"). BestImageIndex weighs
  // every image by size, then by depth (0 for fewer than two images); GetBestImage and
  // GetBestHandle give that image and its handle (null for an empty icon). FindImage gives an
  // image of exactly that size and depth, or else the last one of that size whose depth, like
  // the wanted one, lies in 8..24; null when there is none.
  int BestImageIndex(int width, int height, int bpp) const;
  TSubIcon* GetBestImage(int width, int height, int bpp) const;
  const TIconHandle* GetBestHandle(int width, int height, int bpp) const;
  TSubIcon* FindImage(int width, int height, int bpp) const;

  bool SameIcon(const TAdvancedIcon& other) const;
  void GetMaxDimensions(int& maxWidth, int& maxHeight, int& maxBpp) const;

  // The filer form: a count, then one filer record per image.
  void WriteData(TFilerWriter& writer) const;
  void ReadData(TFilerReader& reader);

 private:
  void WriteDirectory(Stream& stream, uint16_t type, const uint32_t* hotSpot) const;
  bool ReadCursorDirectory(Stream& stream, int64_t headerStart, int64_t base);

  TSubIconList images_;
};

class TAdvancedCursor : public TAdvancedIcon {};

// A cursor is an icon read as one (from a cursor group) or one whose images carry hotspots.
bool IsCursorIcon(const TAdvancedIcon& icon);

}  // namespace varnel
