#include "resources/resourcedetails.h"

#include <algorithm>
#include <limits>

#include "base/fileio.h"
#include "resources/resourcegraphics.h"

namespace varnel {

TResourceDetails::TResourceDetails(TResourceModule* parent, uint32_t language, std::string name,
                                   std::string type, ByteBlock data)
    : parent_(parent),
      bytes_(std::move(data)),
      language_(language),
      name_(std::move(name)),
      type_(std::move(type)) {}

void TResourceDetails::SetResourceName(const std::string& name) {
  name_ = name;
  Dirty = true;
}

MemoryStream& TResourceDetails::Data() {
  if (!changed_) changed_.emplace(bytes_.TakeVector());
  return *changed_;
}

std::span<const uint8_t> TResourceDetails::Bytes() const {
  return changed_ ? std::span<const uint8_t>(changed_->Bytes()) : bytes_.Span();
}

Stream& TResourceDetails::ReadStream() {
  if (changed_) {
    changed_->SetPosition(0);
    return *changed_;
  }
  reader_ = SpanStream(bytes_.Span());
  return reader_;
}

void TResourceDetails::ChangeData(Stream& source) {
  MemoryStream& data = Data();
  data.Clear();
  source.SetPosition(0);
  data.CopyFrom(source, -1);
}

void TResourceModule::DeleteResource(int index) {
  Dirty = true;
  ResourceDetails(index)->BeforeDelete();
}

void TResourceModule::SaveToStream(Stream&) {
  throw Exception("Module doesn't support streaming");
}

void TResourceModule::LoadFromStream(Stream&) {
  throw Exception("Module doesn't support streaming");
}

void TResourceModule::SaveToFile(const std::string& fileName) {
  MemoryStream image;
  SaveToStream(image);
  WriteFileAtomic(fileName, image.Bytes());
  ClearDirty();
}

void TResourceModule::LoadFromFile(const std::string& fileName) {
  MappedFile file(fileName);
  SpanStream bytes(file.Bytes());
  LoadFromStream(bytes);
}

void TResourceModule::ClearDirty() {
  Dirty = false;
  for (int i = 0; i < ResourceCount(); ++i) ResourceDetails(i)->Dirty = false;
}

TResourceDetails* TResourceModule::FindResource(const std::string& type,
                                                const std::string& name) const {
  for (int i = 0; i < ResourceCount(); ++i) {
    TResourceDetails* details = ResourceDetails(i);
    if (details->ResourceType() == type && details->ResourceName() == name) return details;
  }
  return nullptr;
}

TResourceDetails* TResourceModule::FindResourceInLanguage(const std::string& type,
                                                          const std::string& name,
                                                          uint32_t language) const {
  for (int i = 0; i < ResourceCount(); ++i) {
    TResourceDetails* details = ResourceDetails(i);
    if (details->ResourceType() == type && details->ResourceName() == name &&
        details->ResourceLanguage() == language)
      return details;
  }
  return FindResource(type, name);
}

std::string TResourceModule::GetUniqueResourceName(const std::string& type) const {
  int64_t greatest = 0;
  for (int i = 0; i < ResourceCount(); ++i) {
    TResourceDetails* details = ResourceDetails(i);
    if (details->ResourceType() == type)
      greatest = std::max<int64_t>(greatest, ResourceNameToInt(details->ResourceName()));
  }
  return std::to_string(greatest + 1);
}

Stream* TResourceModule::FindResourceStream(const std::string& type, const std::string& name) {
  TResourceDetails* details = FindResource(type, name);
  return details ? &details->ReadStream() : nullptr;
}

Stream* TResourceModule::FindResourceStreamInLanguage(const std::string& type,
                                                      const std::string& name, uint32_t language) {
  TResourceDetails* details = FindResourceInLanguage(type, name, language);
  return details ? &details->ReadStream() : nullptr;
}

int32_t ResourceNameToInt(const std::string& text) {
  if (text.empty()) return -1;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
    // Digit strings beyond the integer range are names like any other text.
    if (value > std::numeric_limits<int32_t>::max()) return -1;
  }
  return int32_t(value);
}

namespace {

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

int CompareIgnoringAsciiCase(const std::string& a, const std::string& b) {
  size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char x = AsciiLower(a[i]), y = AsciiLower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The registry starts out with the standard classes, so that no program can forget them.
std::vector<const ResourceDetailsClass*>& Registry() {
  static std::vector<const ResourceDetailsClass*> classes = StandardResourceDetailsClasses();
  return classes;
}

// The registered class for a numeric type ("10" only when the class takes the data), or null.
const ResourceDetailsClass* ClassByType(const std::string& name, const std::string& type,
                                        std::span<const uint8_t> data) {
  if (type.empty() || type[0] < '0' || type[0] > '9') return nullptr;
  for (const ResourceDetailsClass* recordClass : Registry()) {
    if (recordClass->baseType() != type) continue;
    if (type == "10" && !recordClass->supportsRCData(name, data)) continue;
    return recordClass;
  }
  return nullptr;
}

const ResourceDetailsClass* ClassByContent(std::span<const uint8_t> data) {
  for (const ResourceDetailsClass* recordClass : Registry())
    if (recordClass->supportsData(data)) return recordClass;
  return nullptr;
}

// A class whose test fails on these bytes counts as not taking them.
template <class Find>
const ResourceDetailsClass* Taking(Find find) {
  try {
    return find();
  } catch (const Exception&) {
    return nullptr;
  }
}

}  // namespace

int CompareResourceNames(const std::string& a, const std::string& b) {
  int32_t x = ResourceNameToInt(a), y = ResourceNameToInt(b);
  if (x >= 0 && y >= 0) return x == y ? 0 : (x < y ? -1 : 1);
  if (x >= 0) return -1;
  if (y >= 0) return 1;
  return CompareIgnoringAsciiCase(a, b);
}

void RegisterResourceDetails(const ResourceDetailsClass* recordClass) {
  std::vector<const ResourceDetailsClass*>& classes = Registry();
  if (classes.size() == classes.capacity()) classes.reserve(classes.size() + 10);
  classes.push_back(recordClass);
}

void UnregisterResourceDetails(const ResourceDetailsClass* recordClass) {
  std::erase(Registry(), recordClass);
}

std::vector<const ResourceDetailsClass*> RegisteredResourceDetails() {
  return Registry();
}

std::unique_ptr<TResourceDetails> CreateResourceDetails(TResourceModule* parent, uint32_t language,
                                                        const std::string& name,
                                                        const std::string& type, ByteBlock data) {
  std::span<const uint8_t> bytes = data.Span();
  const ResourceDetailsClass* recordClass = Taking([&] { return ClassByType(name, type, bytes); });
  if (!recordClass) recordClass = Taking([&] { return ClassByContent(bytes); });
  if (recordClass) return recordClass->create(parent, language, name, type, std::move(data));
  return std::make_unique<TResourceDetails>(parent, language, name, type, std::move(data));
}

}  // namespace varnel
