// TCollection: the collection file (".icc"): items with their images and sources, then the
// source table, then, when some image has one, the cursor hot spots.

#include <cstring>

#include "base/errors.h"
#include "base/packedstream.h"
#include "collection/collection.h"
#include "collection/collectionrecords.h"
#include "collection/duplicatefinder.h"
#include "collection/iconhash.h"
#include "platform/ansitext.h"

namespace varnel {

namespace {

constexpr char kMagic[4] = {'I', 'C', 'C', '0'};
constexpr char kIconTag[4] = {'I', 'C', 'O', 'N'};
constexpr char kSourcesTag[4] = {'S', 'R', 'S', 'F'};
constexpr char kHotSpotsTag[4] = {'H', 'T', 'S', 'P'};
constexpr uint32_t kVersion = 1;

bool ReadTag(Stream& stream, const char (&tag)[4]) {
  char bytes[4];
  return stream.Read(bytes, 4) == 4 && std::memcmp(bytes, tag, 4) == 0;
}

// Texts written by programs that stored 8-bit code pages are taken as Windows-1252.
std::string ReadText(Stream& stream) {
  return TextFromFileBytes(ReadPackedString(stream));
}

std::vector<std::string> ReadSourceList(Stream& stream) {
  std::vector<std::string> sources;
  if (!ReadTag(stream, kSourcesTag)) return sources;
  int32_t count = ReadPackedInteger(stream);
  for (int32_t i = 0; i < count; ++i) sources.push_back(ReadText(stream));
  return sources;
}

// An image record; null for an empty record and for a damaged image, which is counted. The
// record's bytes are passed over either way.
std::unique_ptr<TSubIcon> ReadImage(Stream& stream, int& dropped) {
  // Every record takes at least its marker byte, so a count larger than the file ends here.
  if (stream.Remaining() <= 0) throw EReadError();
  int64_t start = stream.Position();
  bool empty = stream.ReadU8() == 0;
  stream.SetPosition(start);
  auto image = std::make_unique<TSubIcon>();
  image->LoadFromStream(stream);
  if (image->HasData()) return image;
  if (!empty) ++dropped;
  return nullptr;
}

// ReadImage for a stream over a mapped file: the image's data become a view of the mapping, and
// only its first bytes are read (through the stream), so that the pages of images nobody looks
// at are never touched.
std::unique_ptr<TSubIcon> ReadMappedImage(Stream& stream, const SharedFile& file, int& dropped) {
  if (stream.Remaining() <= 0) throw EReadError();
  if (stream.ReadU8() == 0) return nullptr;
  TIconDirEntry entry = TIconDirEntry::Read(stream);
  uint64_t start = uint64_t(stream.Position());
  uint64_t size = entry.dwBytesInRes;
  if (size > uint64_t(stream.Remaining()) || size > file->Size() - std::min(start, file->Size())) {
    // Data that are not all there leave the image empty, as LoadFromStream leaves it.
    stream.Seek(0, SeekOrigin::End);
    ++dropped;
    return nullptr;
  }
  uint8_t head[kImageHeadSize];
  size_t headSize = size_t(std::min<uint64_t>(size, kImageHeadSize));
  stream.ReadBuffer(head, headSize);
  stream.SetPosition(int64_t(start + size));
  auto image = std::make_unique<TSubIcon>();
  ByteBlock data(file->Bytes().subspan(size_t(start), size_t(size)), file);
  image->LoadFromMappedRecord(entry, std::move(data), {head, headSize});
  if (image->HasData()) return image;
  ++dropped;
  return nullptr;
}

std::unique_ptr<TAdvancedIcon> ReadItemIcon(Stream& stream, int& dropped,
                                            const SharedFile& mapped) {
  auto icon = std::make_unique<TAdvancedIcon>();
  uint32_t count = stream.ReadU32();
  for (uint32_t i = 0; i < count; ++i) {
    auto image = mapped ? ReadMappedImage(stream, mapped, dropped) : ReadImage(stream, dropped);
    if (image) icon->Images().Add(std::move(image));
  }
  return icon;
}

// The hot spots of the items' images, in item order; absent ones are left as read.
void ReadHotSpots(Stream& stream, std::vector<TIconList::Item>& items) {
  if (!ReadTag(stream, kHotSpotsTag)) return;
  int32_t itemCount = ReadPackedInteger(stream);
  for (int32_t i = 0; i < itemCount; ++i) {
    int32_t imageCount = ReadPackedInteger(stream);
    for (int32_t k = 0; k < imageCount; ++k) {
      uint32_t hotSpot = stream.ReadU32();
      if (size_t(i) >= items.size()) continue;
      TSubIconList& images = items[size_t(i)].icon->Images();
      if (k < images.Count()) images[k]->SetHotSpot(hotSpot);
    }
  }
}

bool HasHotSpots(const TIconList& items) {
  for (int i = 0; i < items.Count(); ++i)
    for (const auto& image : items.Icons(i)->Images())
      if (image->HotSpot() != 0) return true;
  return false;
}

void WriteHotSpots(Stream& stream, const TIconList& items) {
  stream.WriteBuffer(kHotSpotsTag, 4);
  WritePackedInteger(stream, items.Count());
  for (int i = 0; i < items.Count(); ++i) {
    const TSubIconList& images = items.Icons(i)->Images();
    WritePackedInteger(stream, images.Count());
    for (const auto& image : images) stream.WriteU32(image->HotSpot());
  }
}

// The items of a collection file and its trailing sections. Whatever was read before a failure
// is kept in items.
struct CollectionContent {
  std::vector<TIconList::Item> items;
  std::vector<std::string> sources;
};

void ReadContent(Stream& stream, const std::string& name, const SharedFile& mapped,
                 CollectionContent& content, int& dropped) {
  uint32_t count = ReadCollectionHeader(stream, name);
  for (uint32_t i = 0; i < count; ++i)
    content.items.push_back(ReadCollectionItem(stream, i, dropped, mapped));
  content.sources = ReadSourceList(stream);
  ReadHotSpots(stream, content.items);
}

}  // namespace

uint32_t ReadCollectionHeader(Stream& stream, const std::string& name) {
  bool valid = ReadTag(stream, kMagic);
  uint8_t version[4];
  valid = valid && stream.Read(version, 4) == 4 && ReadU32LE(version) == kVersion;
  valid = valid && ReadTag(stream, kIconTag);
  if (!valid) throw Exception("Unknown file format: " + name);
  return stream.ReadU32();
}

TIconList::Item ReadCollectionItem(Stream& stream, uint32_t position, int& dropped,
                                   const SharedFile& mapped) {
  TIconList::Item item;
  item.name = ReadText(stream);
  item.icon = ReadItemIcon(stream, dropped, mapped);
  item.source.index = stream.ReadI32();
  item.source.position = stream.ReadI32();
  // An empty name becomes "Icon " and the item's 1-based position.
  if (item.name.empty()) item.name = "Icon " + std::to_string(position + 1);
  return item;
}

int TCollection::AppendRead(std::vector<TIconList::Item>& items, TDuplicateIndex* duplicates) {
  int added = 0;
  for (TIconList::Item& item : items) {
    if (duplicates && !duplicates->AddUnlessPresent(Items(), *item.icon, Count())) continue;
    Items().InsertItem(Count(), std::move(item));
    ++added;
  }
  return added;
}

void TCollection::Read(Stream& stream, const std::string& name, const SharedFile& mapped) {
  Clear();
  CollectionContent content;
  if (mapped) mappedFiles_.push_back(mapped);
  try {
    ReadContent(stream, name, mapped, content, droppedImages_);
  } catch (...) {
    AppendRead(content.items, nullptr);
    throw;
  }
  AppendRead(content.items, nullptr);
  Sources = std::move(content.sources);
}

int TCollection::Merge(Stream& stream, const std::string& name, TDuplicateIndex* duplicates,
                       const SharedFile& mapped) {
  TCollection read;
  try {
    read.Read(stream, name, mapped);
  } catch (...) {
    MergeRead(read, duplicates);
    throw;
  }
  return MergeRead(read, duplicates);
}

int TCollection::MergeRead(TCollection& read, TDuplicateIndex* duplicates) {
  int shift = int(Sources.size());
  // Taken from the back, so that emptying the list costs no moves.
  std::vector<TIconList::Item> items(size_t(read.Count()));
  for (size_t i = items.size(); i-- > 0;) {
    items[i] = read.Items().TakeItem(int(i));
    if (items[i].source.index >= 0) items[i].source.index += shift;
  }
  int added = AppendRead(items, duplicates);
  Sources.insert(Sources.end(), read.Sources.begin(), read.Sources.end());
  read.Sources.clear();
  mappedFiles_.insert(mappedFiles_.end(), read.mappedFiles_.begin(), read.mappedFiles_.end());
  read.mappedFiles_.clear();
  droppedImages_ += read.TakeDroppedImageCount();
  return added;
}

void TCollection::CheckMappedFilesWhole() const {
  for (const SharedFile& file : mappedFiles_)
    if (file->WasCut())
      throw EFileError("File \"" + file->Path() +
                       "\" was cut by another program while it was open; its images are lost");
}

void TCollection::Write(Stream& stream) const {
  stream.WriteBuffer(kMagic, 4);
  stream.WriteU32(kVersion);
  stream.WriteBuffer(kIconTag, 4);
  stream.WriteU32(uint32_t(Count()));
  for (int i = 0; i < Count(); ++i) {
    WritePackedString(stream, Items().Names(i));
    const TSubIconList& images = Items().Icons(i)->Images();
    stream.WriteU32(uint32_t(images.Count()));
    for (const auto& image : images) image->SaveToStream(stream);
    stream.WriteI32(Items().Source(i).index);
    stream.WriteI32(Items().Source(i).position);
  }
  stream.WriteBuffer(kSourcesTag, 4);
  WritePackedInteger(stream, int32_t(Sources.size()));
  for (const std::string& source : Sources) WritePackedString(stream, source);
  if (HasHotSpots(Items())) WriteHotSpots(stream, Items());
  // What was written from a mapping that lost pages meanwhile is zeros, not the images.
  CheckMappedFilesWhole();
}

}  // namespace varnel
