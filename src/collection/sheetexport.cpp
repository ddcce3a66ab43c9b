#include "collection/sheetexport.h"

#include "graphics/gifcodec.h"
#include "icons/gifexport.h"

#include <filesystem>

#include "base/errors.h"
#include "collection/exportfilewriter.h"
#include "collection/exportnames.h"
#include "collection/fmlib.h"
#include "collection/iconpictures.h"
#include "collection/sheetlayout.h"
#include "graphics/bmpcodec.h"
#include "graphics/canvas.h"
#include "graphics/exactpalette.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "icons/icondrawing.h"

namespace varnel {

namespace {

PixelFormat SheetFormat(int itemBpp) {
  if (itemBpp == 1 || itemBpp == 4) return PixelFormat::Bits4;
  return itemBpp == 32 ? PixelFormat::Bits32 : PixelFormat::Bits24;
}

// Sheets are drawn in true colour and reduced to the sheet's format when saved.
TBitmap BlankSheet(const TSheetLayout& layout, const TSheetJob& job) {
  bool transparent = SheetFormat(job.itemBpp) == PixelFormat::Bits32;
  TBitmap sheet(layout.width, layout.height,
                transparent ? PixelFormat::Bits32 : PixelFormat::Bits24);
  if (!transparent) sheet.Fill(job.settings.bkColor);
  return sheet;
}

// Images larger than this in either direction are drawn on sheets without alpha through their
// mask, stretched: AND with the mask, then XOR with the colours.
constexpr int kLargestIconDrawn = 128;

void DrawThroughMask(TBitmap& sheet, const TCellRect& place, const TSubIcon& image) {
  TBitmap colour, mask;
  image.GetBitmaps(nullptr, &colour, clNone, &mask);
  TRect whole{0, 0, place.Width(), place.Height()};
  TBitmap stretchedColour(whole.right, whole.bottom, PixelFormat::Bits24);
  TBitmap stretchedMask(whole.right, whole.bottom, PixelFormat::Bits1);
  StretchDraw(stretchedColour, whole, colour);
  StretchDraw(stretchedMask, whole, mask);
  DrawMaskedXor(sheet, place.left, place.top, stretchedColour, stretchedMask);
}

void DrawItem(TBitmap& sheet, const TSheetLayout& layout, int k, const TSheetJob& job,
              const TAdvancedIcon& icon) {
  const TSubIcon* image = icon.GetBestImage(layout.cellWidth, layout.cellHeight, job.itemBpp);
  if (!image || !image->IsDrawable()) return;
  TCellRect place = PlaceInCell(layout.Cell(k), image->ImageWidth(), image->ImageHeight(),
                                job.settings.StretchToFit);
  if (place.Width() <= 0 || place.Height() <= 0) return;
  bool large = image->ImageWidth() > kLargestIconDrawn || image->ImageHeight() > kLargestIconDrawn;
  if (large && sheet.Format() != PixelFormat::Bits32) return DrawThroughMask(sheet, place, *image);
  DrawStretched(sheet, place.left, place.top, clNone, *image, place.Height(), place.Width());
}

// A 16-colour sheet keeps the colours of its pictures when they are no more than 16; others take
// the standard palette.
void SetSheetFormat(TBitmap& sheet, PixelFormat format) {
  if (format == PixelFormat::Bits4)
    if (std::optional<TBitmap> exact = IndexedExactly(sheet, {});
        exact && exact->Palette().size() <= 16) {
      std::vector<RGBQuad> palette = exact->Palette();
      sheet = ConvertFormat(*exact, PixelFormat::Bits4, &palette);
      return;
    }
  sheet.SetFormat(format);
}

std::vector<uint8_t> SheetFile(TBitmap sheet, const TSheetJob& job) {
  if (job.extension == "jpg") return JpegFileOfPicture(sheet);
  SetSheetFormat(sheet, SheetFormat(job.itemBpp));
  if (job.extension == "png") return EncodePng(sheet);
  if (job.extension == "bmp") return SaveBmp(sheet);
  if (job.extension == "gif") return EncodeGif(GifOfIndexedBitmap(IndexedForGif(sheet, 256)));
  throw Exception("Sheets cannot be saved as ." + job.extension);
}

void SaveSheet(const TBitmap& sheet, const std::string& base, const TSheetJob& job) {
  std::string name = base + "." + job.extension;
  std::error_code error;
  if (std::filesystem::exists(name, error))
    std::filesystem::copy_file(name, base + ".bak",
                               std::filesystem::copy_options::overwrite_existing, error);
  WriteExportedFile(name, SheetFile(sheet, job));
}

}  // namespace

TSheetResult WriteSheets(const TSheetJob& job) {
  TSheetResult result;
  if (job.icons.empty()) return result;
  TSheetLayout layout = TSheetLayout::Of(job.settings, int(job.icons.size()));
  std::string base = WithoutExtension(job.fileName);
  if (layout.MultipleSheets()) base += "01";
  TBitmap sheet = BlankSheet(layout, job);
  for (size_t i = 0; i < job.icons.size(); ++i) {
    int k = int(i % size_t(layout.perSheet));
    if (k == 0 && i > 0) {
      SaveSheet(sheet, base, job);
      ++result.sheets;
      base = IncrementName(base);
      sheet = BlankSheet(layout, job);
    }
    DrawItem(sheet, layout, k, job, *job.icons[i]);
  }
  SaveSheet(sheet, base, job);
  ++result.sheets;
  result.lastFile = base + "." + job.extension;
  return result;
}

std::string SheetClosingMessage(const TSheetResult& result) {
  if (result.sheets < 2) return "";
  return std::to_string(result.sheets) + " images saved. Last image: " + result.lastFile;
}

}  // namespace varnel
