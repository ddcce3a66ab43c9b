#include "collection/saveformats.h"

#include <algorithm>
#include <optional>

#include "base/errors.h"
#include "collection/exportfilewriter.h"
#include "collection/exportnames.h"
#include "collection/iconpictures.h"
#include "icons/advancedicon.h"
#include "platform/userinterface.h"

namespace varnel {

namespace {

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

// A PNG-compressed image is a PNG file already and is written as it is.
bool WritePng(const TSaveJob& job) {
  if (job.image.IsPng())
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

constexpr TSaveFormat kFormats[] = {
    {"ico", "Icon", WriteIcon, true},        {"bmp", "Windows Bitmap", WriteBitmap, false},
    {"jpg", "JPEG Image", WriteJpeg, false}, {"cur", "Cursor", WriteCursor, true},
    {"gif", "GIF Image", nullptr, false},    {"png", "PNG Image", WritePng, false},
    {"xpm", "X Pixmap", nullptr, true},      {"xbm", "X Bitmap", nullptr, true},
    {"icpr", "Icon Project", nullptr, true}, {"icns", "Mac Icon", nullptr, true},
};

}  // namespace

std::span<const TSaveFormat> SaveFormats() {
  return kFormats;
}

const TSaveFormat* FindSaveFormat(std::string_view extension) {
  std::string lower = LowerExtension("." + std::string(extension));
  auto found = std::find_if(std::begin(kFormats), std::end(kFormats),
                            [&](const TSaveFormat& format) { return lower == format.extension; });
  return found == std::end(kFormats) ? nullptr : found;
}

std::string SaveFormatFilter() {
  std::string filter;
  for (const TSaveFormat& format : kFormats) {
    std::string pattern = std::string("*.") + format.extension;
    if (!filter.empty()) filter += '|';
    filter += std::string(format.description) + " (" + pattern + ")|" + pattern;
  }
  return filter;
}

bool WriteSaveFormat(std::string_view extension, const TSaveJob& job) {
  const TSaveFormat* format = FindSaveFormat(extension);
  if (!format) return false;
  if (!format->writer)
    throw Exception("The writer for ." + std::string(format->extension) + " is not available yet");
  return format->writer(job);
}

}  // namespace varnel
