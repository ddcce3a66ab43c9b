#pragma once
// A collection without a window for tests: a scripted user interface, a clipboard in memory and
// a view that only keeps the cursor. Only for tests that link the collection library.

#include "appcore/reopenfileholder.h"
#include "collection/fmlib.h"
#include "platform/fakeuserinterface.h"

namespace varnel::test {

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
