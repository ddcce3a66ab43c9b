#pragma once
// TOpenIcoDialog and TSaveIcoDialog: the program's file dialogs for icons, the non-native Qt
// file dialog (alike under every desktop) with the preview panel added at its right. Started
// with an icon index, the open dialog is the icon picker.

#include <QFileDialog>
#include <string>

namespace varnel {

class TIniFile;
class TIcoPreviewPanel;

inline constexpr const char* kOpenIcoFilter =
    "Icon files (*.ico;*.icl;*.nil;*.exe;*.dll;*.cpl;*.ocx;*.vbx)|*.exe;*.dll;*.ico;*.cpl;*.icl;"
    "*.nil;*.ocx;*.vbx;*.il;*.icc;*.icpr|Libraries (*.icl;*.nil;*.dll;*.exe;*.cpl;*.ocx;*.vbx)|"
    "*.exe;*.dll;*.cpl;*.icl;*.nil;*.ocx;*.vbx;*.il;*.icc|Icons (*.ico)|*.ico|Cursors (*.cur)|"
    "*.cur|All files(*.*)|*.*";

class TOpenIcoDialog : public QFileDialog {
  Q_OBJECT

 public:
  explicit TOpenIcoDialog(QWidget* parent = nullptr, AcceptMode mode = AcceptOpen);

  TIcoPreviewPanel* Panel() const { return panel_; }
  // Shows the dialog; whether the user confirmed. Afterwards SelectedIndex() is the grid's
  // current cell when the grid was showing (-1 past the last icon), else 0.
  bool Execute();
  // The files chosen in the last Execute. Read these rather than selectedFiles(): clearing the
  // start folder afterwards makes selectedFiles() name the files in another folder.
  const QStringList& ChosenFiles() const { return chosenFiles_; }
  // The icon picker: as Execute, the grid of the first file shown starting at index (a negative
  // index names the icon whose resource name is its absolute value; -1 is chosen when no icon
  // has that name or index). Preset the file with selectFile or StartAt; SelectedIndex() is
  // the chosen icon afterwards.
  bool ExecuteWithIcon(int index);
  int SelectedIndex() const { return selectedIndex_; }
  // Starts with the file named in the settings when it exists, else in its nearest existing
  // folder.
  void LoadStartFile(const TIniFile& ini, const std::string& section, const std::string& key);
  // Starts with name selected when it is an existing file, in it when it is a folder, else in
  // the nearest existing folder of the name (a save dialog keeps proposing its file name, a bare
  // name in the folder the dialog shows).
  void StartAt(const std::string& name);
  void SetDefaultDrawing(bool plain);

 protected:
  // Shows the dialog modally; its result.
  virtual int RunModal() { return exec(); }

 private:
  TIcoPreviewPanel* panel_ = nullptr;
  int selectedIndex_ = 0;
  QStringList chosenFiles_;
};

class TSaveIcoDialog : public TOpenIcoDialog {
  Q_OBJECT

 public:
  explicit TSaveIcoDialog(QWidget* parent = nullptr) : TOpenIcoDialog(parent, AcceptSave) {}

 public slots:
  // A name typed without an extension gets the chosen type's, so that the overwrite question and
  // the typed extension's precedence over the type see the name that is written.
  void accept() override;
};

// The patterns of a Qt name filter ("*.png", "*.ico" of "Pictures (*.png *.ico)").
QStringList FilterPatterns(const QString& filter);
// The extension of a Qt name filter's first pattern ("png" of "PNG Image (*.png)"); empty for a
// pattern without one ("*.*", "*").
QString FilterSuffix(const QString& filter);

}  // namespace varnel
