// TAdvancedIcon: exchange of icons and images through the clipboard.

#include "base/errors.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "icons/pngpicture.h"
#include "platform/clipboard.h"

namespace varnel {

namespace {

constexpr size_t kSmallestClipboardPng = 17;
constexpr int kPasteAlphaThreshold = 80;

struct Picture {
  TBitmap color;
  std::optional<TBitmap> mask;
};

// The format that held a PNG the last time one was pasted: it is tried first next time.
std::string& LastPngFormat() {
  static std::string format;
  return format;
}

std::optional<Picture> DecodeClipboardPng(const std::vector<uint8_t>& data) {
  if (data.size() < kSmallestClipboardPng || !HasPngSignature(data)) return std::nullopt;
  TColorAndMask picture = LoadPngPicture(data, kPasteAlphaThreshold);
  return Picture{std::move(picture.color), std::move(picture.mask)};
}

std::optional<Picture> PngFromClipboard(const Clipboard& clipboard) {
  std::vector<std::string> formats = clipboard.Formats();
  std::string& last = LastPngFormat();
  if (!last.empty()) formats.insert(formats.begin(), last);
  for (const std::string& format : formats) {
    try {
      auto data = clipboard.GetFormat(format);
      if (!data) continue;
      if (auto picture = DecodeClipboardPng(*data)) {
        last = format;
        return picture;
      }
    } catch (const Exception&) {
      // Not a usable PNG: the next format is tried.
    }
  }
  return std::nullopt;
}

}  // namespace

void TAdvancedIcon::CopyImageToClipboard(const TSubIcon& image, TColor backColor,
                                         Clipboard& clipboard) {
  TBitmap composite, color, mask;
  image.GetBitmaps(&composite, &color, backColor, &mask);
  TAdvancedIcon icon;
  icon.Images().AddFromBitmap(color, &mask, 0);
  MemoryStream stream;
  icon.SaveToStream(stream);
  clipboard.SetBitmap(composite);
  clipboard.SetFormat(kIconClipboardFormat, stream.TakeBytes());
}

void TAdvancedIcon::LoadFromClipboardFormat(std::span<const uint8_t> block) {
  MemoryStream stream(block);
  LoadFromStreamAbsolute(stream);
}

void TAdvancedIcon::PasteFromClipboard(const Clipboard& clipboard) {
  if (clipboard.HasFormat(kIconClipboardFormat)) {
    if (auto block = clipboard.GetFormat(kIconClipboardFormat)) LoadFromClipboardFormat(*block);
    return;
  }
  std::optional<Picture> picture = PngFromClipboard(clipboard);
  if (!picture) {
    if (auto bitmap = clipboard.GetBitmap()) picture = Picture{std::move(*bitmap), std::nullopt};
  }
  if (!picture || picture->color.Width() == 0) return;
  try {
    TAdvancedIcon pasted;
    pasted.Images().AddFromBitmap(picture->color, picture->mask ? &*picture->mask : nullptr, 0);
    images_.Clear();
    images_.TakeAll(pasted);
  } catch (const Exception&) {
    // The picture could not become an image: the icon stays as it was.
  }
}

}  // namespace varnel
