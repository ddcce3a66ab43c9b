// TfmLib: reading, merging and writing collection files with the window's busy state and
// messages.

#include <cstdio>

#include "appcore/shareddialogs.h"
#include "base/atomicfilestream.h"
#include "base/fileio.h"
#include "base/filereadstream.h"
#include "collection/fmlib.h"

namespace varnel {

void TfmLib::ReadCollectionFile(const std::string& name) {
  // Read through a buffer: the file's bytes are not held beside the items built from them.
  FileReadStream stream(name);
  ReadCollection(stream, name);
}

void TfmLib::ReadCollection(Stream& stream, const std::string& name) {
  Document.Clear();
  SetCaptionFromFile(name);
  SetModified(false);
  WhileBusySelectingFirst([&] {
    Document.Read(stream, name);
    FileName = name;
  });
  // Inside a longer busy state (opening) the report waits until that state has ended.
  if (!Busy()) ReportDroppedImages();
}

void TfmLib::MergeCollectionFile(const std::string& name, TDuplicateIndex* duplicates) {
  // Read through a buffer: the file's bytes are not held beside the items built from them.
  FileReadStream stream(name);
  int before = Count();
  struct MarkWhenGrown {
    TfmLib& lib;
    int before;
    ~MarkWhenGrown() {
      if (lib.Count() > before) lib.SetModified(true);
    }
  } mark{*this, before};
  Document.Merge(stream, name, duplicates);
}

void TfmLib::WriteCollectionFile(const std::string& name) const {
  // Written straight to the file: a large collection is not held twice in memory.
  AtomicFileStream file(name);
  Document.Write(file);
  file.Commit();
}

void TfmLib::ReportDroppedImages() {
  int dropped = Document.TakeDroppedImageCount();
  if (!dropped) return;
  char text[128];
  std::snprintf(text, sizeof text, "%d damaged image%s could not be read and %s left out", dropped,
                dropped == 1 ? "" : "s", dropped == 1 ? "was" : "were");
  UI().ShowMessage(MakeMessage(TMessageKind::Warning, text));
}

}  // namespace varnel
