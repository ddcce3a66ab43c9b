#include "collection/xcursorthemeexport.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "base/errors.h"
#include "base/mappedfile.h"
#include "collection/exportnames.h"
#include "collection/sizedpictures.h"
#include "collection/themefolder.h"
#include "icons/animatedcursor.h"
#include "icons/xcursorfile.h"

namespace varnel {

namespace {

namespace fs = std::filesystem;

constexpr int kJiffiesPerSecond = 60;

// An X cursor image need not be square: the image keeps its shape, its larger side the nominal
// size the desktop matches.
XCursorImage ImageOf(const TSubIcon& image, bool hotSpot, uint32_t delay = 0) {
  XCursorImage result;
  result.picture = PictureOf(image);
  result.nominalSize = std::max(result.picture.Width(), result.picture.Height());
  result.hotX = hotSpot ? int(image.HotSpot() & 0xFFFF) : 0;
  result.hotY = hotSpot ? int(image.HotSpot() >> 16) : 0;
  result.delay = delay;
  return result;
}

std::vector<XCursorImage> StillImages(const TAdvancedIcon& icon) {
  std::vector<XCursorImage> images;
  for (const auto& [side, image] : DeepestImagesBySide(icon))
    images.push_back(ImageOf(*image, icon.HasHotSpot()));
  return images;
}

// One image per step and size: for each size the frames in step order, each shown for its
// step's rate (jiffies of 1/60 s) in milliseconds.
std::vector<XCursorImage> AnimatedImages(const TAnimatedCursor& cursor) {
  std::set<int> sides;
  for (const auto& frame : cursor.Frames)
    for (const auto& [side, image] : DeepestImagesBySide(*frame)) sides.insert(side);
  std::vector<XCursorImage> images;
  for (int side : sides)
    for (int step = 0; step < cursor.StepCount(); ++step) {
      const TAdvancedCursor* frame = cursor.StepFrame(step);
      if (!frame) continue;
      std::map<int, const TSubIcon*> bySide = DeepestImagesBySide(*frame);
      auto image = bySide.find(side);
      if (image == bySide.end()) continue;
      long milliseconds =
          std::lround(std::max(cursor.Rates[size_t(step)], 0) * 1000.0 / kJiffiesPerSecond);
      uint32_t delay = uint32_t(std::min<long>(milliseconds, UINT32_MAX));
      images.push_back(ImageOf(*image->second, frame->HasHotSpot(), delay));
    }
  return images;
}

// The animated cursor file an item came from; nothing when its source is none (a RIFF form
// "ACON" is enough: the frames of some that detection passes by are still found).
std::optional<TAnimatedCursor> AnimatedCursorFrom(const std::string& path) {
  SharedFile file = path.empty() ? nullptr : MappedFile::TryOpen(path);
  std::span<const uint8_t> bytes = file ? file->Bytes() : std::span<const uint8_t>();
  if (bytes.size() < 12 || !std::equal(bytes.begin(), bytes.begin() + 4, "RIFF") ||
      !std::equal(bytes.begin() + 8, bytes.begin() + 12, "ACON"))
    return std::nullopt;
  TAnimatedCursor cursor;
  try {
    cursor.LoadFromBytes(bytes);
  } catch (const Exception&) {
    return std::nullopt;
  }
  return cursor;
}

class CursorThemeWriter {
 public:
  explicit CursorThemeWriter(const fs::path& folder) : folder_(folder) {}

  void WriteItem(const TCollection& collection, int index) {
    std::string source = collection.SourceOf(index);
    const TAdvancedIcon& icon = *collection.Items().Icons(index);
    if (animatedSources_.count(source)) return;  // its frames went with the first
    if (std::optional<TAnimatedCursor> cursor = AnimatedCursorFrom(source)) {
      animatedSources_.insert(source);
      Write(fs::path(source).stem().string(), AnimatedImages(*cursor), true);
      return;
    }
    if (!icon.HasHotSpot()) ++report_.withoutHotSpot;
    Write(collection.Items().Names(index), StillImages(icon), false);
  }

  XCursorThemeReport Finish(const std::string& name) {
    if (report_.cursors == 0) throw Exception("No images to write into the cursor theme");
    std::string index = "[Icon Theme]\nName=" + name + "\nComment=" + name + " cursors\n";
    WriteThemeFile((folder_ / "index.theme").string(), index);
    report_.folder = folder_.string();
    return report_;
  }

 private:
  void Write(const std::string& name, const std::vector<XCursorImage>& images, bool animated) {
    if (images.empty()) return;
    std::string stem = WithoutExtension(ExportFileName(name, "cur"));
    fs::path path = folder_ / "cursors" / names_.Make(stem.empty() ? "cursor" : stem, "");
    WriteThemeFile(path.string(), WriteXCursor(images));
    ++report_.cursors;
    if (animated) ++report_.animated;
  }

  fs::path folder_;
  UniqueNames names_;
  std::set<std::string> animatedSources_;
  XCursorThemeReport report_;
};

}  // namespace

XCursorThemeReport WriteXCursorTheme(const TCollection& collection, const std::string& parent,
                                     const XCursorThemeOptions& options) {
  CursorThemeWriter writer(ThemeFolder(parent, options.name, options.overwrite, "cursor theme"));
  for (int i = 0; i < collection.Count(); ++i)
    if (!options.includes || options.includes(i)) writer.WriteItem(collection, i);
  return writer.Finish(options.name);
}

}  // namespace varnel
