#include "resources/resimport.h"

#include <algorithm>
#include <set>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "resources/dcr16.h"
#include "resources/resfile.h"

namespace varnel {

namespace {

constexpr size_t kShortestFile = 76;
constexpr size_t kEmptyEntrySize = 32;
constexpr uint32_t kSmallestHandWalkData = 100;
constexpr uint32_t kLargestHandWalkData = 36000000;
constexpr uint32_t kLargestHandWalkHeader = 1024;
constexpr uint32_t kHandWalkFixedHeader = 12;  // data size, header size, type

bool StartsWithEmptyEntry(std::span<const uint8_t> bytes) {
  static constexpr uint32_t kEmptyEntry[8] = {0, 32, 0xFFFF, 0xFFFF, 0, 0, 0, 0};
  for (size_t i = 0; i < 8; ++i)
    if (ReadU32LE(&bytes[4 * i]) != kEmptyEntry[i]) return false;
  return true;
}

bool StartsWith16BitBitmap(std::span<const uint8_t> bytes) {
  return bytes[0] == 0xFF && bytes[1] == 0x02 && bytes[2] == 0x00;
}

// An icon with one opaque image made from a DIB (header, colour table, bits).
std::unique_ptr<TAdvancedIcon> IconOfBitmap(std::span<const uint8_t> dib, int64_t size) {
  auto icon = std::make_unique<TAdvancedIcon>();
  SpanStream stream(dib);
  icon->Images().AddFromBitmapStreams(stream, nullptr, 0, size);
  return icon;
}

// The image ids that the entries of group data (6-byte header, 14-byte entries with the id in
// their last two bytes) name, as far as the data holds them.
std::vector<uint16_t> GroupEntryIds(std::span<const uint8_t> group) {
  constexpr size_t kGroupHeaderSize = 6, kGroupEntrySize = 14, kIdOffset = 12;
  std::vector<uint16_t> ids;
  if (group.size() < kGroupHeaderSize) return ids;
  size_t count = ReadU16LE(group.data() + 4);
  size_t present = (group.size() - kGroupHeaderSize) / kGroupEntrySize;
  for (size_t i = 0; i < std::min(count, present); ++i)
    ids.push_back(ReadU16LE(group.data() + kGroupHeaderSize + i * kGroupEntrySize + kIdOffset));
  return ids;
}

// One image of an icon ("3") or cursor ("1") image record.
std::unique_ptr<TSubIcon> ImageOfRecord(const TResourceDetails& record) {
  auto image = std::make_unique<TResourceIconImage>();
  SpanStream data(record.Bytes());
  image->LoadFromResourceData(data, record.ResourceType() == "1");
  return image;
}

// Walks the records of a 32-bit resource file. A group takes the image records its entries name
// (in its language when present there), in entry order; a group none of whose entries names a
// record of the file takes the images read since the previous group, as resource compilers
// that write each group right after its images leave them. Image records a group took are not
// taken again when they follow it (compilers that write each group before its images).
class ResourceFileIconWalk {
 public:
  explicit ResourceFileIconWalk(TIconList& library) : library_(library) {}

  void Walk(const TResModule& module) {
    for (int i = 0; i < module.ResourceCount(); ++i) {
      try {
        Take(module, *module.ResourceDetails(i));
      } catch (const std::exception&) {
        // A damaged record loses only itself.
      }
    }
    Finish("");
  }

 private:
  void Take(const TResModule& module, const TResourceDetails& record) {
    const std::string& type = record.ResourceType();
    if (type == "3" || type == "1") {
      if (taken_.count(&record)) return;
      std::unique_ptr<TSubIcon> image = ImageOfRecord(record);
      if (!current_) current_ = std::make_unique<TAdvancedIcon>();
      current_->Images().Add(std::move(image));
    } else if (type == "14" || type == "12") {
      if (auto named = ImagesNamedByGroup(module, record)) current_ = std::move(named);
      Finish(record.ResourceName());
    } else if (type == "2") {
      Finish("");
      current_ = IconOfBitmap(record.Bytes(), int64_t(record.Bytes().size()));
      Finish(record.ResourceName());
    }
  }

