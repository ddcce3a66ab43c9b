#include "resources/iconcursorgroupresource.h"

#include <algorithm>

#include "base/byteorder.h"

namespace varnel {

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 14;
constexpr size_t kIdOffset = 12;

size_t EntryOffset(int index) {
  return kHeaderSize + size_t(index) * kEntrySize;
}

std::vector<uint8_t> IconEntry(const IconImageFacts& facts, uint32_t bytes, uint16_t id) {
  std::vector<uint8_t> entry(kEntrySize);
  entry[0] = uint8_t(facts.width);
  entry[1] = uint8_t(facts.height);
  entry[2] = uint8_t(facts.colorCount);
  WriteU16LE(&entry[4], uint16_t(facts.planes));
  WriteU16LE(&entry[6], uint16_t(facts.bitCount));
  WriteU32LE(&entry[8], bytes);
  WriteU16LE(&entry[kIdOffset], id);
  return entry;
}

std::vector<uint8_t> CursorEntry(const IconImageFacts& facts, uint32_t bytes, uint16_t id) {
  std::vector<uint8_t> entry(kEntrySize);
  WriteU16LE(&entry[0], uint16_t(facts.width));
  WriteU16LE(&entry[2], uint16_t(facts.height));
  WriteU16LE(&entry[4], uint16_t(facts.planes));
  WriteU16LE(&entry[6], uint16_t(facts.bitCount));
  WriteU32LE(&entry[8], bytes);
  WriteU16LE(&entry[kIdOffset], id);
  return entry;
}

// Clears the flag however the deletion ends.
class DeletingScope {
 public:
  explicit DeletingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~DeletingScope() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

int TIconCursorGroupResourceDetails::ImageCount() const {
  return Bytes().size() >= kHeaderSize ? ReadU16LE(&Bytes()[4]) : 0;
}

int TIconCursorGroupResourceDetails::EntriesPresent() const {
  if (Bytes().size() < kHeaderSize) return 0;
  size_t stored = (Bytes().size() - kHeaderSize) / kEntrySize;
  return int(std::min<size_t>(size_t(ImageCount()), stored));
}

uint16_t TIconCursorGroupResourceDetails::EntryId(int index) const {
  return ReadU16LE(&Bytes()[EntryOffset(index) + kIdOffset]);
}

int TIconCursorGroupResourceDetails::IndexOfId(uint16_t id) const {
  for (int i = 0; i < EntriesPresent(); ++i)
    if (EntryId(i) == id) return i;
  return -1;
}

std::string TIconCursorGroupResourceDetails::ImageType() const {
  int32_t type = ResourceNameToInt(ResourceType());
  return type < 11 ? std::string() : std::to_string(type - 11);
}

TIconCursorResourceDetails* TIconCursorGroupResourceDetails::ImageResource(int index) const {
  TResourceModule* parent = Parent();
  if (!parent || index < 0 || index >= EntriesPresent()) return nullptr;
  int32_t id = EntryId(index);
  std::string imageType = ImageType();
  for (int i = 0; i < parent->ResourceCount(); ++i) {
    auto* image = dynamic_cast<TIconCursorResourceDetails*>(parent->ResourceDetails(i));
    if (image && image->ResourceType() == imageType &&
        ResourceNameToInt(image->ResourceName()) == id)
      return image;
  }
  return nullptr;
}

bool TIconCursorGroupResourceDetails::ContainsImage(const TIconCursorResourceDetails& image) const {
  if (image.GroupType() != ResourceType()) return false;
  int32_t id = ResourceNameToInt(image.ResourceName());
  return id >= 0 && id <= 0xFFFF && IndexOfId(uint16_t(id)) >= 0;
}

void TIconCursorGroupResourceDetails::WriteHeader(int count) {
  std::vector<uint8_t>& bytes = Data().Bytes();
  if (bytes.size() < kHeaderSize) bytes.assign(kHeaderSize, 0);
  WriteU16LE(&bytes[0], 0);
  WriteU16LE(&bytes[2], IsCursorGroup() ? 2 : 1);
  WriteU16LE(&bytes[4], uint16_t(count));
}

std::vector<uint8_t> TIconCursorGroupResourceDetails::EntryOf(
    const TIconCursorResourceDetails& image) const {
  uint16_t id = uint16_t(ResourceNameToInt(image.ResourceName()));
  uint32_t size = uint32_t(image.Bytes().size());
  IconImageFacts facts = image.Facts();
  return IsCursorGroup() ? CursorEntry(facts, size, id) : IconEntry(facts, size, id);
}

void TIconCursorGroupResourceDetails::AddImage(const TIconCursorResourceDetails& image) {
  int present = EntriesPresent();
  std::vector<uint8_t>& bytes = Data().Bytes();
  if (bytes.size() >= kHeaderSize) bytes.resize(EntryOffset(present));
  WriteHeader(present + 1);
  std::vector<uint8_t> entry = EntryOf(image);
  Data().Bytes().insert(Data().Bytes().end(), entry.begin(), entry.end());
}

void TIconCursorGroupResourceDetails::ReplaceEntry(int index,
                                                   const TIconCursorResourceDetails& image) {
  if (index < 0 || index >= EntriesPresent()) return;
  std::vector<uint8_t> entry = EntryOf(image);
  std::copy(entry.begin(), entry.end(), Data().Bytes().begin() + int64_t(EntryOffset(index)));
}

void TIconCursorGroupResourceDetails::RemoveEntry(int index) {
  int present = EntriesPresent();
  std::vector<uint8_t>& bytes = Data().Bytes();
  bytes.resize(EntryOffset(present));
  bytes.erase(bytes.begin() + int64_t(EntryOffset(index)),
              bytes.begin() + int64_t(EntryOffset(index + 1)));
  WriteHeader(present - 1);
}

void TIconCursorGroupResourceDetails::RemoveImage(const TIconCursorResourceDetails& image) {
  if (!ContainsImage(image)) return;
  RemoveEntry(IndexOfId(uint16_t(ResourceNameToInt(image.ResourceName()))));
  TResourceModule* parent = Parent();
  if (ImageCount() == 0 && !Deleting && parent) {
    int index = parent->IndexOfResource(this);
    if (index >= 0) parent->DeleteResource(index);  // frees this group: nothing after this
  }
}

void TIconCursorGroupResourceDetails::BeforeDelete() {
  DeletingScope scope(Deleting);
  TResourceModule* parent = Parent();
  while (EntriesPresent() > 0) {
    int before = EntriesPresent();
    TIconCursorResourceDetails* image = ImageResource(0);
    if (image && parent) parent->DeleteResource(parent->IndexOfResource(image));
    // A missing image, or one another group listed first, leaves the entry to remove here.
    if (EntriesPresent() == before) RemoveEntry(0);
  }
}

void TIconCursorGroupResourceDetails::InitNew() {
  Data().Clear();
  WriteHeader(0);
  TResourceModule* parent = Parent();
  if (!parent) return;
  std::string name = parent->GetUniqueResourceName(ImageType());
  if (TIconCursorResourceDetails* image = CreateDefaultImage(*parent, name)) AddImage(*image);
}

TIconCursorResourceDetails* TIconGroupResourceDetails::CreateDefaultImage(TResourceModule& parent,
                                                                          const std::string& name) {
  return CreateNewResource<TIconResourceDetails>(parent, ResourceLanguage(), name);
}

TIconCursorResourceDetails* TCursorGroupResourceDetails::CreateDefaultImage(
    TResourceModule& parent, const std::string& name) {
  return CreateNewResource<TCursorResourceDetails>(parent, ResourceLanguage(), name);
}

}  // namespace varnel
