#include "shell/mimeappslist.h"

#include "platform/textfunctions.h"

namespace varnel {

namespace {

bool IsBlank(const std::string& line) {
  return Trim(line).empty();
}

bool IsSectionHeader(const std::string& line) {
  return Trim(line).starts_with('[');
}

// The key of a "key=value" line, trimmed; empty for other lines.
std::string KeyOf(const std::string& line) {
  size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : Trim(line.substr(0, equals));
}

}  // namespace

MimeAppsList::MimeAppsList(std::string_view text) {
  if (text.empty()) return;
  endsWithLineBreak_ = text.back() == '\n';
  if (endsWithLineBreak_) text.remove_suffix(1);
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines_.emplace_back(text.substr(start));
      return;
    }
    lines_.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::string MimeAppsList::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    text += lines_[i];
    if (i + 1 < lines_.size() || endsWithLineBreak_) text += '\n';
  }
  return text;
}

int MimeAppsList::FindSection() const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (Trim(lines_[i]) == kDefaultSection) return static_cast<int>(i);
  return -1;
}

int MimeAppsList::SectionEnd(int section) const {
  size_t end = static_cast<size_t>(section) + 1;
  while (end < lines_.size() && !IsSectionHeader(lines_[end])) ++end;
  return static_cast<int>(end);
}

int MimeAppsList::FindDefault(const std::string& mimeType) const {
  int section = FindSection();
  if (section < 0) return -1;
  for (int i = section + 1; i < SectionEnd(section); ++i)
    if (SameText(KeyOf(lines_[i]), mimeType)) return i;
  return -1;
}

std::optional<std::string> MimeAppsList::DefaultLine(const std::string& mimeType) const {
  int line = FindDefault(mimeType);
  if (line < 0) return std::nullopt;
  return lines_[line];
}

std::string MimeAppsList::DefaultApplication(const std::string& mimeType) const {
  std::optional<std::string> line = DefaultLine(mimeType);
  if (!line) return {};
  std::string value = line->substr(line->find('=') + 1);
  return Trim(value.substr(0, value.find(';')));
}

MimeAppsList::Added MimeAppsList::SetDefaultLine(const std::string& mimeType,
                                                 const std::string& line) {
  if (int existing = FindDefault(mimeType); existing >= 0) {
    lines_[existing] = line;
    return Added::Line;
  }
  Added added = Added::Line;
  if (FindSection() < 0) {
    added = Added::Section;
    if (!lines_.empty() && !IsBlank(lines_.back())) {
      lines_.emplace_back();
      added = Added::SectionAfterBlankLine;
    }
    lines_.emplace_back(kDefaultSection);
  }
  // After the section's last line that is not blank, so that blank lines before the next
  // section stay where they are.
  int section = FindSection();
  int at = SectionEnd(section);
  while (at > section + 1 && IsBlank(lines_[at - 1])) --at;
  lines_.insert(lines_.begin() + at, line);
  return added;
}

void MimeAppsList::RemoveDefault(const std::string& mimeType) {
  if (int line = FindDefault(mimeType); line >= 0) lines_.erase(lines_.begin() + line);
}

void MimeAppsList::RemoveEmptySection(bool withBlankLineBefore) {
  int section = FindSection();
  if (section < 0) return;
  int end = SectionEnd(section);
  for (int i = section + 1; i < end; ++i)
    if (!IsBlank(lines_[i])) return;
  int start =
      withBlankLineBefore && section > 0 && IsBlank(lines_[section - 1]) ? section - 1 : section;
  lines_.erase(lines_.begin() + start, lines_.begin() + end);
}

}  // namespace varnel
