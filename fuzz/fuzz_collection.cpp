// seeds: ico
// The collection file reader, then writing back what it read.

#include <cstddef>
#include <cstdint>

#include "appcore/reopenfileholder.h"
#include "base/errors.h"
#include "collection/fmlib.h"
#include "platform/fakeuserinterface.h"

using namespace varnel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeUserInterface ui;
  TChildHost host(ui, "Varnel");
  TSettings settings;
  MemoryClipboard clipboard;
  TPlainGridView grid;
  TfmLib lib(host, settings, clipboard, grid);
  // A valid header in front of the fuzzed items, so that the item reader is reached.
  MemoryStream stream;
  stream.WriteBuffer("ICC0\1\0\0\0ICON", 12);
  stream.WriteBuffer(data, size);
  stream.SetPosition(0);
  try {
    lib.ReadCollection(stream, "fuzz.icc");
  } catch (const Exception&) {
  }
  lib.SortIcons(TSortMode::ImageSize);
  lib.CorrectNames(false);
  return 0;
}
