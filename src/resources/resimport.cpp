#include "resources/resimport.h"

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

// Walks the records of a 32-bit resource file: images collect into the current icon, which a
// group finishes under its name (compilers write each group right after its images).
class ResourceFileIconWalk {
 public:
  explicit ResourceFileIconWalk(TIconList& library) : library_(library) {}

  void Walk(const TResModule& module) {
    for (int i = 0; i < module.ResourceCount(); ++i) {
      try {
        Take(*module.ResourceDetails(i));
      } catch (const std::exception&) {
        // A damaged record loses only itself.
      }
    }
    Finish("");
  }

 private:
  void Take(const TResourceDetails& record) {
    const std::string& type = record.ResourceType();
    if (type == "3" || type == "1") {
      auto image = std::make_unique<TResourceIconImage>();
      SpanStream data(record.Bytes());
      image->LoadFromResourceData(data, type == "1");
      if (!current_) current_ = std::make_unique<TAdvancedIcon>();
      current_->Images().Add(std::move(image));
    } else if (type == "14" || type == "12") {
      Finish(record.ResourceName());
    } else if (type == "2") {
      Finish("");
      current_ = IconOfBitmap(record.Bytes(), int64_t(record.Bytes().size()));
      Finish(record.ResourceName());
    }
  }

  void Finish(const std::string& name) {
    if (current_ && current_->Images().Count() > 0) library_.AddIcon(name, std::move(current_));
    current_.reset();
  }

  TIconList& library_;
  std::unique_ptr<TAdvancedIcon> current_;
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
    module.LoadFromBytes(bytes);
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
