#include "collection/similarcommands.h"

#include "collection/busyscope.h"
#include "collection/similarmerge.h"
#include "collection/similarsignatures.h"

namespace varnel {

namespace {

// Shows how far a step got in the progress window and lets the stop through.
SimilarProgress StepProgress(TfmLib& lib, const std::string& step, int total) {
  return [&lib, step, total](int done) {
    lib.UI().SetProgressField(TProgressField::Count,
                              step + " " + std::to_string(done) + " of " + std::to_string(total));
    lib.UI().ProcessMessages();
    return !lib.TakeProgressStop();
  };
}

// The index of the given items' signatures (positions in the list count from 0); nothing when
// stopped.
std::optional<SimilarIndex> IndexOf(TfmLib& lib, const std::vector<int>& positions) {
  std::vector<const TAdvancedIcon*> icons;
  for (int position : positions) icons.push_back(lib.Items().Icons(position));
  auto signatures =
      MakeIconSignatures(icons, StepProgress(lib, "Signatures", int(positions.size())));
  if (!signatures) return std::nullopt;
  return SimilarIndex(std::move(*signatures));
}

std::vector<int> AllPositions(const TfmLib& lib) {
  std::vector<int> positions;
  for (int i = 0; i < lib.Count(); ++i) positions.push_back(i);
  return positions;
}

std::vector<int> MergePositions(const TfmLib& lib) {
  if (lib.SelectedCount() < 2) return AllPositions(lib);
  std::vector<int> positions;
  for (int i = 0; i < lib.Count(); ++i)
    if (lib.IsSelected(i)) positions.push_back(i);
  return positions;
}

void Inform(TfmLib& lib, const std::string& text) {
  lib.UI().ShowMessage(MakeMessage(TMessageKind::Information, text));
}

}  // namespace

int FindSimilarIcons(TfmLib& lib, int threshold) {
  lib.CheckNotBusy();
  int current = lib.Grid().Current();
  if (current < 0 || current >= lib.Count()) return Inform(lib, "No current icon"), 0;
  std::vector<SimilarNeighbour> similar;
  {
    TBusyScope busy(lib, TBusyKind::LongOperation);
    auto index = IndexOf(lib, AllPositions(lib));
    if (!index) return 0;
    for (const SimilarNeighbour& neighbour : index->Nearest(current, index->Count()))
      if (neighbour.distance <= threshold) similar.push_back(neighbour);
  }
  if (similar.empty()) return Inform(lib, "No similar icons found"), 0;
  for (int i = 0; i < lib.Count(); ++i) lib.SetSelected(i, i == current);
  for (const SimilarNeighbour& neighbour : similar) lib.SetSelected(neighbour.index, true);
  lib.Grid().SetCurrent(similar.front().index);
  lib.Grid().SelectionChanged();
  lib.Grid().Repaint();
  lib.UI().SetStatusText(1, std::to_string(similar.size()) + " similar icons selected");
  return int(similar.size());
}

int MergeSimilarSizes(TfmLib& lib, int threshold) {
  lib.CheckNotBusy();
  std::vector<int> positions = MergePositions(lib);
  std::vector<std::vector<int>> groups;
  {
    TBusyScope busy(lib, TBusyKind::LongOperation);
    auto index = IndexOf(lib, positions);
    if (!index) return 0;
    auto nearest = index->AllNearestPictures(kGroupCandidates,
                                             StepProgress(lib, "Comparing", index->PictureCount()));
    if (!nearest) return 0;
    groups = FindSimilarGroups(*index, *nearest, threshold);
  }
  if (groups.empty()) return Inform(lib, "No similar icons found"), 0;
  int icons = 0;
  for (std::vector<int>& group : groups) {
    icons += int(group.size());
    for (int& member : group) member = positions[size_t(member)];
  }
  std::string question = "Merge " + std::to_string(icons) + " icons into " +
                         std::to_string(groups.size()) + " icons holding all their sizes?";
  if (!lib.UI().AskConfirmation({question, kCaptionConfirmation, false}).ok) return 0;
  int removed = MergeSimilarGroups(lib.Document, groups);
  lib.SelectOnly(groups.front().front());
  lib.Grid().Relayout();
  lib.SetModified(true);
  return removed;
}

}  // namespace varnel
