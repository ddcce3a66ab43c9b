// seeds: ico cur
// Icon projects: inputs behind the project magic (so that mutations reach the image records and
// layer lists) and as they are (icon and cursor streams); what was read is written and read back.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/errors.h"
#include "icons/iconproject.h"

namespace {

void Load(const std::vector<uint8_t>& bytes) {
  try {
    varnel::TIconProject project;
    varnel::SpanStream stream(bytes);
    project.LoadFromStream(stream);
    varnel::MemoryStream saved;
    project.SaveToStream(saved);
    saved.SetPosition(0);
    varnel::TIconProject reread;
    reread.LoadFromStream(saved);
    varnel::TAdvancedIcon icon;
    reread.AssignTo(icon);
  } catch (const varnel::Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 20)) return 0;
  std::vector<uint8_t> project = {0xB7, 'I', 'C', 'P'};
  project.insert(project.end(), data, data + size);
  Load(project);
  Load(std::vector<uint8_t>(data, data + size));
  return 0;
}
