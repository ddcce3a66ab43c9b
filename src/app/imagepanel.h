#pragma once
// The image panel beside the grid: one row per image of the current icon, its picture and its
// size and colours, and the pop-up menu with "Save Frame..." and "Set Cursor Hot Spot...".

#include <QListWidget>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "appcore/settings.h"

namespace varnel {

class TAdvancedIcon;
class TSubIcon;

class TImagePanel : public QListWidget {
  Q_OBJECT

 public:
  explicit TImagePanel(QWidget* parent = nullptr);

  // Shows the images of icon (none for null). For the icon already shown the selected row
  // stays, and nothing is redrawn while its images are the ones shown; a new icon starts on
  // its first row.
  void ShowIcon(const TAdvancedIcon* icon);
  // The colour of an image that cannot be drawn.
  void SetPlaceholderColor(TColor color) { placeholder_ = color; }
  // The image of the selected row; null when there is none.
  const TSubIcon* SelectedImage() const;
  const TAdvancedIcon* ShownIcon() const { return icon_; }

  // Called by "Save Frame..." with the selected image.
  std::function<void(const TSubIcon&)> OnSaveFrame;
  // Called by "Set Cursor Hot Spot..." for the icon shown.
  std::function<void()> OnSetHotSpot;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // What identifies the images shown: each image, the size of its data and its hot spot.
  struct TImageShown {
    const TSubIcon* image;
    uint32_t dataSize;
    uint32_t hotSpot;
    friend bool operator==(const TImageShown&, const TImageShown&) = default;
  };
  using TImagesShown = std::vector<TImageShown>;
  static TImagesShown ImagesOf(const TAdvancedIcon* icon);
  void AddImageRow(const TSubIcon& image, int pictureWidth);

  const TAdvancedIcon* icon_ = nullptr;
  TImagesShown shown_;
  TColor placeholder_ = kDefaultIcoNo;
};

// The texts beside an image: size, then colours, and "packed" for an image stored as PNG
// (a line of its own when the image is taller than 47 pixels), and a cursor's "hot spot X, Y".
QString ImageRowText(const TSubIcon& image);
// A hot spot (X in the low, Y in the high 16 bits) as "X, Y".
QString HotSpotText(uint32_t hotSpot);

}  // namespace varnel
