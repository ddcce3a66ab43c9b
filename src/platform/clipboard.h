#pragma once
// The clipboard as the core sees it: named formats holding byte blocks, plus a picture.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace varnel {

class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // Empties the clipboard, then the Set calls that follow add formats to it.
  virtual void Clear() = 0;
  virtual void SetFormat(const std::string& format, std::vector<uint8_t> data) = 0;
  virtual void SetBitmap(const TBitmap& bitmap) = 0;

  virtual bool HasFormat(const std::string& format) const = 0;
  // Names of the formats on the clipboard, in the order the clipboard lists them.
  virtual std::vector<std::string> Formats() const = 0;
  virtual std::optional<std::vector<uint8_t>> GetFormat(const std::string& format) const = 0;
  virtual std::optional<TBitmap> GetBitmap() const = 0;
};

// A clipboard held in memory: used by varnel-cli and by tests.
class MemoryClipboard : public Clipboard {
 public:
  void Clear() override;
  void SetFormat(const std::string& format, std::vector<uint8_t> data) override;
  void SetBitmap(const TBitmap& bitmap) override { bitmap_ = bitmap; }
  bool HasFormat(const std::string& format) const override;
  std::vector<std::string> Formats() const override;
  std::optional<std::vector<uint8_t>> GetFormat(const std::string& format) const override;
  std::optional<TBitmap> GetBitmap() const override { return bitmap_; }

 private:
  std::vector<std::pair<std::string, std::vector<uint8_t>>> formats_;
  std::optional<TBitmap> bitmap_;
};

}  // namespace varnel
