// TfmLib: the collection file (".icc"): items with their images and sources, then the sources.

#include <cstring>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/duplicatefinder.h"
#include "collection/fmlib.h"
#include "collection/iconhash.h"
#include "collection/packedstream.h"

namespace varnel {

namespace {

constexpr char kMagic[4] = {'I', 'C', 'C', '0'};
constexpr char kIconTag[4] = {'I', 'C', 'O', 'N'};
constexpr char kSourcesTag[4] = {'S', 'R', 'S', 'F'};
constexpr uint32_t kVersion = 1;

bool ReadTag(Stream& stream, const char (&tag)[4]) {
  char bytes[4];
  return stream.Read(bytes, 4) == 4 && std::memcmp(bytes, tag, 4) == 0;
}

// Checks the header; returns the item count.
uint32_t ReadHeader(Stream& stream, const std::string& name) {
  bool valid = ReadTag(stream, kMagic);
  uint8_t version[4];
  valid = valid && stream.Read(version, 4) == 4 && ReadU32LE(version) == kVersion;
  valid = valid && ReadTag(stream, kIconTag);
  if (!valid) throw Exception("Unknown file format: " + name);
  return stream.ReadU32();
}

std::vector<std::string> ReadSourceList(Stream& stream) {
  std::vector<std::string> sources;
  if (!ReadTag(stream, kSourcesTag)) return sources;
  int32_t count = ReadPackedInteger(stream);
  for (int32_t i = 0; i < count; ++i) sources.push_back(ReadPackedString(stream));
  return sources;
}

std::unique_ptr<TAdvancedIcon> ReadItemIcon(Stream& stream) {
  auto icon = std::make_unique<TAdvancedIcon>();
  uint32_t count = stream.ReadU32();
  for (uint32_t i = 0; i < count; ++i) {
    auto image = std::make_unique<TSubIcon>();
    image->LoadFromStream(stream);
    icon->Images().Add(std::move(image));
  }
  return icon;
}

}  // namespace

void TfmLib::ReadCollectionItems(Stream& stream, const std::string& name, int sourceShift,
                                 TListLongint* hashes, TListLongint& index,
                                 TListLongint& position) {
  uint32_t count = ReadHeader(stream, name);
  for (uint32_t i = 0; i < count; ++i) {
    std::string itemName = ReadPackedString(stream);
    std::unique_ptr<TAdvancedIcon> icon = ReadItemIcon(stream);
    int32_t source = stream.ReadI32();
    int32_t sourcePosition = stream.ReadI32();
    if (hashes) {
      uint32_t hash = SearchHash(*icon);
      if (IsDuplicate(Items(), *icon, hash, *hashes)) continue;
      hashes->Add(int32_t(hash));
    }
    AppendItem(std::move(itemName), std::move(icon));
    index.Add(source >= 0 ? source + sourceShift : -1);
    position.Add(sourcePosition);
  }
}

void TfmLib::ReadCollectionFile(const std::string& name) {
  MappedFile file(name);
  SpanStream stream(file.Bytes());
  ReadCollection(stream, name);
}

void TfmLib::ReadCollection(Stream& stream, const std::string& name) {
  Items().Clear();
  SetCaptionFromFile(name);
  ClearSources();
  SetModified(false);
  WhileBusySelectingFirst([&] {
    ReadCollectionItems(stream, name, 0, nullptr, SourceIndex, SourcePosition);
    Sources = ReadSourceList(stream);
    FileName = name;
  });
}

void TfmLib::MergeCollectionFile(const std::string& name, TListLongint* hashes) {
  MappedFile file(name);
  SpanStream stream(file.Bytes());
  // Items before the merge that have no source entries get empty ones, so that the entries
  // read here line up with their items.
  while (SourceIndex.Count() < Count()) SourceIndex.Add(-1);
  while (SourcePosition.Count() < SourceIndex.Count()) SourcePosition.Add(-1);
  SourceIndex.SetCount(Count());
  SourcePosition.SetCount(Count());
  int before = Count();
  TListLongint index, position;
  try {
    ReadCollectionItems(stream, name, int(Sources.size()), hashes, index, position);
    std::vector<std::string> sources = ReadSourceList(stream);
    Sources.insert(Sources.end(), sources.begin(), sources.end());
  } catch (...) {
    SourceIndex.AddAll(index);
    SourcePosition.AddAll(position);
    if (Count() > before) SetModified(true);
    throw;
  }
  SourceIndex.AddAll(index);
  SourcePosition.AddAll(position);
  if (Count() > before) SetModified(true);
}

void TfmLib::WriteCollectionFile(const std::string& name) const {
  MemoryStream stream;
  stream.WriteBuffer(kMagic, 4);
  stream.WriteU32(kVersion);
  stream.WriteBuffer(kIconTag, 4);
  stream.WriteU32(uint32_t(Count()));
  for (int i = 0; i < Count(); ++i) {
    WritePackedString(stream, Items().Names(i));
    const TSubIconList& images = Items().Icons(i)->Images();
    stream.WriteU32(uint32_t(images.Count()));
    for (const auto& image : images) image->SaveToStream(stream);
    stream.WriteI32(SourceIndex.GetOr(i, -1));
    stream.WriteI32(SourcePosition.GetOr(i, -1));
  }
  stream.WriteBuffer(kSourcesTag, 4);
  WritePackedInteger(stream, int32_t(Sources.size()));
  for (const std::string& source : Sources) WritePackedString(stream, source);
  WriteFileAtomic(name, stream.Bytes());
}

}  // namespace varnel
