#pragma once
// Resource records and the abstract container every resource container builds on.
//
// Types and names are text: a numeric identifier is held as its decimal text ("3" for icon
// images, "14" for icon groups), a string name as UTF-8 converted from its UTF-16 form.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/byteblock.h"
#include "base/errors.h"
#include "base/stream.h"
#include "icons/resourcesource.h"

namespace varnel {

class TResourceModule;

// One resource: its identity and its bytes exactly as the container stores them. A record read
// from a mapped file views the file's bytes until it is first changed.
class TResourceDetails {
 public:
  TResourceDetails(TResourceModule* parent, uint32_t language, std::string name, std::string type,
                   ByteBlock data);
  virtual ~TResourceDetails() = default;
  TResourceDetails(const TResourceDetails&) = delete;
  TResourceDetails& operator=(const TResourceDetails&) = delete;

  // Class-level questions, answered through the record-class registry. Classes hide these.
  static std::string GetBaseType() { return "0"; }
  static bool SupportsRCData(const std::string& name, std::span<const uint8_t> data) {
    return false;
  }
  static bool SupportsData(std::span<const uint8_t> data) { return false; }

  // Fills Data for a brand-new resource.
  virtual void InitNew() {}
  virtual void SetResourceName(const std::string& name);
  // Called by the container just before the record is removed.
  virtual void BeforeDelete() {}
  // Replaces Data by the whole content of source.
  virtual void ChangeData(Stream& source);

  TResourceModule* Parent() const { return parent_; }
  void SetParent(TResourceModule* parent) { parent_ = parent; }
  // The bytes for changing: a record that views its bytes copies them first.
  MemoryStream& Data();
  std::span<const uint8_t> Bytes() const;
  // A stream over the bytes for reading, rewound; it stays owned by the record.
  Stream& ReadStream();

  const std::string& ResourceName() const { return name_; }
  const std::string& ResourceType() const { return type_; }
  uint32_t ResourceLanguage() const { return language_; }
  void SetResourceLanguage(uint32_t language) { language_ = language; }

  uint32_t CodePage = 0;
  bool NameIsString = false;
  uint16_t MemoryFlags = 0;
  uint32_t DataVersion = 0;
  uint32_t Version = 0;
  uint32_t Characteristics = 0;
  bool Dirty = false;

 protected:
  void SetResourceType(std::string type) { type_ = std::move(type); }

 private:
  TResourceModule* parent_;
  ByteBlock bytes_;
  std::optional<MemoryStream> changed_;
  SpanStream reader_{std::span<const uint8_t>()};
  uint32_t language_;
  std::string name_;
  std::string type_;
};

// An ordered list of records the container owns. Records can also be looked up for icon assembly.
class TResourceModule : public IconResourceSource {
 public:
  virtual ~TResourceModule() = default;

  virtual int ResourceCount() const = 0;
  virtual TResourceDetails* ResourceDetails(int index) const = 0;
  // Marks the module dirty and lets the record clean up; concrete containers then remove it.
  virtual void DeleteResource(int index);
  // Takes the record when the container keeps a list; the base container adds nothing.
  virtual void InsertResource(int index, std::unique_ptr<TResourceDetails> details) {}
  // Appends the record and returns its index; -1 when the container keeps no list.
  virtual int AddResource(std::unique_ptr<TResourceDetails> details) { return -1; }
  virtual int IndexOfResource(const TResourceDetails* details) const = 0;
  virtual int MoveResource(int currentIndex, int newIndex) { return -1; }
  virtual void SaveToStream(Stream& stream);
  virtual void LoadFromStream(Stream& stream);
  virtual void SaveToFile(const std::string& fileName);
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SortResources() {}

  void ClearDirty();
  // First record in list order with exactly this type and name (any language), or null.
  TResourceDetails* FindResource(const std::string& type, const std::string& name) const;
  // The first such record in the given language; when there is none, as FindResource.
  TResourceDetails* FindResourceInLanguage(const std::string& type, const std::string& name,
                                           uint32_t language) const;
  // One more than the greatest numeric name among records of the type, as decimal text.
  std::string GetUniqueResourceName(const std::string& type) const;

  Stream* FindResourceStream(const std::string& type, const std::string& name) override;
  Stream* FindResourceStreamInLanguage(const std::string& type, const std::string& name,
                                       uint32_t language) override;

  bool Dirty = false;
};

// Value of a text made of the digits 0-9 only that fits a signed 32-bit integer, else -1.
int32_t ResourceNameToInt(const std::string& text);
// Order of resource types and names: numbers by value first, then texts ignoring ASCII case.
int CompareResourceNames(const std::string& a, const std::string& b);

// A record class as the registry knows it: its class-level answers and its constructor.
struct ResourceDetailsClass {
  std::string (*baseType)();
  bool (*supportsRCData)(const std::string& name, std::span<const uint8_t> data);
  bool (*supportsData)(std::span<const uint8_t> data);
  std::unique_ptr<TResourceDetails> (*create)(TResourceModule* parent, uint32_t language,
                                              const std::string& name, const std::string& type,
                                              ByteBlock data);
};

template <class T>
const ResourceDetailsClass* ResourceClassOf() {
  static const ResourceDetailsClass descriptor{
      &T::GetBaseType, &T::SupportsRCData, &T::SupportsData,
      [](TResourceModule* parent, uint32_t language, const std::string& name,
         const std::string& type, ByteBlock data) -> std::unique_ptr<TResourceDetails> {
        return std::make_unique<T>(parent, language, name, type, std::move(data));
      }};
  return &descriptor;
}

void RegisterResourceDetails(const ResourceDetailsClass* recordClass);
void UnregisterResourceDetails(const ResourceDetailsClass* recordClass);
// The registered classes in registration order.
std::vector<const ResourceDetailsClass*> RegisteredResourceDetails();

// The record of the most specific registered class for these bytes (not added to parent).
std::unique_ptr<TResourceDetails> CreateResourceDetails(TResourceModule* parent, uint32_t language,
                                                        const std::string& name,
                                                        const std::string& type, ByteBlock data);

// A brand-new record of class T added to parent, then initialised; null when parent keeps no list.
template <class T>
T* CreateNewResource(TResourceModule& parent, uint32_t language, const std::string& name) {
  auto record =
      std::make_unique<T>(&parent, language, name, T::GetBaseType(), std::span<const uint8_t>());
  T* added = record.get();
  if (parent.AddResource(std::move(record)) < 0) return nullptr;
  added->InitNew();
  return added;
}

// As CreateNewResource, inserting the record at index.
template <class T>
T* CreateInsertedResource(TResourceModule& parent, uint32_t language, int index,
                          const std::string& name) {
  auto record =
      std::make_unique<T>(&parent, language, name, T::GetBaseType(), std::span<const uint8_t>());
  T* added = record.get();
  int countBefore = parent.ResourceCount();
  parent.InsertResource(index, std::move(record));
  if (parent.ResourceCount() == countBefore) return nullptr;
  added->InitNew();
  return added;
}

// A brand-new record of class T that belongs to no container.
template <class T>
std::unique_ptr<T> CreateFreeResource(uint32_t language, const std::string& name) {
  auto record =
      std::make_unique<T>(nullptr, language, name, T::GetBaseType(), std::span<const uint8_t>());
  record->InitNew();
  return record;
}

}  // namespace varnel
