#pragma once
// The reading side of kind detection: a format's test looks at a file through a probe that reads
// only the bytes asked for. A test ends detection by giving a result (which may be "not
// recognised") or passes the file on to the next format's test by giving nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "collection/filekind.h"

namespace varnel {

class KindProbe {
 public:
  // source holds size bytes, of which at least the first four could be read into head.
  KindProbe(ByteSource& source, int64_t size);

  int64_t Size() const { return size_; }
  // The first eight bytes (zeros past the end of a shorter file) and how many were read.
  const std::array<uint8_t, 8>& Head() const { return head_; }
  size_t HeadLength() const { return headLength_; }
  bool HeadIs(const char* text, size_t length) const;

  // count bytes at offset, or nothing when the file ends before them.
  std::optional<std::vector<uint8_t>> Read(uint64_t offset, size_t count);
  std::optional<uint32_t> U32At(uint64_t offset);
  // Up to count bytes at offset: as many as the file holds.
  std::vector<uint8_t> ReadUpTo(uint64_t offset, size_t count);

 private:
  ByteSource& source_;
  int64_t size_;
  std::array<uint8_t, 8> head_{};
  size_t headLength_ = 0;
};

// A format's content test.
using KindTest = std::optional<TFileKindInfo> (*)(KindProbe& probe);

// The tests of the kinds this folder reads without a file of their own, each named after what
// it recognises; the table of formats (filekind.h) gives their order.
std::optional<TFileKindInfo> DetectResourceOrIcon(KindProbe& probe);
std::optional<TFileKindInfo> DetectBareIcon(KindProbe& probe);
std::optional<TFileKindInfo> DetectModule(KindProbe& probe);
std::optional<TFileKindInfo> DetectRiffForm(KindProbe& probe);
std::optional<TFileKindInfo> DetectJpeg(KindProbe& probe);
std::optional<TFileKindInfo> DetectGif(KindProbe& probe);
std::optional<TFileKindInfo> DetectBitmap(KindProbe& probe);
std::optional<TFileKindInfo> DetectPng(KindProbe& probe);
std::optional<TFileKindInfo> DetectPsd(KindProbe& probe);
std::optional<TFileKindInfo> DetectCollection(KindProbe& probe);
std::optional<TFileKindInfo> DetectIconProject(KindProbe& probe);
std::optional<TFileKindInfo> DetectMacIcon(KindProbe& probe);
std::optional<TFileKindInfo> DetectArchive(KindProbe& probe);
std::optional<TFileKindInfo> DetectTiff(KindProbe& probe);
std::optional<TFileKindInfo> DetectResource16(KindProbe& probe);
std::optional<TFileKindInfo> DetectTarga(KindProbe& probe);
std::optional<TFileKindInfo> DetectDrawing(KindProbe& probe);

}  // namespace varnel
