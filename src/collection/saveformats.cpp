#include "collection/saveformats.h"

#include <algorithm>
#include <optional>

#include "base/errors.h"
#include "collection/exportfilewriter.h"
#include "collection/exportnames.h"
#include "collection/iconpictures.h"
#include "collection/kindreaders.h"
#include "graphics/gifcodec.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "icons/gifexport.h"
#include "icons/icnswriter.h"
#include "icons/iconproject.h"
#include "icons/rasterpictures.h"
#include "platform/userinterface.h"

namespace varnel {

namespace {

// Pixels whose alpha is below this are transparent in pictures of one transparent colour.
constexpr int kExportAlphaThreshold = 80;

bool WriteIcon(const TSaveJob& job) {
  WriteExportedIcon(job.icon, job.fileName);
  return true;
}

bool WriteBitmap(const TSaveJob& job) {
  WriteExportedFile(job.fileName, BitmapFileOfImage(job.image, job.background));
  return true;
}

bool WriteJpeg(const TSaveJob& job) {
  WriteExportedFile(job.fileName, JpegFileOfPicture(ImageOnBackground(job.image, job.background)));
  return true;
}

// A PNG-compressed image is a PNG file already and is written as it is, unless its data is
// damaged: then it is written anew from what the image draws.
bool WritePng(const TSaveJob& job) {
  if (job.image.IsPng() && PngDecodes(job.image.Data()))
    WriteExportedFile(job.fileName, job.image.Data());
  else
    WriteExportedFile(job.fileName, job.image.SaveToPng());
  return true;
}

// The hot spot dialog, starting from the hot spot of the icon's first image.
std::optional<uint32_t> AskHotSpotOf(const TSaveJob& job) {
  const TSubIcon* first = job.icon.Images().Count() ? job.icon.Images()[0] : nullptr;
  return job.ui.AskHotSpot(first ? first->HotSpot() : 0);
}

bool WriteCursor(const TSaveJob& job) {
  std::optional<uint32_t> hotSpot = AskHotSpotOf(job);
  if (!hotSpot) return false;
  job.icon.SaveAsCursorFile(job.fileName, *hotSpot);
  return true;
}

bool WriteGif(const TSaveJob& job) {
  WriteExportedFile(job.fileName, EncodeGif(ImageToGif(job.image, kExportAlphaThreshold)));
  return true;
}

bool WriteXpm(const TSaveJob& job) {
  WriteXpmFile(job.image, kExportAlphaThreshold, job.fileName);
  return true;
}

bool WriteXbm(const TSaveJob& job) {
  std::optional<uint32_t> hotSpot = AskHotSpotOf(job);
  if (!hotSpot) return false;
  WriteXbmFile(job.image, int32_t(*hotSpot), job.fileName);
  return true;
}

bool WriteIconProject(const TSaveJob& job) {
  SaveIconAsIconProject(job.icon, job.fileName);
  return true;
}

bool WriteMacIcon(const TSaveJob& job) {
  SaveIconAsIcns(job.icon, job.fileName);
  return true;
}

constexpr TSaveFormat kFormats[] = {
    {"ico", "Icon", WriteIcon, true},
    {"bmp", "Windows Bitmap", WriteBitmap, false},
    {"jpg", "JPEG Image", WriteJpeg, false},
    {"cur", "Cursor", WriteCursor, true},
    {"gif", "GIF Image", WriteGif, false},
    {"png", "PNG Image", WritePng, false},
    {"xpm", "X Pixmap", WriteXpm, true},
    {"xbm", "X Bitmap", WriteXbm, true},
    {"icpr", "Icon Project", WriteIconProject, true},
    {"icns", "Mac Icon", WriteMacIcon, true},
};

}  // namespace

// The formats above, then those of the table of formats' rows.
std::span<const TSaveFormat> SaveFormats() {
  static const std::vector<TSaveFormat> kAll = [] {
    std::vector<TSaveFormat> formats(std::begin(kFormats), std::end(kFormats));
    for (const FileFormat* format : FileFormats())
      if (format->save) formats.push_back(*format->save);
    return formats;
  }();
  return kAll;
}

const TSaveFormat* FindSaveFormat(std::string_view extension) {
  std::string lower = LowerExtension("." + std::string(extension));
  std::span<const TSaveFormat> formats = SaveFormats();
  auto found = std::find_if(formats.begin(), formats.end(),
                            [&](const TSaveFormat& format) { return lower == format.extension; });
  return found == formats.end() ? nullptr : &*found;
}

std::string SaveFormatFilter() {
  std::string filter;
  for (const TSaveFormat& format : SaveFormats()) {
    std::string pattern = std::string("*.") + format.extension;
    if (!filter.empty()) filter += '|';
    filter += std::string(format.description) + " (" + pattern + ")|" + pattern;
  }
  return filter;
}

bool WriteSaveFormat(std::string_view extension, const TSaveJob& job) {
  const TSaveFormat* format = FindSaveFormat(extension);
  if (!format) return false;
  return format->writer(job);
}

}  // namespace varnel
