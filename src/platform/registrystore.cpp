#include "platform/registrystore.h"

#include <algorithm>
#include <cstdio>

#include "base/fileio.h"
#include "platform/ansitext.h"
#include "platform/folders.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr uint64_t kMaxStoreSize = 64 * 1024 * 1024;

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out + "\"";
}

// Reads a quoted text starting at position; moves position past the closing quote.
bool Unquote(const std::string& line, size_t& position, std::string& text) {
  if (position >= line.size() || line[position] != '"') return false;
  text.clear();
  for (size_t i = position + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      position = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < line.size()) {
      c = line[++i];
      if (c == 'n') c = '\n';
    }
    text += c;
  }
  return false;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x", bytes[i]);
    out += buffer;
  }
  return out;
}

bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes) {
  bytes.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    auto value = TryParseInteger("$" + Trim(text.substr(start, comma - start)));
    if (!value || *value < 0 || *value > 255) return false;
    bytes.push_back(uint8_t(*value));
    start = comma + 1;
  }
  return true;
}

std::string FormatValue(const TRegistryValue& value) {
  std::string name = value.name.empty() ? "@" : Quote(value.name);
  char dword[16];
  switch (value.type) {
    case TRegDataType::rdString:
      return name + "=" + Quote(value.text);
    case TRegDataType::rdExpandString:
      return name + "=expand:" + Quote(value.text);
    case TRegDataType::rdInteger:
      std::snprintf(dword, sizeof dword, "%08x", uint32_t(value.integer));
      return name + "=dword:" + dword;
    case TRegDataType::rdBinary:
      return name + "=hex:" + HexBytes(value.binary);
  }
  return name;
}

bool ParseValueData(std::string_view data, const std::string& line, size_t position,
                    TRegistryValue& value) {
  if (data.starts_with("\"")) {
    value.type = TRegDataType::rdString;
    return Unquote(line, position, value.text);
  }
  if (data.starts_with("expand:")) {
    value.type = TRegDataType::rdExpandString;
    position += 7;
    return Unquote(line, position, value.text);
  }
  if (data.starts_with("dword:")) {
    auto number = TryParseInteger("$" + Trim(data.substr(6)));
    value.type = TRegDataType::rdInteger;
    value.integer = number.value_or(0);
    return number.has_value();
  }
  if (data.starts_with("hex:")) {
    value.type = TRegDataType::rdBinary;
    return ParseHexBytes(data.substr(4), value.binary);
  }
  return false;
}

std::vector<TRegistryValue>::iterator FindNamed(std::vector<TRegistryValue>& values,
                                                const std::string& name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const TRegistryValue& v) { return SameText(v.name, name); });
}

