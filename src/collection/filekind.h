#pragma once
// Recognising a file's kind from its first bytes, and the one table of formats: every kind has
// one row (kindreaders.h describes a row), and detection tries the rows' content tests in the
// table's order.

#include <cstdint>
#include <span>
#include <string>

#include "base/mappedfile.h"

namespace varnel {

enum class TFileKind {
  fkUnrecognised,
  fkEmpty,
  fkUnreadable,
  fkTooLarge,
  fkIcon,
  fkModule,
  fkAniCursor,
  fkRiffPalette,
  fkJpeg,
  fkCmykJpeg,
  fkBitmap,
  fkGif,
  fkPng,
  fkPsd,
  fkCollection,
  fkTarga,
  fkIconProject,
  fkPcx,
  fkTiff,
  fkMacIcon,
  fkZip,
  fkRar,
  fkResource32,
  fkResource16,
  fkVectorDrawing,  // SVG, gzip-compressed SVG, PDF (sub-kind 1, 2, 3)
  fkDataUri,        // text holding a picture as a base64 data URI
  fkWebp,
  fkXCursor,
};

inline constexpr int kFileKindCount = int(TFileKind::fkXCursor) + 1;

struct TFileKindInfo {
  TFileKind kind = TFileKind::fkUnrecognised;
  int subKind = 0;
};

// The name of a kind as the code spells it ("fkIcon").
const char* FileKindName(TFileKind kind);

struct FileFormat;

// The rows of the table, each defined beside its readers.
const FileFormat& Resource32Format();
const FileFormat& IconFormat();
const FileFormat& XCursorFormat();
const FileFormat& ModuleFormat();
const FileFormat& AniCursorFormat();
const FileFormat& JpegFormat();
const FileFormat& GifFormat();
const FileFormat& BitmapFormat();
const FileFormat& PngFormat();
const FileFormat& PsdFormat();
const FileFormat& CollectionFormat();
const FileFormat& IconProjectFormat();
const FileFormat& MacIconFormat();
const FileFormat& PcxFormat();
const FileFormat& ZipFormat();
const FileFormat& TiffFormat();
const FileFormat& Resource16Format();
const FileFormat& TargaFormat();
const FileFormat& VectorDrawingFormat();
const FileFormat& DataUriFormat();
const FileFormat& RiffPaletteFormat();
const FileFormat& WbmpFormat();  // told by its extension only
const FileFormat& WebpFormat();
const FileFormat& CmykJpegFormat();
const FileFormat& RarFormat();
const FileFormat& UnrecognisedFormat();
const FileFormat& EmptyFormat();
const FileFormat& UnreadableFormat();
const FileFormat& TooLargeFormat();

// Where each format's code is (format: reader; writer; fuzz target). A row lives in
// collection/NAMEformat.cpp when its format has files of its own, else in kindreaders.cpp.
//   ICO, CUR: icons/advancedicon, subicon; the same; fuzz_ico
//   PE and NE modules: resources/pefile, ne16bitreader; moduleupdate, iclwriter32,
//     ne16bitwriter; fuzz_pe, fuzz_ne, fuzz_census
//   ANI: icons/animatedcursor; -; fuzz_ani, fuzz_riff
//   BMP: graphics/bmpcodec, icons/bitmapfix32; the same; fuzz_bmp, fuzz_bitmapfix32
//   JPEG: graphics/jpegcodec; jpegencoder; fuzz_jpeg
//   GIF: graphics/gifcodec, icons/gifimport; icons/gifexport; fuzz_gif
//   PNG: graphics/pngcodec; the same; fuzz_png
//   PSD: icons/psdimage, psdfiles; -; fuzz_psd
//   collection files: collection/collectionfile, collectionitemreader; fmlibsave;
//     fuzz_collection, fuzz_collectionitems
//   ICPR: icons/iconproject; the same; fuzz_icpr
//   ICNS, Mac resource forks: icons/icnsreader, macicon, macresourcefork; icnswriter;
//     fuzz_icns, fuzz_macfork
//   PCX: icons/pcximage, collection/pcxformat; -; fuzz_pcx
//   WBMP: icons/wbmpimage, collection/wbmpformat; -; fuzz_wbmp
//   WebP: graphics/webpcodec, collection/webpformat; the same; fuzz_webp
//   X cursors: icons/xcursorfile, xcursoricons, collection/xcursorformat; xcursorfile;
//     fuzz_xcursor
//   XPM, XBM: icons/xpmimage, xbmimage; the same; fuzz_xpm, fuzz_xbm
//   ZIP, RAR: collection/archivereader, archivewalk; zipmemofile; fuzz_archive
//   RES: resources/resfile; -; fuzz_res, fuzz_dcr
//   SVG, SVGZ, PDF: icons/vectorfile, graphics/vectordrawing; -; fuzz_svg
//   data URIs: icons/datauri; -; fuzz_datauri
//   TIFF, TGA, CMYK JPEG, RIFF palettes: recognised only
//   kind detection: collection/filekind, kindprobe.h; fuzz_filekind
// Every row, in the order detection tries their content tests (the order is behaviour: a file
// is the kind of the first test that takes it).
inline std::span<const FileFormat* const> FileFormats() {
  static const FileFormat* const kRows[] = {
      &Resource32Format(),  &IconFormat(),         &XCursorFormat(),       &ModuleFormat(),
      &AniCursorFormat(),   &JpegFormat(),         &GifFormat(),           &BitmapFormat(),
      &PngFormat(),         &PsdFormat(),          &CollectionFormat(),    &IconProjectFormat(),
      &MacIconFormat(),     &PcxFormat(),          &ZipFormat(),           &TiffFormat(),
      &Resource16Format(),  &TargaFormat(),        &VectorDrawingFormat(), &DataUriFormat(),
      &RiffPaletteFormat(), &WbmpFormat(),         &WebpFormat(),          &CmykJpegFormat(),
      &RarFormat(),         &UnrecognisedFormat(), &EmptyFormat(),         &UnreadableFormat(),
      &TooLargeFormat()};
  return kRows;
}

// Reads bytes at an offset of some file; returns how many were read.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
};

// Detects the kind of the file at path, reading only the bytes the tests need. A file that
// exists but cannot be read is fkUnreadable; a missing one, or a folder, is unrecognised.
TFileKindInfo DetectFileKind(const std::string& path);
// The same over a file mapped before.
TFileKindInfo DetectFileKind(const MappedFile& file);
// The same over any source of size bytes.
TFileKindInfo DetectFileKind(ByteSource& source, int64_t size);
// The same over bytes in memory.
TFileKindInfo DetectFileKindOfBytes(std::span<const uint8_t> bytes);

}  // namespace varnel
