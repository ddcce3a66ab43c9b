#pragma once
// TZipMemoFile: a ZIP archive built in memory (deflated members) and written in one piece.

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

namespace varnel {

class TZipMemoFile {
 public:
  // Adds a member without data; returns its index.
  int AddMember(const std::string& name, uint32_t externalAttributes = 0);
  // Deflates the data into the member and stamps it with the current time.
  void SetMemberData(int index, std::span<const uint8_t> bytes);
  void SetMemberDate(int index, std::time_t when);
  int Count() const { return int(members_.size()); }
  // The whole archive: local headers with data, central directory, end record.
  std::vector<uint8_t> Bytes() const;
  // Writes the archive, replacing the file only when it is complete.
  void SaveToFile(const std::string& path) const;

 private:
  struct Member {
    std::string name;
    uint32_t externalAttributes = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t uncompressedSize = 0;
    std::vector<uint8_t> deflated;
  };
  Member& At(int index);

  std::vector<Member> members_;
};

}  // namespace varnel
