#include "graphics/pictureformats.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace varnel {

namespace {

std::map<std::string, TPictureFormat>& Formats() {
  static std::map<std::string, TPictureFormat> formats;
  return formats;
}

std::optional<TPictureFormat>& ClipboardFormat() {
  static std::optional<TPictureFormat> format;
  return format;
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

}  // namespace

void RegisterPictureFormat(const std::string& extension, TPictureFormat format) {
  Formats()[LowerCase(extension)] = std::move(format);
}

const TPictureFormat* FindPictureFormat(const std::string& extension) {
  auto it = Formats().find(LowerCase(extension));
  return it == Formats().end() ? nullptr : &it->second;
}

void RegisterClipboardBitmapFormat(TPictureFormat format) {
  ClipboardFormat() = std::move(format);
}

const TPictureFormat* ClipboardBitmapFormat() {
  return ClipboardFormat() ? &*ClipboardFormat() : nullptr;
}

}  // namespace varnel
