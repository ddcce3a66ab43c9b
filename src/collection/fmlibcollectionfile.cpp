// TfmLib: reading, merging and writing collection files with the window's busy state and
// messages.

#include <cstdio>

#include "appcore/shareddialogs.h"
#include "base/atomicfilestream.h"
#include "base/fileio.h"
#include "base/filereadstream.h"
#include "base/mappedfile.h"
#include "collection/fmlib.h"

namespace varnel {

namespace {

// The records' headers are read in small pieces (images are skipped over); the images' bytes
// stay in the mapping, whose pages are touched only by the images that are drawn or saved.
constexpr size_t kRecordWindow = 4096;

}  // namespace

void TfmLib::ReadCollectionFile(const std::string& name) {
  FileReadStream stream(name, kRecordWindow);
  ReadCollection(stream, name, MappedFile::OpenDescriptor(name, stream.Descriptor()));
}

void TfmLib::ReadCollection(Stream& stream, const std::string& name, const SharedFile& mapped) {
  Document.Clear();
  SetCaptionFromFile(name);
  SetModified(false);
  WhileBusySelectingFirst([&] {
    Document.Read(stream, name, mapped);
    FileName = name;
  });
  // Inside a longer busy state (opening) the report waits until that state has ended.
  if (!Busy()) ReportDroppedImages();
}

void TfmLib::MergeCollectionFile(const std::string& name, TDuplicateIndex* duplicates) {
  FileReadStream stream(name, kRecordWindow);
  SharedFile mapped = MappedFile::OpenDescriptor(name, stream.Descriptor());
  int before = Count();
  struct MarkWhenGrown {
    TfmLib& lib;
    int before;
    ~MarkWhenGrown() {
      if (lib.Count() > before) lib.SetModified(true);
    }
  } mark{*this, before};
  Document.Merge(stream, name, duplicates, mapped);
}

void TfmLib::WriteCollectionFile(const std::string& name) const {
  // Written straight to the file: a large collection is not held twice in memory.
  AtomicFileStream file(name);
  file.CopyFrom(Document.MappedFiles());
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
