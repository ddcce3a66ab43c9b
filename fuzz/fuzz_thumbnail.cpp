// seeds: ico cur ani icns built/pe
// The icon a thumbnail is drawn from, read from the file's bytes by kind, and its best image for
// a thumbnail size drawn. An icon family is also read whole: when that succeeds, the reading
// that leaves PNG elements undecoded must give the same images in the same order.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/errors.h"
#include "collection/filekind.h"
#include "collection/thumbnailicon.h"
#include "icons/macicon.h"

using namespace varnel;

namespace {

constexpr int kThumbnailSizes[] = {16, 128, 256};

void DrawBest(const TAdvancedIcon& icon, int size) {
  if (!icon.Images().Count()) return;
  if (const TSubIcon* image = icon.GetBestImage(size, size, kThumbnailDepth)) image->Handle();
}

void ReadThumbnailIcon(const uint8_t* data, size_t size) {
  auto file =
      std::make_shared<const MappedFile>("fuzz.input", std::vector<uint8_t>(data, data + size));
  try {
    int thumbnailSize = kThumbnailSizes[data[0] % std::size(kThumbnailSizes)];
    std::unique_ptr<TAdvancedIcon> icon =
        ThumbnailIcon(file, DetectFileKind(*file).kind, thumbnailSize);
    if (icon) DrawBest(*icon, thumbnailSize);
  } catch (const Exception&) {
  }
}

void CompareFamilyReadings(std::span<const uint8_t> bytes) {
  TAdvancedIcon whole, undecoded;
  try {
    ImportMacIconBytes(bytes, whole);
  } catch (const Exception&) {
    return;  // the undecoded reading may succeed where a PNG element does not decode
  }
  ImportMacIconBytesUndecodedPng(bytes, undecoded);
  if (whole.Images().Count() != undecoded.Images().Count()) std::abort();
  for (int i = 0; i < whole.Images().Count(); ++i)
    if (whole.Images()[i]->GetDescription() != undecoded.Images()[i]->GetDescription() ||
        !whole.Images()[i]->SameData(*undecoded.Images()[i]))
      std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > (1 << 20)) return 0;
  ReadThumbnailIcon(data, size);
  CompareFamilyReadings({data, size});
  return 0;
}
