#pragma once
// A collection without a window for tests: a scripted user interface, a clipboard in memory and
// a view that only keeps the cursor. Only for tests that link the collection library.

#include "appcore/reopenfileholder.h"
#include "collection/fmlib.h"
#include "platform/fakeuserinterface.h"

namespace varnel::test {

// An icon with one 24-bit image of each size, coloured by its size.
inline std::unique_ptr<TAdvancedIcon> IconOfSizes(std::initializer_list<int> sizes) {
  auto icon = std::make_unique<TAdvancedIcon>();
  for (int size : sizes) {
    TBitmap bitmap(size, size, PixelFormat::Bits24);
    bitmap.Fill(RGB(uint8_t(size), 10, 20));
    icon->Images().AddFromBitmap(bitmap, nullptr, 0);
  }
  return icon;
}

struct TestCollection {
  FakeUserInterface ui;
  TReopenFileHolder recent;
  TChildHost host{ui, "Varnel", &recent};
  TSettings settings;
  MemoryClipboard clipboard;
  TPlainGridView grid;
  TfmLib lib{host, settings, clipboard, grid};
};

}  // namespace varnel::test
