#pragma once
// Recognising a file's kind from its first bytes.

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
};

struct TFileKindInfo {
  TFileKind kind = TFileKind::fkUnrecognised;
  int subKind = 0;
};

// The name of a kind as the code spells it ("fkIcon").
const char* FileKindName(TFileKind kind);

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
