// seeds: ico cur
// The ICO and CUR readers: the file reader, the stream readers, and writing back what was read.

#include <cstddef>
#include <cstdint>

#include "base/errors.h"
#include "icons/advancedicon.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  TAdvancedIcon icon;
  icon.LoadFromBytes(bytes);
  // The images a reader kept are drawable: drawing them must not raise.
  for (const auto& image : icon.Images()) {
    TBitmap composite;
    image->GetBitmaps(&composite, nullptr, clWhite, nullptr);
    image->GetShortDescription();
  }
  try {
    MemoryStream out;
    icon.SaveToStream(out);
  } catch (const Exception&) {
  }
  for (int relative = 0; relative < 2; ++relative) {
    SpanStream stream(bytes);
    TAdvancedCursor cursor;
    try {
      relative ? cursor.LoadCursorFromStreamRelative(stream) : cursor.LoadCursorFromStream(stream);
      stream.SetPosition(0);
      relative ? cursor.LoadFromStream(stream) : cursor.LoadFromStreamAbsolute(stream);
    } catch (const Exception&) {
    }
  }
  return 0;
}
