#pragma once
// Builds the bytes of a resource section (directories, data entries, strings, data) from records.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "resources/resourcedetails.h"

namespace varnel {

// The time stamp and version a rebuilt section keeps from the directory it replaces.
struct ResourceDirectoryStamp {
  uint32_t timeDateStamp = 0;
  uint16_t majorVersion = 0;
  uint16_t minorVersion = 0;

  // The stamp of the root directory at the start of sectionBytes (zero when there is none).
  static ResourceDirectoryStamp Of(std::span<const uint8_t> sectionBytes);
};

// One directory level of the tree being written.
struct TResourceNode {
  struct Entry {
    std::string Name;
    bool IsId = false;
    bool IsLeaf = false;
    std::unique_ptr<TResourceNode> Child;
    std::span<const uint8_t> LeafData;
    uint32_t LeafCodePage = 0;
  };
  std::vector<Entry> Entries;
};

// A name written as a numeric entry: canonical decimal ("12", not "0012") that fits 16 bits.
bool IsCanonicalResourceId(const std::string& text);

// The section content for the records, in list order; a later record with the same type, name
// and language replaces an earlier one. Data RVAs are relative to sectionVirtualAddress.
std::vector<uint8_t> BuildResourceSection(const std::vector<const TResourceDetails*>& records,
                                          uint32_t sectionVirtualAddress,
                                          ResourceDirectoryStamp stamp);

}  // namespace varnel
