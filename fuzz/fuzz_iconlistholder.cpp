// seeds:
// The clipboard's component stream: the icon-list holder reads it, every image it kept is drawn
// (which must not fail), and the list is written back and read again. The two fixed integers
// that open the stream come first, so that the item reader is reached without seed files.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "base/errors.h"
#include "resources/iconlistholder.h"

using namespace varnel;

namespace {

// Images kept by a reader are drawable: drawing them must not raise.
void DrawEveryImage(const TIconList& list) {
  TBitmap canvas(16, 16, PixelFormat::Bits32);
  for (int i = 0; i < list.Count(); ++i)
    for (const auto& image : list.Icons(i)->Images()) {
      if (!image->IsDrawable()) std::abort();
      TBitmap composite, picture, mask;
      image->GetBitmaps(&composite, &picture, clWhite, &mask);
      image->Draw(canvas, 0, 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryStream stream;
  const uint8_t opening[] = {2, 0, 2, 1};  // the integers 0 and 1
  stream.WriteBuffer(opening, sizeof opening);
  stream.WriteBuffer(data, size);
  stream.SetPosition(0);
  TIconListHolder holder;
  try {
    holder.ReadProperties(stream);
  } catch (const Exception&) {
    return 0;
  }
  DrawEveryImage(holder.IconList());
  MemoryStream written;
  holder.WriteProperties(written);
  written.SetPosition(0);
  TIconListHolder reread;
  reread.ReadProperties(written);
  if (reread.IconList().Count() != holder.IconList().Count()) std::abort();
  return 0;
}
