// Icons stored whole in the "ICON" chunks of RIFF files (animated cursors and the like).

#include <cctype>
#include <cstring>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "icons/advancedicon.h"

namespace varnel {

namespace {

bool TagIs(std::span<const uint8_t> bytes, size_t at, const char* tag) {
  return at + 4 <= bytes.size() && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

bool TagIsIconIgnoringCase(std::span<const uint8_t> bytes, size_t at) {
  static const char kIcon[] = "ICON";
  for (int i = 0; i < 4; ++i)
    if (std::toupper(bytes[at + i]) != kIcon[i]) return false;
  return true;
}

// Where the scan for icon chunks starts, or 0 when the file is of another form.
size_t ScanStart(std::span<const uint8_t> bytes) {
  if (TagIs(bytes, 8, "ACON")) return 12;
  bool searchable = TagIs(bytes, 8, "anih") || TagIs(bytes, 8, "rate") ||
                    std::memcmp(bytes.data() + 8, "seq\0", 4) == 0;
  if (!searchable) return 0;
  for (size_t at = 9; at + 4 <= bytes.size(); ++at)
    if (TagIs(bytes, at, "ACON")) return at + 4;
  return 0;
}

bool IsIconHeader(const uint8_t* p) {
  uint16_t type = ReadU16LE(p + 2);
  return ReadU16LE(p) == 0 && (type == 1 || type == 2) && ReadU16LE(p + 4) != 0;
}

}  // namespace

bool TAdvancedIcon::ExtractFromRiffFile(const std::string& fileName, int limit,
                                        std::vector<std::unique_ptr<TAdvancedIcon>>* list) {
  int64_t size = FileSizeOf(fileName);
  if (size < 12 || size > kMaxRiffFileSize) return false;
  MappedFile file(fileName);
  return ExtractFromRiffData(file.Bytes(), limit, list);
}

bool TAdvancedIcon::ExtractFromRiffData(std::span<const uint8_t> bytes, int limit,
                                        std::vector<std::unique_ptr<TAdvancedIcon>>* list) {
  if (bytes.size() < 12 || int64_t(bytes.size()) > kMaxRiffFileSize) return false;
  if (!TagIs(bytes, 0, "RIFF") || ReadU32LE(bytes.data() + 4) > bytes.size()) return false;
  size_t at = ScanStart(bytes);
  if (!at) return false;
  size_t startCount = list ? list->size() : size_t(images_.Count());
  auto found = [&] { return (list ? list->size() : size_t(images_.Count())) - startCount; };
  for (; at + 14 <= bytes.size(); ++at) {
    if (!TagIsIconIgnoringCase(bytes, at)) continue;
    uint32_t chunkSize = ReadU32LE(bytes.data() + at + 4);
    if (chunkSize == 0 || chunkSize >= bytes.size() || !IsIconHeader(bytes.data() + at + 8))
      continue;
    SpanStream stream(bytes);
    stream.SetPosition(int64_t(at + 8));
    TAdvancedIcon* target = this;
    std::unique_ptr<TAdvancedIcon> icon;
    if (list) target = (icon = std::make_unique<TAdvancedIcon>()).get();
    try {
      target->LoadFromStream(stream);
    } catch (const Exception&) {
      // A damaged icon chunk: what it gave before the damage stays.
    }
    if (icon && icon->Images().Count()) list->push_back(std::move(icon));
    if (limit >= 1 && found() >= size_t(limit)) break;
  }
  return found() > 0;
}

}  // namespace varnel
