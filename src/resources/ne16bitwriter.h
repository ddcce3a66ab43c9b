#pragma once
// The 16-bit ICL library: a minimal NE image holding only a resource table (icon groups, then
// icon images), the names table, and the resources, all aligned to 2^AlignShift bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "base/stream.h"
#include "resources/iconlist.h"

namespace varnel {

// Ids are 0x8000 + number: at most this many icons, and as many images over the whole library.
constexpr int kMax16BitLibraryItems = 32767;

class T16BitWriter {
 public:
  explicit T16BitWriter(const TIconList& icons) : icons_(icons) {}

  // Raises EICLReadError when the library has more icons or images than ids can number.
  void CheckRepresentable() const;
  // The whole file, with the smallest alignment shift at which every offset fits 16 bits.
  std::vector<uint8_t> BuildImage();
  // Writes through a temporary file that replaces fileName only when complete.
  void Write(const std::string& fileName);

  uint16_t AlignShift = 0;

 private:
  // Builds the file at the current shift; false when an offset or length does not fit.
  bool BuildAtShift(MemoryStream& out);
  void WriteHeader(MemoryStream& out);
  void WriteResourceTable(MemoryStream& out);
  void WriteNamesTable(MemoryStream& out);
  uint16_t EstimatedShift(int64_t position) const;
  void PadToAlignment(MemoryStream& out);
  bool FillNameInfo(MemoryStream& out, int64_t record, int64_t start, int64_t end);
  bool WriteGroupDirectories(MemoryStream& out);
  bool WriteImageData(MemoryStream& out);
  int ImageCount() const;

  const TIconList& icons_;
  std::vector<int64_t> groupRecords_;
  std::vector<int64_t> imageRecords_;
  int64_t namesOffsetField_ = 0;
};

}  // namespace varnel
