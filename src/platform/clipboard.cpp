#include "platform/clipboard.h"

#include <algorithm>

namespace varnel {

void MemoryClipboard::Clear() {
  formats_.clear();
  bitmap_.reset();
}

void MemoryClipboard::SetFormat(const std::string& format, std::vector<uint8_t> data) {
  for (auto& entry : formats_) {
    if (entry.first == format) {
      entry.second = std::move(data);
      return;
    }
  }
  formats_.emplace_back(format, std::move(data));
}

bool MemoryClipboard::HasFormat(const std::string& format) const {
  return std::any_of(formats_.begin(), formats_.end(),
                     [&](const auto& entry) { return entry.first == format; });
}

std::vector<std::string> MemoryClipboard::Formats() const {
  std::vector<std::string> names;
  for (const auto& entry : formats_) names.push_back(entry.first);
  return names;
}

std::optional<std::vector<uint8_t>> MemoryClipboard::GetFormat(const std::string& format) const {
  for (const auto& entry : formats_)
    if (entry.first == format) return entry.second;
  return std::nullopt;
}

}  // namespace varnel
