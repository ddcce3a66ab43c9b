#include "shell/filetypeslist.h"

#include <algorithm>

#include "platform/textfunctions.h"

namespace varnel {

FileTypesList::FileTypesList(const std::string& text, char separator, std::string defaultText)
    : separator_(separator), defaultText_(std::move(defaultText)) {
  Load(text);
}

void FileTypesList::Load(const std::string& text) {
  entries_.clear();
  std::string lower = LowerCase(text);
  size_t start = 0;
  while (start <= lower.size()) {
    size_t end = std::min(lower.find(separator_, start), lower.size());
    if (end > start) entries_.push_back(lower.substr(start, end - start));
    start = end + 1;
  }
  selected_ = entries_.empty() ? -1 : 0;
}

void FileTypesList::Select(int index) {
  selected_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

std::string FileTypesList::SelectedText() const {
  return selected_ < 0 ? std::string() : entries_[selected_];
}

void FileTypesList::Add(const std::string& text) {
  std::string mask = Trim(text);
  if (mask.empty()) return;
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const std::string& entry) { return SameText(entry, mask); });
  if (found != entries_.end()) {
    selected_ = static_cast<int>(found - entries_.begin());
    return;
  }
  entries_.insert(entries_.begin(), mask);
  selected_ = 0;
}

void FileTypesList::DeleteSelected() {
  if (selected_ < 0) return;
  entries_.erase(entries_.begin() + selected_);
  selected_ = std::min(selected_, static_cast<int>(entries_.size()) - 1);
}

void FileTypesList::LoadDefault() {
  Load(defaultText_);
}

std::string FileTypesList::Text() const {
  std::string text;
  for (const std::string& entry : entries_) {
    std::string mask = Trim(entry);
    if (mask.empty()) continue;
    if (!text.empty()) text += separator_;
    text += mask;
  }
  return text;
}

}  // namespace varnel
