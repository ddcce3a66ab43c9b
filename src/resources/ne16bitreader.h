#pragma once
// The icons of 16-bit (NE) modules and 16-bit ICL libraries, read from the NE resource table:
// icon groups (RT_GROUP_ICON) whose entries name icon resources (RT_ICON), named by the names
// table that follows a library's resource table or by their resource ids in other modules, then
// cursor groups (RT_GROUP_CURSOR) whose entries name cursor resources (RT_CURSOR), named by their
// resource ids.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/mappedfile.h"
#include "resources/iclreader.h"

namespace varnel {

// An icon read from a 16-bit library, with the name it gets when the library names too few.
class TICL16Icon : public TAdvancedIcon {
 public:
  std::string DefaultName;
};

// An image made from a group entry and the data block of its icon resource; it validates itself.
class TICL16IconImage : public TSubIcon {
 public:
  TICL16IconImage(const TIconDirEntry& entry, std::span<const uint8_t> block);
};

class T16BitReader : public TICLReader {
 public:
  // Maps the file; raises EFileError when it cannot be opened.
  explicit T16BitReader(const std::string& fileName);
  // Reads a file mapped before.
  explicit T16BitReader(SharedFile file);
  // Reads bytes in memory that outlive the reader; baseName names icons the library leaves
  // unnamed.
  T16BitReader(std::span<const uint8_t> bytes, std::string baseName);

  bool ReadIcons() override;
  bool ReadNames() override;

  std::string BaseName;
  uint16_t NEOffset = 0;
  uint64_t ResourceTableOffset = 0;
  uint64_t NamesTableOffset = 0;
  uint16_t AlignShift = 0;

 private:
  struct NameInfo {
    uint16_t offset;
    uint16_t length;
    uint16_t id;
  };
  // The records of one kind of group and of the images its entries name.
  struct GroupTables {
    std::vector<NameInfo> images;
    std::vector<NameInfo> groups;
    bool hasImages = false;
    bool hasGroups = false;
    std::unordered_map<uint16_t, size_t> imageById;
    bool Complete() const { return hasImages && hasGroups; }
    void IndexImages();
  };

  void ReadHeader();
  void ReadResourceTable();
  uint64_t ReadTypeBlocks(uint64_t position);
  std::vector<NameInfo> ReadNameInfos(uint64_t position, uint16_t count) const;
  void ReadNamesAfterTable(uint64_t position);
  std::span<const uint8_t> ResourceBytes(const NameInfo& info) const;
  std::unique_ptr<TICL16Icon> LoadGroup(size_t index) const;
  std::unique_ptr<TAdvancedIcon> LoadCursorGroup(size_t index) const;
  void AppendGroupImages(TAdvancedIcon& icon, std::span<const uint8_t> group,
                         const GroupTables& tables, bool cursor) const;
  std::string DefaultNameOf(size_t index) const;
  std::string NameOfGroup(size_t index) const;
  // A numeric resource id as its decimal text, a named one as the string the table holds (its
  // number when that lies outside the file).
  std::string NameOfResourceId(uint16_t id) const;
  std::vector<TNamedIcon> ReadItems(bool withIcons) const;
  uint16_t U16At(uint64_t offset) const;

  SharedFile file_;
  std::span<const uint8_t> bytes_;
  GroupTables icons_;
  GroupTables cursors_;
  std::vector<std::string> names_;
  bool iclNames_ = false;  // the names follow the "ICL" mark of a library's names table
};

// The name a file gives the icons of a library: its name without folder and extension.
std::string LibraryBaseName(const std::string& fileName);

}  // namespace varnel
