// The row of X cursor files ("Xcur"), the cursors of X cursor themes. A file gives one cursor:
// the first frame's image at every nominal size, each with its hot spot; an animated cursor's
// frames, each the largest size's image shown for its delay, are what "frames" writes.

#include "collection/kindreaders.h"
#include "icons/xcursorfile.h"
#include "icons/xcursoricons.h"

namespace varnel {

namespace {

std::optional<TFileKindInfo> DetectXCursor(KindProbe& probe) {
  if (probe.HeadIs("Xcur", 4)) return TFileKindInfo{TFileKind::fkXCursor};
  return std::nullopt;
}

std::string DescribeXCursor(const TFileKindInfo&, const std::string& path) {
  SharedFile file = MappedFile::TryOpen(path);
  return file && IsAnimatedXCursor(file->Bytes()) ? "animated X cursor" : "X cursor";
}

std::unique_ptr<TAdvancedIcon> ReadXCursorIcon(const MappedFile& file) {
  std::vector<XCursorFrame> frames = XCursorFrames(ReadXCursor(file.Bytes()));
  if (frames.empty()) return std::make_unique<TAdvancedCursor>();
  return std::move(frames.front().cursor);
}

std::vector<AnimationFrame> ReadXCursorFrames(std::span<const uint8_t> bytes) {
  std::vector<XCursorImage> images = ReadXCursor(bytes);
  int largest = 0;
  for (const XCursorImage& image : images) largest = std::max(largest, image.nominalSize);
  std::vector<AnimationFrame> frames;
  for (XCursorImage& image : images)
    if (image.nominalSize == largest)
      frames.push_back({std::move(image.picture), int(std::min<uint32_t>(image.delay, INT32_MAX))});
  return frames;
}

}  // namespace

const FileFormat& XCursorFormat() {
  static const FileFormat kRow{.kind = TFileKind::fkXCursor,
                               .kindName = "fkXCursor",
                               .group = TKindGroup::SingleIcon,
                               .describe = DescribeXCursor,
                               .detect = DetectXCursor,
                               .readIcon = ReadXCursorIcon,
                               .typeWord = "X Cursor",
                               .readFrames = ReadXCursorFrames,
                               .framesKind = "xcursor"};
  return kRow;
}

}  // namespace varnel
