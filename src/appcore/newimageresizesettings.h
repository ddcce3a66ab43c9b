#pragma once
// The stored settings of the "Add Image" dialog (section "NewImageResize").

namespace varnel {

class TIniFile;

struct TNewImageResizeSettings {
  static constexpr int kFilterCount = 10;  // "None" ... "Auto"

  int Size = 2;  // index of the size choice, 0 to 6
  int Width = 32;
  int Height = 32;  // 1 to 3000 each
  bool Square = true;
  bool Proportions = true;
  int ResampleFilter = kFilterCount - 1;  // "Auto"

  // Values outside their ranges are read as their defaults.
  static TNewImageResizeSettings Read(const TIniFile& ini);
  void Write(TIniFile& ini) const;
};

}  // namespace varnel
