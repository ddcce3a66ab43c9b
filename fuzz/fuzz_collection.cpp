// seeds: ico
// The collection file reader, then everything the program does with what it read: drawing each
// item into a grid cell, hashing, every sort, deleting duplicates, saving and reading back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "appcore/reopenfileholder.h"
#include "base/errors.h"
#include "collection/fmlib.h"
#include "collection/iconhash.h"
#include "icons/icondrawing.h"
#include "platform/fakeuserinterface.h"

using namespace varnel;

namespace {

// Every image the readers kept must draw and hash without failing.
void DrawAndHash(const TAdvancedIcon& icon) {
  TBitmap cell(48, 48, PixelFormat::Bits24);
  for (const auto& image : icon.Images()) {
    if (!image->IsDrawable()) std::abort();
    DrawFitted(cell, 0, 0, true, true, clWhite, *image, 48, 48);
  }
  if (const TSubIcon* best = icon.GetBestImage(128, 128, 32))
    DrawFitted(cell, 0, 0, true, true, clWhite, *best, 48, 48);
  SearchHash(icon);
  CompareHash(icon);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeUserInterface ui;
  TChildHost host(ui, "Varnel");
  TSettings settings;
  settings.ConfirmDIFL = false;
  MemoryClipboard clipboard;
  TPlainGridView grid;
  TfmLib lib(host, settings, clipboard, grid);
  // A valid header in front of the fuzzed items, so that the item reader is reached. The items
  // are read as from a mapped file (images viewing its bytes); reading back the save below
  // takes the copying reader.
  MemoryStream header;
  header.WriteBuffer("ICC0\1\0\0\0ICON", 12);
  header.WriteBuffer(data, size);
  auto file = std::make_shared<const MappedFile>("fuzz.icc", header.TakeBytes());
  SpanStream stream(file->Bytes());
  try {
    lib.ReadCollection(stream, "fuzz.icc", file);
  } catch (const Exception&) {
  }
  for (int i = 0; i < lib.Count(); ++i) DrawAndHash(*lib.Items().Icons(i));
  for (int mode = 1; mode <= 7; ++mode) lib.SortIcons(TSortMode(mode));
  lib.DeleteDuplicates();
  lib.CorrectNames(false);
  MemoryStream saved;
  lib.Document.Write(saved);
  saved.SetPosition(0);
  int count = lib.Count();
  lib.ReadCollection(saved, "saved.icc");
  if (lib.Count() != count) std::abort();
  return 0;
}