  // The images the group's entries name; null when no entry names an image record of the file.
  std::unique_ptr<TAdvancedIcon> ImagesNamedByGroup(const TResModule& module,
                                                    const TResourceDetails& group) {
    bool cursor = group.ResourceType() == "12";
    std::string imageType = cursor ? "1" : "3";
    bool anyNamed = false;
    std::unique_ptr<TAdvancedIcon> icon =
        cursor ? std::make_unique<TAdvancedCursor>() : std::make_unique<TAdvancedIcon>();
    for (uint16_t id : GroupEntryIds(group.Bytes())) {
      const TResourceDetails* record =
          module.FindResourceInLanguage(imageType, std::to_string(id), group.ResourceLanguage());
      if (!record) continue;
      anyNamed = true;
      taken_.insert(record);
      try {
        icon->Images().Add(ImageOfRecord(*record));
      } catch (const std::exception&) {
        // A damaged image is dropped, the group's others stay.
      }
    }
    return anyNamed ? std::move(icon) : nullptr;
  }

  void Finish(const std::string& name) {
    if (current_ && current_->Images().Count() > 0) library_.AddIcon(name, std::move(current_));
    current_.reset();
  }

  TIconList& library_;
  std::unique_ptr<TAdvancedIcon> current_;
  std::set<const TResourceDetails*> taken_;
};

// The name of a hand-walked header: low bytes of its UTF-16 units up to the first zero.
std::string HandWalkName(std::span<const uint8_t> units) {
  std::vector<uint8_t> name;
  for (size_t i = 0; i < units.size(); i += 2) {
    if (units[i] == 0) break;
    name.push_back(units[i]);
  }
  return EightBitTextToUtf8(name);
}

// For files the container reader cannot make sense of: bitmaps found by following the sizes.
void HandWalk(std::span<const uint8_t> bytes, TIconList& library) {
  for (uint64_t pos = kEmptyEntrySize; pos + 8 <= bytes.size();) {
    uint32_t dataSize = ReadU32LE(&bytes[pos]);
    uint32_t headerSize = ReadU32LE(&bytes[pos + 4]);
    if (dataSize < kSmallestHandWalkData || dataSize > kLargestHandWalkData) return;
    if (headerSize < kHandWalkFixedHeader || headerSize > kLargestHandWalkHeader) return;
    uint64_t dataStart = pos + headerSize;
    if (dataStart > bytes.size()) return;
    std::string name =
        HandWalkName(bytes.subspan(pos + kHandWalkFixedHeader, headerSize - kHandWalkFixedHeader));
    if (dataStart + 4 <= bytes.size() && ReadU32LE(&bytes[dataStart]) == 40) {
      try {
        library.AddIcon(name, IconOfBitmap(bytes.subspan(dataStart), dataSize));
      } catch (const std::exception&) {
      }
    }
    pos = dataStart + dataSize;
  }
}

void ImportResFile(std::span<const uint8_t> bytes, TIconList& library) {
  int before = library.Count();
  try {
    TResModule module;
    module.LoadFromBytes(bytes, ByteBlock::KeptByCaller(bytes));  // the module ends here
    ResourceFileIconWalk(library).Walk(module);
  } catch (const std::exception&) {
  }
  if (library.Count() == before) HandWalk(bytes, library);
}

}  // namespace

void ImportResourceBytes(std::span<const uint8_t> bytes, TIconList& library) {
  if (bytes.size() < kShortestFile) return;
  if (StartsWithEmptyEntry(bytes))
    ImportResFile(bytes, library);
  else if (StartsWith16BitBitmap(bytes))
    ImportDcr16(bytes, library);
}

bool LooksLikeResourceFile(std::span<const uint8_t> bytes) {
  return (bytes.size() >= kEmptyEntrySize && StartsWithEmptyEntry(bytes)) ||
         (!bytes.empty() && bytes[0] == 0xFF);
}

void ImportResourceFile(const std::string& fileName, TIconList& library) {
  MappedFile file(fileName);
  ImportResourceBytes(file.Bytes(), library);
}

}  // namespace varnel
