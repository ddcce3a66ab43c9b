#pragma once
// Resource files (.res) as the 32-bit resource compilers write them.

#include "resources/resourcelist.h"

namespace varnel {

class TResModule : public TResourceList {
 public:
  // Reads every resource of the file; a header that does not fit the file ends the reading.
  void LoadFromStream(Stream& stream) override;
  // Maps the file; the records view its bytes.
  void LoadFromFile(const std::string& fileName) override;
  // The records view the bytes when keeper keeps them alive, else copy theirs.
  void LoadFromBytes(std::span<const uint8_t> bytes, std::shared_ptr<const void> keeper = nullptr);
};

}  // namespace varnel
