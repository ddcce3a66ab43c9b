#include "resources/resourcesectionbuilder.h"

#include <algorithm>

#include "base/byteorder.h"
#include "resources/pefile.h"
#include "resources/utf16text.h"

namespace varnel {

namespace {

constexpr uint32_t kHighBit = 0x80000000;
constexpr uint64_t kDirectorySize = 16;
constexpr uint64_t kEntrySize = 8;
constexpr uint64_t kDataEntrySize = 16;

uint64_t RoundUp(uint64_t value, uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

TResourceNode::Entry& FindOrAppendBranch(TResourceNode& node, const std::string& name, bool isId) {
  for (TResourceNode::Entry& entry : node.Entries)
    if (entry.Name == name) return entry;
  TResourceNode::Entry& entry = node.Entries.emplace_back();
  entry.Name = name;
  entry.IsId = isId;
  entry.Child = std::make_unique<TResourceNode>();
  return entry;
}

void PutLeaf(TResourceNode& node, const TResourceDetails& record) {
  std::string language = std::to_string(record.ResourceLanguage() & ~kHighBit);
  for (TResourceNode::Entry& entry : node.Entries) {
    if (entry.Name != language) continue;
    entry.LeafData = record.Bytes();  // the later record wins
    return;
  }
  TResourceNode::Entry& entry = node.Entries.emplace_back();
  entry.Name = language;
  entry.IsId = true;
  entry.IsLeaf = true;
  entry.LeafData = record.Bytes();
  entry.LeafCodePage = record.CodePage;
}

TResourceNode BuildTree(const std::vector<const TResourceDetails*>& records) {
  TResourceNode root;
  for (const TResourceDetails* record : records) {
    const std::string& type = record->ResourceType();
    const std::string& name = record->ResourceName();
    TResourceNode::Entry& typeEntry = FindOrAppendBranch(root, type, IsCanonicalResourceId(type));
    TResourceNode::Entry& nameEntry = FindOrAppendBranch(
        *typeEntry.Child, name, IsCanonicalResourceId(name) && !record->NameIsString);
    PutLeaf(*nameEntry.Child, *record);
  }
  return root;
}

// Byte totals of the four areas of the section.
struct SectionMeasure {
  uint64_t directories = 0;
  uint64_t dataEntries = 0;
  uint64_t strings = 0;
  uint64_t data = 0;

  void Add(const TResourceNode& node) {
    directories += kDirectorySize + kEntrySize * node.Entries.size();
    for (const TResourceNode::Entry& entry : node.Entries) {
      if (!entry.IsId) strings += 2 * Utf8ToUtf16(entry.Name).size() + 2;
      if (entry.IsLeaf) {
        dataEntries += kDataEntrySize;
        data += RoundUp(entry.LeafData.size(), 4);
      } else {
        Add(*entry.Child);
      }
    }
  }
};

// Writes the tree depth-first: each directory, then at once the children its entries lead to.
class SectionWriter {
 public:
  SectionWriter(const SectionMeasure& measure, uint32_t sectionVirtualAddress,
                ResourceDirectoryStamp stamp)
      : stamp_(stamp), sectionVirtualAddress_(sectionVirtualAddress) {
    nextDataEntry_ = measure.directories;
    nextString_ = measure.directories + measure.dataEntries;
    dataStart_ = RoundUp(nextString_ + measure.strings, 16);
    uint64_t total = dataStart_ + measure.data;
    if (total + sectionVirtualAddress > UINT32_MAX)
      throw EPEException("Resource section too large");
    out_.resize(total);
  }

  std::vector<uint8_t> Write(const TResourceNode& root) {
    WriteDirectory(root);
    return std::move(out_);
  }

 private:
  uint32_t WriteDirectory(const TResourceNode& node) {
    if (node.Entries.size() > 0xFFFF) throw EPEException("Too many resources in one directory");
    uint32_t offset = uint32_t(nextDirectory_);
    nextDirectory_ += kDirectorySize + kEntrySize * node.Entries.size();
    auto ids = std::count_if(node.Entries.begin(), node.Entries.end(),
                             [](const TResourceNode::Entry& entry) { return entry.IsId; });
    uint8_t* header = &out_[offset];
    WriteU32LE(header + 4, stamp_.timeDateStamp);
    WriteU16LE(header + 8, stamp_.majorVersion);
    WriteU16LE(header + 10, stamp_.minorVersion);
    WriteU16LE(header + 12, uint16_t(node.Entries.size() - size_t(ids)));
    WriteU16LE(header + 14, uint16_t(ids));
    uint64_t slot = offset + kDirectorySize;
    for (bool idPass : {false, true})
      for (const TResourceNode::Entry& entry : node.Entries)
        if (entry.IsId == idPass) {
          WriteEntry(slot, entry);
          slot += kEntrySize;
        }
    return offset;
  }

  void WriteEntry(uint64_t slot, const TResourceNode::Entry& entry) {
    uint32_t name =
        entry.IsId ? uint32_t(ResourceNameToInt(entry.Name)) : kHighBit | WriteString(entry.Name);
    WriteU32LE(&out_[slot], name);
    uint32_t target =
        entry.IsLeaf ? WriteDataEntry(entry) : kHighBit | WriteDirectory(*entry.Child);
    WriteU32LE(&out_[slot + 4], target);
  }

  uint32_t WriteString(const std::string& text) {
    std::u16string units = Utf8ToUtf16(text);
    if (units.size() > 0xFFFF) throw EPEException("Resource name too long");
    uint32_t offset = uint32_t(nextString_);
    WriteU16LE(&out_[offset], uint16_t(units.size()));
    for (size_t i = 0; i < units.size(); ++i) WriteU16LE(&out_[offset + 2 + 2 * i], units[i]);
    nextString_ += 2 + 2 * units.size();
    return offset;
  }

  uint32_t WriteDataEntry(const TResourceNode::Entry& entry) {
    std::span<const uint8_t> data = entry.LeafData;
    uint32_t offset = uint32_t(nextDataEntry_);
    nextDataEntry_ += kDataEntrySize;
    WriteU32LE(&out_[offset], uint32_t(dataStart_ + nextData_ + sectionVirtualAddress_));
    WriteU32LE(&out_[offset + 4], uint32_t(data.size()));
    WriteU32LE(&out_[offset + 8], entry.LeafCodePage);
    std::copy(data.begin(), data.end(), out_.begin() + int64_t(dataStart_ + nextData_));
    nextData_ += RoundUp(data.size(), 4);
    return offset;
  }

  ResourceDirectoryStamp stamp_;
  uint64_t sectionVirtualAddress_;
  std::vector<uint8_t> out_;
  uint64_t nextDirectory_ = 0;
  uint64_t nextDataEntry_ = 0;
  uint64_t nextString_ = 0;
  uint64_t dataStart_ = 0;
  uint64_t nextData_ = 0;
};

}  // namespace

ResourceDirectoryStamp ResourceDirectoryStamp::Of(std::span<const uint8_t> sectionBytes) {
  if (sectionBytes.size() < kDirectorySize) return {};
  return {ReadU32LE(&sectionBytes[4]), ReadU16LE(&sectionBytes[8]), ReadU16LE(&sectionBytes[10])};
}

bool IsCanonicalResourceId(const std::string& text) {
  // Integer ids are 16-bit words from 1 on (0 stands for no resource); larger numbers, and 0,
  // are stored as names.
  int32_t value = ResourceNameToInt(text);
  return value >= 1 && value <= 0xFFFF && std::to_string(value) == text;
}

std::vector<uint8_t> BuildResourceSection(const std::vector<const TResourceDetails*>& records,
                                          uint32_t sectionVirtualAddress,
                                          ResourceDirectoryStamp stamp) {
  TResourceNode root = BuildTree(records);
  SectionMeasure measure;
  measure.Add(root);
  return SectionWriter(measure, sectionVirtualAddress, stamp).Write(root);
}

}  // namespace varnel
