#include "collection/filepreview.h"

#include <algorithm>
#include <cmath>

#include "base/fileio.h"
#include "base/filereadstream.h"
#include "collection/exportnames.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/iconpictures.h"
#include "collection/kindreaders.h"
#include "graphics/pictureformats.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"
#include "icons/icondrawing.h"

namespace varnel {

namespace {

constexpr int64_t kMinPreviewFileSize = 5;
constexpr int kCellSize = 32;
constexpr int kMacIconSize = 128;
constexpr int kAreaMargin = 2;

std::string IconDescription(const std::string& typeWord, const TAdvancedIcon& icon) {
  const TSubIconList& images = icon.Images();
  if (images.Count() == 1) return typeWord + " " + images[0]->GetShortDescription();
  return typeWord + ", formats: " + std::to_string(images.Count());
}

// "ICO" or "CUR" by the type word of the file's header.
std::string IconTypeWord(const std::string& path) {
  FileReadStream stream(path);
  uint8_t head[4] = {};
  return stream.Read(head, 4) == 4 && head[2] == 2 ? "CUR" : "ICO";
}

void PreviewIcon(TFilePreview& preview, std::unique_ptr<TAdvancedIcon> icon,
                 const std::string& typeWord, int size, int depth, TColor panel) {
  if (!icon || icon->Images().Count() == 0) return;
  DrawPreview(preview.picture, *icon, size, panel, depth, size);
  if (preview.picture.Empty()) return;
  preview.kind = TPreviewKind::Picture;
  preview.label = IconDescription(typeWord, *icon);
  preview.icon = std::move(icon);
}

void PreviewLibrary(TFilePreview& preview, const std::string& path, TFileKind kind) {
  if (kind == TFileKind::fkCollection) {
    preview.grid = CollectionPreviewIcons(path);
  } else {
    FileContents contents = ReadFileContents(path, {});
    std::vector<std::unique_ptr<TAdvancedIcon>> icons;
    std::vector<std::string> names;
    for (FoundIcon& found : contents.icons) {
      names.push_back(std::move(found.name));
      icons.push_back(std::move(found.icon));
    }
    preview.grid = LoadedPreviewIcons(std::move(icons), std::move(names));
  }
  if (preview.grid->Count() == 0) {
    preview.grid.reset();
    return;
  }
  preview.kind = TPreviewKind::Grid;
  preview.label = "Icons: " + std::to_string(preview.grid->Count());
}

// The picture composed on the panel colour where it is transparent.
TBitmap OnPanel(const TPicture& picture, TColor panel) {
  TBitmap shown(picture.color.Width(), picture.color.Height(), PixelFormat::Bits24);
  shown.Fill(panel);
  bool alpha = picture.color.Format() == PixelFormat::Bits32;
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) {
      bool masked = picture.mask && picture.mask->GetPixel(x, y) != clBlack;
      if (masked) continue;
      TColor color = picture.color.GetPixel(x, y);
      int a = alpha ? picture.color.ScanLine(y)[x * 4 + 3] : 255;
      auto mix = [a](int fg, int bg) { return uint8_t(bg + (fg - bg) * a / 255); };
      shown.SetPixel(
          x, y,
          RGB(mix(GetRValue(color), GetRValue(panel)), mix(GetGValue(color), GetGValue(panel)),
              mix(GetBValue(color), GetBValue(panel))));
    }
  return shown;
}

// The label of a picture: its type word, size, and the depth for bitmaps (XPM pictures are
// described as the 24-bit pictures they were drawn as).
std::string PictureLabel(const std::string& typeWord, const TBitmap& picture) {
  if (typeWord == "XPM") return PictureDescription(typeWord, picture, false) + "x24bit";
  return PictureDescription(typeWord, picture, typeWord == "BMP");
}

void ShowPicture(TFilePreview& preview, const TPicture& picture, const std::string& typeWord,
                 TColor panel) {
  if (picture.color.Empty()) return;
  preview.kind = TPreviewKind::Picture;
  preview.label = PictureLabel(typeWord, picture.color);
  preview.picture = OnPanel(picture, panel);
}

// An animated cursor by its first frame.
void PreviewFirstFrame(TFilePreview& preview, const FileFormat& reader, const std::string& path,
                       TColor panel) {
  std::unique_ptr<TAdvancedIcon> frames = ReadIconOf(reader, path);
  if (!frames || frames->Images().Count() == 0) return;
  TBitmap first = ImageOnBackground(*frames->Images()[0], panel);
  if (first.Empty()) return;
  preview.kind = TPreviewKind::Picture;
  preview.label = PictureLabel(reader.typeWord, first);
  preview.picture = std::move(first);
  preview.animated = true;
}

// A picture whose kind the content does not tell (XPM, XBM, WAP bitmaps) by the picture format
// its extension is registered for.
void PreviewByExtension(TFilePreview& preview, const std::string& path, TColor panel) {
  const TPictureFormat* format = FindPictureFormat(LowerExtension(path));
  if (!format || !format->load) return;
  FileReadStream stream(path);
  TPicture picture{format->load(stream), std::nullopt};
  // Animated cursors the content did not tell are still shown unresampled.
  preview.animated = format->typeWord == "ANI";
  ShowPicture(preview, picture, format->typeWord.empty() ? "Picture" : format->typeWord, panel);
}

void FillPreview(TFilePreview& preview, const std::string& path, const TPreviewOptions& options) {
  TFileKindInfo info = DetectFileKind(path);
  const FileFormat& reader = FormatOf(info.kind);
  switch (info.kind) {
    case TFileKind::fkIcon:
      return PreviewIcon(preview, ReadIconOf(reader, path), IconTypeWord(path),
                         options.largeIconSize, options.screenDepth, options.panelColor);
    case TFileKind::fkIconProject:
    case TFileKind::fkMacIcon: {
      bool mac = info.kind == TFileKind::fkMacIcon;
      if (!reader.readIcon) return;
      return PreviewIcon(preview, ReadIconOf(reader, path), reader.typeWord,
                         mac ? kMacIconSize : options.largeIconSize, mac ? 32 : options.screenDepth,
                         options.panelColor);
    }
    case TFileKind::fkModule:
    case TFileKind::fkCollection:
    case TFileKind::fkResource32:
    case TFileKind::fkResource16:
      return PreviewLibrary(preview, path, info.kind);
    case TFileKind::fkAniCursor:
      return PreviewFirstFrame(preview, reader, path, options.panelColor);
    default:
      if (reader.readPicture) {
        preview.animated = reader.kind == TFileKind::fkGif;
        return ShowPicture(preview, ReadPictureOf(reader, path), reader.typeWord,
                           options.panelColor);
      }
      if (reader.group == TKindGroup::Other) PreviewByExtension(preview, path, options.panelColor);
  }
}

}  // namespace

