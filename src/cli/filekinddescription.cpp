#include "cli/filekinddescription.h"

#include <fstream>

#include "icons/gifframes.h"

namespace varnel::cli {

namespace {

std::string Versioned(const std::string& text, int version) {
  return text + " (version " + std::to_string(version) + ")";
}

std::string IconDescription(int subKind) {
  switch (subKind) {
    case 1:
      return "icon file";
    case 2:
      return "cursor file";
    case 4:
      return "bare icon image";
    default:
      return "icon file (type " + std::to_string(subKind) + ")";
  }
}

std::string ModuleDescription(int subKind) {
  return subKind == 1 ? "module (16-bit NE)" : "module (32-bit PE)";
}

std::string JpegDescription(int components) {
  if (components <= 0) return "JPEG image";
  return "JPEG image (" + std::to_string(components) +
         (components == 1 ? " component)" : " components)");
}

// "Rar!" archives of the newer format are detected as the ZIP kind.
std::string ArchiveDescription(const std::string& path) {
  char head[4] = {};
  std::ifstream(path, std::ios::binary).read(head, sizeof head);
  return std::string(head, sizeof head) == "Rar!" ? "RAR archive" : "ZIP archive";
}

std::string DrawingDescription(int subKind) {
  switch (subKind) {
    case 1:
      return "SVG drawing";
    case 2:
      return "compressed SVG drawing";
    default:
      return "PDF document";
  }
}

}  // namespace

std::string DescribeFileKind(const TFileKindInfo& info, const std::string& path) {
  switch (info.kind) {
    case TFileKind::fkUnrecognised:
      return "not recognised";
    case TFileKind::fkEmpty:
      return "empty file";
    case TFileKind::fkUnreadable:
      return "cannot be read";
    case TFileKind::fkTooLarge:
      return "refused (too large, or Mac data without icon types)";
    case TFileKind::fkIcon:
      return IconDescription(info.subKind);
    case TFileKind::fkModule:
      return ModuleDescription(info.subKind);
    case TFileKind::fkAniCursor:
      return "animated cursor";
    case TFileKind::fkRiffPalette:
      return "RIFF palette";
    case TFileKind::fkJpeg:
      return JpegDescription(info.subKind);
    case TFileKind::fkCmykJpeg:
      return "CMYK JPEG image";
    case TFileKind::fkBitmap:
      return "BMP image";
    case TFileKind::fkGif:
      return IsAnimatedGif(path) ? "animated GIF image" : "GIF image";
    case TFileKind::fkPng:
      return "PNG image";
    case TFileKind::fkPsd:
      return Versioned("layered PSD image", info.subKind);
    case TFileKind::fkCollection:
      return "icon collection";
    case TFileKind::fkTarga:
      return "TGA image";
    case TFileKind::fkIconProject:
      return Versioned("layered icon project", info.subKind);
    case TFileKind::fkPcx:
      return "PCX image";
    case TFileKind::fkTiff:
      return "TIFF image";
    case TFileKind::fkMacIcon:
      return "Mac icon file";
    case TFileKind::fkZip:
      return ArchiveDescription(path);
    case TFileKind::fkRar:
      return "RAR archive";
    case TFileKind::fkResource32:
      return "32-bit resource file";
    case TFileKind::fkResource16:
      return "16-bit resource file";
    case TFileKind::fkVectorDrawing:
      return DrawingDescription(info.subKind);
    case TFileKind::fkDataUri:
      return "data URI text";
  }
  return "not recognised";
}

}  // namespace varnel::cli
