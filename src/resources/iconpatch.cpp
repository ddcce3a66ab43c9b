#include "resources/iconpatch.h"

#include <algorithm>

#include "base/fileio.h"
#include "base/mappedfile.h"
#include "resources/bytesearch.h"
#include "resources/modulesignature.h"

namespace varnel {

namespace {

// Beyond this many places holding an image's old bytes, the rest are not tried: each try
// reloads the whole module.
constexpr int kMaxCandidatesTried = 64;

const TSubIcon& ImageOf(const TIconLibrary& library, int icon, int image) {
  return *library.Icon(icon)->Images()[image];
}

int ImageCountOf(const TIconLibrary& library, int icon) {
  return library.Icon(icon)->Images().Count();
}

// The refusal when the file's icons and the library's differ in shape; empty when they agree.
std::string ShapeMismatch(const TIconLibrary& file, const TIconLibrary& library) {
  if (file.Count() != library.Count())
    return "Icon amounts in source file and library are different";
  for (int k = 0; k < library.Count(); ++k)
    if (ImageCountOf(file, k) != ImageCountOf(library, k))
      return "Icon " + std::to_string(k) + ": images amounts in file and library are different";
  for (int k = 0; k < library.Count(); ++k)
    for (int i = 0; i < ImageCountOf(library, k); ++i) {
      std::string where = "Icon " + std::to_string(k) + ", subicon " + std::to_string(i);
      if (ImageOf(file, k, i).DataSize() != ImageOf(library, k, i).DataSize())
        return where + ": data sizes in source file and library are different";
      // A cursor's hotspot lies before its image bytes, where writing in place does not reach.
      if (ImageOf(file, k, i).HotSpot() != ImageOf(library, k, i).HotSpot())
        return where + ": hot spots in source file and library are different";
    }
  return {};
}

class InPlacePatch {
 public:
  InPlacePatch(const SharedFile& file, const TIconLibrary& source, const TIconLibrary& library)
      : file_(file),
        source_(source),
        library_(library),
        output_(file->Bytes().begin(), file->Bytes().end()) {}

  void PlaceImage(int k, int i) {
    const ByteBlock& old = ImageOf(source_, k, i).Data();
    const TSubIcon& image = ImageOf(library_, k, i);
    if (image.Data() == old) return;
    int64_t count = 0;
    int64_t at = FindFirstOccurrence(old, file_->Bytes(), count);
    if (count > 1) at = FirstRightCandidate(k, i, at);
    if (at >= 0) std::copy(image.Data().begin(), image.Data().end(), output_.begin() + at);
  }

  std::vector<uint8_t>& Output() { return output_; }

 private:
  // The first place, in file order from first, where the image shows in its own place once
  // written there; -1 when there is none.
  int64_t FirstRightCandidate(int k, int i, int64_t first) const {
    const ByteBlock& old = ImageOf(source_, k, i).Data();
    int64_t at = first;
    for (int tried = 0; at >= 0 && tried < kMaxCandidatesTried; ++tried) {
      if (ShowsInPlace(k, i, at)) return at;
      at = FindNextOccurrence(old, file_->Bytes(), at + 1);
    }
    return -1;
  }

  // Reloads the output with the image written at `at` (from memory: no file is made).
  bool ShowsInPlace(int k, int i, int64_t at) const {
    const TSubIcon& image = ImageOf(library_, k, i);
    std::vector<uint8_t> trial = output_;
    std::copy(image.Data().begin(), image.Data().end(), trial.begin() + at);
    TIconLibrary reloaded;
    try {
      reloaded.LoadFromFile(std::make_shared<const MappedFile>(file_->Path(), std::move(trial)));
    } catch (const std::exception&) {
      return false;
    }
    return reloaded.Count() == library_.Count() &&
           ImageCountOf(reloaded, k) == ImageCountOf(library_, k) &&
           ImageOf(reloaded, k, i).SameData(image);
  }

  SharedFile file_;
  const TIconLibrary& source_;
  const TIconLibrary& library_;
  std::vector<uint8_t> output_;
};

}  // namespace

IconUpdateResult PatchIconsInPlace(const std::string& fileName, const TIconLibrary& library) {
  IconUpdateResult result;
  SharedFile file = MappedFile::Open(fileName);
  TIconLibrary source;
  source.LoadFromFile(file);
  result.message = ShapeMismatch(source, library);
  if (!result.message.empty()) return result;
  InPlacePatch patch(file, source, library);
  for (int k = 0; k < library.Count(); ++k)
    for (int i = 0; i < ImageCountOf(library, k); ++i) patch.PlaceImage(k, i);
  std::vector<uint8_t>& output = patch.Output();
  if (std::ranges::equal(output, file->Bytes())) return result;
  result.signatureRemoved = RemoveCertificateTable(output);
  RefreshNonZeroCheckSum(output);
  WriteFileAtomic(fileName, output);
  result.written = true;
  return result;
}

}  // namespace varnel