std::string ParentPath(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string NormalizeKeyPath(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

TRegistryStore::TRegistryStore(std::string fileName) : fileName_(std::move(fileName)) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadWholeFile(fileName_, kMaxStoreSize);
  } catch (const EFileError&) {
    return;
  }
  Parse(TextFromFileBytes(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

TRegistryStore& TRegistryStore::Default() {
  static TRegistryStore store(PathJoin(SettingsFolder(), "registry.txt"));
  return store;
}

void TRegistryStore::Parse(const std::string& text) {
  Key* current = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      std::string path = NormalizeKeyPath(line.substr(1, line.size() - 2));
      current = path.empty() ? nullptr : &EnsureKey(path);
    } else if (current && !line.empty()) {
      ParseValueLine(*current, line);
    }
  }
}

void TRegistryStore::ParseValueLine(Key& key, const std::string& line) {
  TRegistryValue value;
  size_t position = 0;
  if (line[0] == '@') {
    position = 1;
  } else if (!Unquote(line, position, value.name)) {
    return;
  }
  if (position >= line.size() || line[position] != '=') return;
  ++position;
  if (!ParseValueData(std::string_view(line).substr(position), line, position, value)) return;
  auto existing = FindNamed(key.values, value.name);
  if (existing == key.values.end()) key.values.push_back(std::move(value));
}

TRegistryStore::Key& TRegistryStore::EnsureKey(const std::string& path) {
  std::string lower = LowerCase(path);
  auto found = keys_.find(lower);
  if (found != keys_.end()) return found->second;
  std::string parent = ParentPath(path);
  if (!parent.empty()) EnsureKey(parent);
  Key& key = keys_[lower];
  key.path = path;
  key.order = nextOrder_++;
  return key;
}

bool TRegistryStore::KeyExists(const std::string& path) const {
  return keys_.count(LowerCase(NormalizeKeyPath(path))) != 0;
}

void TRegistryStore::CreateKey(const std::string& path) {
  std::string normalized = NormalizeKeyPath(path);
  if (normalized.empty() || KeyExists(normalized)) return;
  EnsureKey(normalized);
  Save();
}

bool TRegistryStore::DeleteKey(const std::string& path) {
  std::string lower = LowerCase(NormalizeKeyPath(path));
  if (lower.empty() || !keys_.count(lower)) return false;
  std::string below = lower + "\\";
  std::erase_if(keys_, [&](const auto& entry) {
    return entry.first == lower || entry.first.starts_with(below);
  });
  Save();
  return true;
}

std::vector<const TRegistryStore::Key*> TRegistryStore::KeysInOrder() const {
  std::vector<const Key*> keys;
  for (const auto& entry : keys_) keys.push_back(&entry.second);
  std::sort(keys.begin(), keys.end(),
            [](const Key* a, const Key* b) { return a->order < b->order; });
  return keys;
}

std::vector<std::string> TRegistryStore::SubKeyNames(const std::string& path) const {
  std::string prefix = LowerCase(NormalizeKeyPath(path)) + "\\";
  std::vector<std::string> names;
  for (const Key* key : KeysInOrder()) {
    std::string lower = LowerCase(key->path);
    if (!lower.starts_with(prefix)) continue;
    std::string rest = key->path.substr(prefix.size());
    if (rest.find('\\') == std::string::npos) names.push_back(rest);
  }
  return names;
}

std::vector<std::string> TRegistryStore::ValueNames(const std::string& path) const {
  std::vector<std::string> names;
  auto found = keys_.find(LowerCase(NormalizeKeyPath(path)));
  if (found == keys_.end()) return names;
  for (const TRegistryValue& value : found->second.values) names.push_back(value.name);
  return names;
}

const TRegistryValue* TRegistryStore::FindValue(const std::string& path,
                                                const std::string& name) const {
  auto found = keys_.find(LowerCase(NormalizeKeyPath(path)));
  if (found == keys_.end()) return nullptr;
  for (const TRegistryValue& value : found->second.values) {
    if (SameText(value.name, name)) return &value;
  }
  return nullptr;
}

void TRegistryStore::SetValue(const std::string& path, TRegistryValue value) {
  std::string normalized = NormalizeKeyPath(path);
  if (normalized.empty()) throw ERegistryError("Failed to set data for '" + value.name + "'");
  Key& key = EnsureKey(normalized);
  auto existing = FindNamed(key.values, value.name);
  if (existing != key.values.end()) {
    value.name = existing->name;
    *existing = std::move(value);
  } else {
    key.values.push_back(std::move(value));
  }
  Save();
}

bool TRegistryStore::DeleteValue(const std::string& path, const std::string& name) {
  auto found = keys_.find(LowerCase(NormalizeKeyPath(path)));
  if (found == keys_.end()) return false;
  auto existing = FindNamed(found->second.values, name);
  if (existing == found->second.values.end()) return false;
  found->second.values.erase(existing);
  Save();
  return true;
}

std::string TRegistryStore::Text() const {
  std::string text;
  for (const Key* key : KeysInOrder()) {
    text += "[" + key->path + "]\n";
    for (const TRegistryValue& value : key->values) text += FormatValue(value) + "\n";
    text += "\n";
  }
  return text;
}

void TRegistryStore::Save() const {
  std::string text = Text();
  try {
    WriteFileAtomic(fileName_,
                    std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  } catch (const EFileError&) {
    throw ERegistryError("Unable to write to " + fileName_);
  }
}

}  // namespace varnel
