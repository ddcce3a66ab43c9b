#pragma once
// The clipboard of the desktop: named formats as MIME data of the same name, and pictures.

#include "platform/clipboard.h"

namespace varnel {

class TQtClipboard : public Clipboard {
 public:
  void Clear() override;
  void SetFormat(const std::string& format, std::vector<uint8_t> data) override;
  void SetBitmap(const TBitmap& bitmap) override;
  bool HasFormat(const std::string& format) const override;
  std::vector<std::string> Formats() const override;
  std::optional<std::vector<uint8_t>> GetFormat(const std::string& format) const override;
  std::optional<TBitmap> GetBitmap() const override;

 private:
  // Qt replaces the clipboard's data as a whole: the formats set since Clear are gathered
  // here and published together.
  void Publish();
  std::vector<std::pair<std::string, std::vector<uint8_t>>> pending_;
  std::optional<TBitmap> pendingBitmap_;
};

}  // namespace varnel
