#include "resources/ne16bitwriter.h"

#include "base/byteorder.h"
#include "base/fileio.h"
#include "resources/iclnamestable.h"
#include "resources/iclreaderror.h"

namespace varnel {

namespace {

constexpr size_t kHeaderSize = 192;
constexpr int64_t kNEOffset = 128;
constexpr size_t kNamesOffsetField = 166;
constexpr uint16_t kGroupIconType = 0x800E;
constexpr uint16_t kIconType = 0x8003;
constexpr uint16_t kResourceFlags = 0x1C30;
constexpr uint16_t kIntegerIdBit = 0x8000;
constexpr uint16_t kMaxShift = 24;

void WriteTypeInfo(MemoryStream& out, uint16_t type, int count) {
  out.WriteU16(type);
  out.WriteU16(uint16_t(count));
  out.WriteU32(0);
}

// A NAMEINFO with place-holders for offset and length; returns its position.
int64_t WriteNameInfo(MemoryStream& out, int number) {
  int64_t position = out.Position();
  out.WriteU16(0x00FF);
  out.WriteU16(0xFF00);
  out.WriteU16(kResourceFlags);
  out.WriteU16(uint16_t(kIntegerIdBit + number));
  out.WriteU32(0);
  return position;
}

}  // namespace

int T16BitWriter::ImageCount() const {
  int total = 0;
  for (int i = 0; i < icons_.Count(); ++i) total += icons_.Icons(i)->Images().Count();
  return total;
}

void T16BitWriter::CheckRepresentable() const {
  if (icons_.Count() > kMax16BitLibraryItems)
    throw EICLReadError("Iconlibraries with more than 32767 are not possible");
  if (ImageCount() > kMax16BitLibraryItems)
    throw EICLReadError("Iconlibraries with more than 32767 images are not possible");
}

void T16BitWriter::WriteHeader(MemoryStream& out) {
  std::vector<uint8_t> header(kHeaderSize, 0);
  header[0] = 'M';
  header[1] = 'Z';
  WriteU16LE(&header[60], uint16_t(kNEOffset));
  header[126] = 'I';
  header[127] = 'M';
  header[128] = 'N';
  header[129] = 'E';
  WriteU16LE(&header[162], 64);  // segment table, relative to the NE header
  WriteU16LE(&header[164], 64);  // resource table, relative to the NE header
  WriteU16LE(&header[182], 2);   // target operating system: Windows
  header[191] = 3;               // expected Windows version 3.0
  out.WriteBytes(header);
  namesOffsetField_ = kNamesOffsetField;
}

void T16BitWriter::WriteResourceTable(MemoryStream& out) {
  out.WriteU16(0);  // the alignment shift, written once chosen
  groupRecords_.clear();
  imageRecords_.clear();
  WriteTypeInfo(out, kGroupIconType, icons_.Count());
  for (int i = 1; i <= icons_.Count(); ++i) groupRecords_.push_back(WriteNameInfo(out, i));
  int images = ImageCount();
  WriteTypeInfo(out, kIconType, images);
  for (int j = 1; j <= images; ++j) imageRecords_.push_back(WriteNameInfo(out, j));
  out.WriteU16(0);
}

void T16BitWriter::WriteNamesTable(MemoryStream& out) {
  int64_t position = out.Position();
  WriteU16LE(out.Bytes().data() + namesOffsetField_, uint16_t(position - kNEOffset));
  out.WriteBytes(BuildIclNamesTable(icons_));
}

// The smallest shift at which the file, estimated without alignment gaps, fits 0xFFFF units.
uint16_t T16BitWriter::EstimatedShift(int64_t position) const {
  uint64_t estimate = uint64_t(position);
  for (int i = 0; i < icons_.Count(); ++i) {
    estimate += 6;
    for (const auto& image : icons_.Icons(i)->Images()) estimate += 14 + image->DataSize();
  }
  uint16_t shift = 0;
  while (shift < kMaxShift && estimate > (uint64_t(0xFFFF) << shift)) ++shift;
  return shift;
}

void T16BitWriter::PadToAlignment(MemoryStream& out) {
  uint64_t unit = uint64_t(1) << AlignShift;
  uint64_t padding = (unit - uint64_t(out.Position()) % unit) % unit;
  std::vector<uint8_t> zeros(padding, 0);
  out.WriteBytes(zeros);
}

bool T16BitWriter::FillNameInfo(MemoryStream& out, int64_t record, int64_t start, int64_t end) {
  uint64_t offset = uint64_t(start) >> AlignShift, length = uint64_t(end - start) >> AlignShift;
  if (offset > 0xFFFF || length > 0xFFFF) return false;
  WriteU16LE(out.Bytes().data() + record, uint16_t(offset));
  WriteU16LE(out.Bytes().data() + record + 2, uint16_t(length));
  return true;
}

bool T16BitWriter::WriteGroupDirectories(MemoryStream& out) {
  int number = 0;
  for (int i = 0; i < icons_.Count(); ++i) {
    const TSubIconList& images = icons_.Icons(i)->Images();
    int64_t start = out.Position();
    out.WriteU16(0);
    out.WriteU16(1);
    out.WriteU16(uint16_t(images.Count()));
    for (const auto& image : images) {
      TIconDirEntry entry = image->Entry();
      entry.dwBytesInRes = image->DataSize();
      entry.Write(out);
      out.WriteU16(uint16_t(++number));
    }
    PadToAlignment(out);
    if (!FillNameInfo(out, groupRecords_[size_t(i)], start, out.Position())) return false;
  }
  return true;
}

bool T16BitWriter::WriteImageData(MemoryStream& out) {
  size_t number = 0;
  for (int i = 0; i < icons_.Count(); ++i) {
    for (const auto& image : icons_.Icons(i)->Images()) {
      int64_t start = out.Position();
      image->SaveDataToStream(out);
      PadToAlignment(out);
      if (!FillNameInfo(out, imageRecords_[number++], start, out.Position())) return false;
    }
  }
  return true;
}

bool T16BitWriter::BuildAtShift(MemoryStream& out) {
  WriteU16LE(out.Bytes().data() + kHeaderSize, AlignShift);
  PadToAlignment(out);
  if (!WriteGroupDirectories(out) || !WriteImageData(out)) return false;
  out.WriteU16(0);
  return true;
}

std::vector<uint8_t> T16BitWriter::BuildImage() {
  CheckRepresentable();
  MemoryStream out;
  WriteHeader(out);
  WriteResourceTable(out);
  WriteNamesTable(out);
  int64_t tablesEnd = out.Position();
  // The estimate leaves out the alignment gaps; a larger shift is taken until everything fits.
  for (AlignShift = EstimatedShift(tablesEnd); AlignShift <= kMaxShift; ++AlignShift) {
    out.SetSize(size_t(tablesEnd));
    out.SetPosition(tablesEnd);
    if (BuildAtShift(out)) return out.TakeBytes();
  }
  throw EICLReadError("The icon library is too large for a 16-bit library");
}

void T16BitWriter::Write(const std::string& fileName) {
  std::vector<uint8_t> image = BuildImage();
  WriteFileAtomic(fileName, image);
}

}  // namespace varnel
