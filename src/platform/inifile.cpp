#include "platform/inifile.h"

#include <algorithm>

#include "base/fileio.h"
#include "platform/ansitext.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

// Settings files are small; anything larger is not read as one.
constexpr uint64_t kMaxIniFileSize = 16 * 1024 * 1024;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string WithoutLineBreaks(std::string value) {
  std::replace(value.begin(), value.end(), '\r', ' ');
  std::replace(value.begin(), value.end(), '\n', ' ');
  return value;
}

bool IsCommentStart(char c) {
  return c == ';' || c == '#';
}

}  // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadWholeFile(fileName_, kMaxIniFileSize);
  } catch (const EFileError&) {
    return;
  }
  Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TIniFile TIniFile::FromText(std::string fileName, std::string_view text) {
  TIniFile file;
  file.fileName_ = std::move(fileName);
  file.Parse(text);
  return file;
}

void TIniFile::Parse(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) {
    byteOrderMark_ = true;
    bytes.remove_prefix(kUtf8Mark.size());
  }
  std::string text = TextFromFileBytes(bytes);
  size_t firstBreak = text.find('\n');
  if (firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r') {
    lineBreak_ = "\r\n";
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines_.push_back(ParseLine(line));
    start = end + 1;
  }
}

TIniFile::Line TIniFile::ParseLine(std::string_view text) {
  Line line;
  line.text = std::string(text);
  std::string trimmed = Trim(text);
  if (trimmed.empty() || IsCommentStart(trimmed[0])) return line;
  if (trimmed[0] == '[') {
    size_t close = trimmed.find(']');
    if (close != std::string::npos) {
      line.kind = LineKind::Section;
      line.name = Trim(std::string_view(trimmed).substr(1, close - 1));
    }
    return line;
  }
  size_t equals = trimmed.find('=');
  if (equals == std::string::npos || equals == 0) return line;
  line.kind = LineKind::Value;
  line.name = Trim(std::string_view(trimmed).substr(0, equals));
  line.value = Trim(std::string_view(trimmed).substr(equals + 1));
  return line;
}

int TIniFile::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Section && SameText(lines_[i].name, section)) return int(i);
  }
  return -1;
}

int TIniFile::SectionEnd(int sectionLine) const {
  size_t i = size_t(sectionLine) + 1;
  while (i < lines_.size() && lines_[i].kind != LineKind::Section) ++i;
  return int(i);
}

int TIniFile::FindKey(const std::string& section, const std::string& key) const {
  int sectionLine = FindSection(section);
  if (sectionLine < 0) return -1;
  int end = SectionEnd(sectionLine);
  for (int i = sectionLine + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::Value && SameText(lines_[i].name, key)) return i;
  }
  return -1;
}

// New keys go after the last non-blank line of the section, keeping a blank separator line
// before the next section where there was one.
int TIniFile::InsertionPointInSection(int sectionLine) const {
  int end = SectionEnd(sectionLine);
  while (end > sectionLine + 1 && Trim(lines_[end - 1].text).empty()) --end;
  return end;
}

void TIniFile::AppendSection(const std::string& section) {
  if (!lines_.empty() && !Trim(lines_.back().text).empty()) lines_.push_back(Line{});
  lines_.push_back(ParseLine("[" + section + "]"));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  int line = FindKey(section, key);
  return line < 0 ? defaultValue : lines_[line].value;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
  int line = FindKey(section, key);
  if (line < 0) return defaultValue;
  return TryParseInteger(lines_[line].value).value_or(defaultValue);
}

int TIniFile::ReadIntegerInRange(const std::string& section, const std::string& key,
                                 int defaultValue, int lowest, int highest) const {
  int value = ReadInteger(section, key, defaultValue);
  return (value < lowest || value > highest) ? defaultValue : value;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return FindKey(section, key) >= 0;
}

bool TIniFile::SectionExists(const std::string& section) const {
  return FindSection(section) >= 0;
}

std::vector<std::string> TIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != LineKind::Section) continue;
    bool seen = std::any_of(names.begin(), names.end(),
                            [&](const std::string& name) { return SameText(name, line.name); });
    if (!seen) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> TIniFile::ReadSectionKeys(const std::string& section) const {
  std::vector<std::string> keys;
  int sectionLine = FindSection(section);
  if (sectionLine < 0) return keys;
  int end = SectionEnd(sectionLine);
  for (int i = sectionLine + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::Value) keys.push_back(lines_[i].name);
  }
  return keys;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  std::string text = Trim(WithoutLineBreaks(key)) + "=" + WithoutLineBreaks(value);
  int line = FindKey(section, key);
  if (line >= 0) {
    std::string oldText = lines_[line].text;
    lines_[line] = ParseLine(text);
    modified_ = modified_ || oldText != text;
    return;
  }
  if (FindSection(section) < 0) AppendSection(section);
  int at = InsertionPointInSection(FindSection(section));
  lines_.insert(lines_.begin() + at, ParseLine(text));
  modified_ = true;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  int line = FindKey(section, key);
  if (line < 0) return;
  lines_.erase(lines_.begin() + line);
  modified_ = true;
}

void TIniFile::EraseSection(const std::string& section) {
  int sectionLine = FindSection(section);
  if (sectionLine < 0) return;
  lines_.erase(lines_.begin() + sectionLine, lines_.begin() + SectionEnd(sectionLine));
  modified_ = true;
}

std::string TIniFile::Text() const {
  std::string text = byteOrderMark_ ? std::string(kUtf8Mark) : std::string();
  for (const Line& line : lines_) text += line.text + lineBreak_;
  return text;
}

void TIniFile::UpdateFile() {
  std::string text = Text();
  try {
    WriteFileAtomic(fileName_,
                    std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  } catch (const EFileError&) {
    throw EIniFileError("Unable to write to " + fileName_);
  }
  modified_ = false;
}

}  // namespace varnel