TFilePreview BuildFilePreview(const std::string& path, const TPreviewOptions& options) {
  TFilePreview preview;
  try {
    if (FileSizeOf(path) < kMinPreviewFileSize) return preview;
    FillPreview(preview, path, options);
  } catch (const std::exception&) {
    preview = TFilePreview();
  }
  return preview;
}

std::string PictureDescription(const std::string& typeWord, const TBitmap& picture,
                               bool withDepth) {
  std::string text =
      typeWord + " " + std::to_string(picture.Width()) + "x" + std::to_string(picture.Height());
  if (withDepth) text += "x" + std::to_string(picture.BitsPerPixel()) + "bit";
  return text;
}

TBitmap FitPreviewPicture(const TBitmap& picture, int areaWidth, int areaHeight, bool plain) {
  TBitmap source = picture;
  if (source.Format() == PixelFormat::Bits4) source.SetFormat(PixelFormat::Bits24);
  int roomX = std::max(areaWidth - 2 * kAreaMargin, 1);
  int roomY = std::max(areaHeight - 2 * kAreaMargin, 1);
  if (source.Width() <= roomX && source.Height() <= roomY) return source;
  double scale = std::min(double(roomX) / source.Width(), double(roomY) / source.Height());
  int width = std::max(1, int(std::lround(source.Width() * scale)));
  int height = std::max(1, int(std::lround(source.Height() * scale)));
  source.SetFormat(PixelFormat::Bits24);
  TBitmap fitted(width, height, PixelFormat::Bits24);
  Resample(source, fitted, plain ? 0 : rfMitchell);
  return fitted;
}

TBitmap PreviewCellPicture(const TAdvancedIcon& icon, TColor background) {
  TBitmap picture;
  DrawPreview(picture, icon, kCellSize, background, 32, kCellSize);
  return FitPreviewPicture(picture, kCellSize + 2 * kAreaMargin, kCellSize + 2 * kAreaMargin,
                           false);
}

TBitmap IconImagesStrip(const TAdvancedIcon& icon, TColor background) {
  constexpr int kGap = 2;
  int widest = 0, tallest = 0, totalWidth = 0, totalHeight = 0;
  for (const auto& image : icon.Images()) {
    widest = std::max(widest, image->ImageWidth());
    tallest = std::max(tallest, image->ImageHeight());
    totalWidth += image->ImageWidth() + kGap;
    totalHeight += image->ImageHeight() + kGap;
  }
  if (widest == 0 || tallest == 0) return {};
  bool sideBySide = widest < 2 * tallest;
  TBitmap strip(sideBySide ? totalWidth - kGap : widest, sideBySide ? tallest : totalHeight - kGap,
                PixelFormat::Bits24);
  strip.Fill(background);
  int at = 0;
  for (const auto& image : icon.Images()) {
    int x = sideBySide ? at : (widest - image->ImageWidth()) / 2;
    int y = sideBySide ? (tallest - image->ImageHeight()) / 2 : at;
    if (image->IsDrawable()) DrawMasked(strip, x, y, background, *image);
    at += (sideBySide ? image->ImageWidth() : image->ImageHeight()) + kGap;
  }
  return strip;
}

}  // namespace varnel
