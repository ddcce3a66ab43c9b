// The row of WebP pictures: RIFF files of the "WEBP" form, still (lossy or lossless) or
// animated, read as pictures with alpha, and saved as lossless pictures.

#include "base/errors.h"
#include "collection/exportfilewriter.h"
#include "collection/kindreaders.h"
#include "graphics/pngcodec.h"
#include "graphics/webpcodec.h"
#include "icons/subicon.h"

namespace varnel {

namespace {

// WebP pictures are held in the 50 MiB allowed to other pictures.
constexpr int64_t kWebpSizeLimit = int64_t(50) << 20;

bool IsAnimatedWebpFile(const std::string& path) {
  SharedFile file = MappedFile::TryOpen(path);
  return file && IsAnimatedWebp(file->Bytes());
}

std::string DescribeWebp(const TFileKindInfo&, const std::string& path) {
  return IsAnimatedWebpFile(path) ? "animated WebP image" : "WebP image";
}

// One image per frame of an animation; null for a still picture, which is read as one.
std::unique_ptr<TAdvancedIcon> ReadWebpFrames(const MappedFile& file) {
  if (!IsAnimatedWebp(file.Bytes())) return nullptr;
  auto icon = std::make_unique<TAdvancedIcon>();
  for (const WebpFrame& frame : DecodeWebpFrames(file.Bytes()))
    icon->Images().AddFromBitmap(frame.picture, nullptr, 0);
  return icon;
}

TPicture ReadWebpPicture(const MappedFile& file) {
  return {DecodeWebp(file.Bytes()), std::nullopt};
}

std::vector<AnimationFrame> ReadWebpAnimation(std::span<const uint8_t> bytes) {
  std::vector<AnimationFrame> frames;
  for (WebpFrame& frame : DecodeWebpFrames(bytes))
    frames.push_back({std::move(frame.picture), frame.delayMs});
  return frames;
}

// The image with the alpha a PNG export of it has.
bool WriteWebp(const TSaveJob& job) {
  WriteExportedFile(job.fileName, EncodeWebpLossless(DecodePngRgba(job.image.SaveToPng())));
  return true;
}

}  // namespace

const FileFormat& WebpFormat() {
  static const FileFormat kRow{.kind = TFileKind::fkWebp,
                               .kindName = "fkWebp",
                               .group = TKindGroup::Picture,
                               .describe = DescribeWebp,
                               .riffForm = "WEBP",
                               .riffSizeLimit = kWebpSizeLimit,
                               .readIcon = ReadWebpFrames,
                               .readPicture = ReadWebpPicture,
                               .typeWord = "WebP",
                               .readFrames = ReadWebpAnimation,
                               .framesKind = "webp",
                               .importPatterns = "*.webp",
                               .save = TSaveFormat{"webp", "WebP Image", WriteWebp, false}};
  return kRow;
}

}  // namespace varnel
