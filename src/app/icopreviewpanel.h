#pragma once
// The preview panel of the open and save dialogs: a description label, the "Preview" button,
// and below them the picture area or the icon grid. Previews are built on a worker thread;
// one that is no longer wanted when it is done is dropped.

#include <QWidget>
#include <optional>
#include <string>

#include "app/previewworker.h"

class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace varnel {

class TIcoDrawGrid;

class TIcoPreviewPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TIcoPreviewPanel(QWidget* parent = nullptr);

  // Starts showing a file ("" empties the panel); the file already shown is left as it is.
  void ShowFile(const QString& path);
  // Whether a preview is still being built.
  bool Pending() const { return worker_.Pending(); }
  // Shows the finished preview, if any; true when one was shown (a timer does this too).
  bool ShowFinished();

  QString Description() const;
  bool PreviewEnabled() const;
  bool GridShown() const;
  TIcoDrawGrid* Grid() const { return grid_; }
  QLabel* PictureLabel() const { return picture_; }
  // The grid cell the picker chose: -1 when the grid is not shown.
  int SelectedIndex() const;
  // The cell the grid selects when it first shows: an index, or a negative number whose
  // absolute value is the resource name of the icon to select.
  void SetPickIndex(int index) { StartPicking(index); }
  // Ends the picking: later grids start at their first cell.
  void ClearPickIndex() { StartPicking(std::nullopt); }
  void SetDefaultDrawing(bool plain);

 private:
  void Apply(TFilePreview preview);
  void ShowPreviewWindow();
  int PickedCell() const;
  void StartPicking(std::optional<int> index);

  TPreviewWorker worker_;
  QLabel* description_ = nullptr;
  QPushButton* previewButton_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QLabel* picture_ = nullptr;
  TIcoDrawGrid* grid_ = nullptr;
  QTimer* poll_ = nullptr;
  TFilePreview shown_;
  QString path_;  // the file shown or being previewed
  std::optional<int> pickIndex_;
  bool gridShownOnce_ = false;
};

}  // namespace varnel
