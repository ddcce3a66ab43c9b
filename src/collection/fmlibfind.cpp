// TfmLib: locating items by name or by source.

#include <cctype>

#include "collection/fmlib.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

bool IsWordCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
         (static_cast<unsigned char>(c) & 0x80);
}

bool Matches(const std::string& candidate, const std::string& pattern, bool wholeWord) {
  if (!wholeWord) return candidate.find(pattern) != std::string::npos;
  for (size_t at = candidate.find(pattern); at != std::string::npos;
       at = candidate.find(pattern, at + 1)) {
    size_t end = at + pattern.size();
    bool startsWord = at == 0 || !IsWordCharacter(candidate[at - 1]);
    bool endsWord = end == candidate.size() || !IsWordCharacter(candidate[end]);
    if (startsWord && endsWord) return true;
  }
  return false;
}

}  // namespace

void TfmLib::FindNext(const TFindOptions& options) {
  std::string pattern = options.matchCase ? options.text : LowerCase(options.text);
  int from = grid_.Current();
  int start = from + 1;
  auto matchAt = [&](int i) {
    std::string candidate = options.mode == TFindMode::Name ? Items().Names(i) : SourceOf(i);
    if (!options.matchCase) candidate = LowerCase(candidate);
    return Matches(candidate, pattern, options.wholeWord);
  };
  int found = -1;
  for (int i = std::max(start, 0); i < Count() && found < 0; ++i)
    if (matchAt(i)) found = i;
  for (int i = 0; start > 0 && i < Count() && found < 0; ++i)
    if (matchAt(i)) found = i;
  if (found < 0) {
    UI().ShowMessage(MakeMessage(TMessageKind::Information, "Not found"));
    return;
  }
  SelectOnly(found);
  grid_.Repaint();
  if (found == from) UI().ShowMessage(MakeMessage(TMessageKind::Information, "Search is finished"));
}

}  // namespace varnel
