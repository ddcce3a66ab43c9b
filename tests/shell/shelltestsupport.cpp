#include "shelltestsupport.h"

#include <cstdlib>
#include <filesystem>

#include "graphics/bitmap.h"
#include "resources/iconlibrary.h"

namespace varnel::test {

std::unique_ptr<TAdvancedIcon> SquareIcon(int size) {
  TBitmap bitmap(size, size, PixelFormat::Bits32);
  bitmap.Fill(RGB(200, 40, 40));
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) bitmap.ScanLine(y)[x * 4 + 3] = 0xFF;
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().AddFromBitmap(bitmap, nullptr, 0);
  return icon;
}

void WriteIconLibrary(const std::string& path,
                      const std::vector<std::pair<std::string, int>>& icons) {
  TIconLibrary library;
  for (const auto& [name, size] : icons) library.Icons.AddIcon(name, SquareIcon(size));
  library.SaveAs16Bit(path);
}

int FirstImageWidth(const TAdvancedIcon* icon) {
  if (!icon || icon->Images().Count() == 0) return 0;
  return icon->Images()[0]->ImageWidth();
}

TemporaryHome::TemporaryHome() {
  const std::vector<std::pair<std::string, std::string>> values = {
      {"HOME", dir_.Path()},
      {"XDG_CONFIG_HOME", dir_.File(".config")},
      {"XDG_DATA_HOME", dir_.File(".local/share")},
      {"XDG_CACHE_HOME", dir_.File(".cache")},
      {"GSETTINGS_BACKEND", "keyfile"},
      {"XDG_CURRENT_DESKTOP", ""}};
  for (const auto& [name, value] : values) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  std::filesystem::create_directories(dir_.File(".config"));
  std::filesystem::create_directories(dir_.File(".local/share"));
}

TemporaryHome::~TemporaryHome() {
  for (const auto& [name, value] : saved_) {
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
}

}  // namespace varnel::test
