// seeds: ico built/ne
// Reads arbitrary bytes as a 16-bit icon library (icons, then names only) and writes what was
// read as a 16-bit library again. With the first byte odd, the remaining bytes follow a valid
// MZ and NE header as the resource table, so that the table walk is reached without NE seeds.

#include <cstdint>
#include <span>
#include <vector>

#include "base/byteorder.h"
#include "resources/iclreaderror.h"
#include "resources/ne16bitreader.h"
#include "resources/ne16bitwriter.h"

namespace {

using namespace varnel;

std::vector<uint8_t> BehindNEHeader(std::span<const uint8_t> table) {
  std::vector<uint8_t> file(192, 0);
  file[0] = 'M';
  file[1] = 'Z';
  WriteU16LE(&file[60], 128);
  file[128] = 'N';
  file[129] = 'E';
  WriteU16LE(&file[164], 64);  // resource table right after the header
  WriteU16LE(&file[166], 64);  // the names table: any non-zero value
  file.insert(file.end(), table.begin(), table.end());
  return file;
}

void ReadAndRewrite(std::span<const uint8_t> bytes) {
  T16BitReader reader(bytes, "fuzz");
  if (reader.ReadIcons()) {
    TIconList icons;
    for (TNamedIcon& item : reader.List) icons.AddIcon(item.name, std::move(item.icon));
    try {
      T16BitWriter(icons).BuildImage();
    } catch (const EICLReadError&) {
      // More icons or images than a 16-bit library can number.
    }
  }
  reader.ReadNames();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  if (!bytes.empty() && (bytes[0] & 1))
    ReadAndRewrite(BehindNEHeader(bytes.subspan(1)));
  else
    ReadAndRewrite(bytes);
  return 0;
}
