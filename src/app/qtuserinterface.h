#pragma once
// The UI interface answered with Qt widgets: message boxes, the confirmation dialog, the error
// list window, file and folder dialogs, the size dialog and the progress window. What belongs
// to the main window (status panels, caption, busy state) goes to the functions it sets.

#include <QElapsedTimer>
#include <QPointer>
#include <functional>

#include "app/progresswindow.h"
#include "platform/userinterface.h"

class QWidget;

namespace varnel {

class TIniFile;

class TQtUserInterface : public UserInterface {
 public:
  explicit TQtUserInterface(QWidget* window = nullptr) : window_(window) {}
  ~TQtUserInterface() override;
  void SetWindow(QWidget* window) { window_ = window; }
  // The settings file of the dialogs that keep their own sections.
  void SetIniFile(TIniFile* ini) { ini_ = ini; }

  std::function<void(int, const std::string&)> OnStatusText;
  std::function<void(const std::string&)> OnMainCaption;
  std::function<void(bool)> OnBusy;

  void SetStatusText(int panel, const std::string& text) override;
  void SetMainCaption(const std::string& caption) override;
  void SetBusy(bool busy) override;
  void SetWaitCursor(bool waiting) override;
  void ProcessMessages() override;

  TModalResult ShowMessage(const TMessageRequest& request) override;
  TConfirmAnswer AskConfirmation(const TConfirmRequest& request) override;
  std::optional<std::string> AskText(const TTextRequest& request) override;
  void ShowErrorList(const std::vector<std::string>& lines) override;

  std::optional<TFileDialogAnswer> ChooseFilesToOpen(const TFileDialogRequest& request) override;
  std::optional<TFileDialogAnswer> ChooseFileToSave(const TFileDialogRequest& request) override;
  std::optional<std::string> ChooseFolder(const TFolderRequest& request) override;

  std::optional<TNewImageSizeAnswer> AskNewImageSize(const TNewImageSizeRequest& request) override;
  TOverwriteAnswer AskOverwrite(const TOverwriteRequest& request) override;
  std::optional<uint32_t> AskHotSpot(uint32_t hotSpot) override;
  std::optional<TFindIconsChoice> AskFindIcons(const TFindIconsRequest& request) override;
  std::optional<TDiskSearchChoice> AskDiskSearch(const TDiskSearchChoice& initial) override;
  std::optional<TInternetAddressChoice> AskInternetAddress(
      const TInternetAddressRequest& request) override;

  void ShowProgress() override;
  void CloseProgress() override;
  bool ProgressShown() const override;
  void SetProgressCaption(const std::string& caption) override;
  void SetProgressField(TProgressField field, const std::string& text) override;
  void SetProgressLabel(TProgressField field, const std::string& text) override;
  void SetProgressSkipVisible(bool visible) override;
  TProgressFlags& ProgressFlags() override;

  TfmProgress* Progress() const { return progress_; }
  // Back to the normal cursor, whatever waits were begun.
  void ResetWaitCursor();

 private:
  // When the window last handled its events: ProcessMessages hands them on at most every
  // kEventsIntervalMs, as a search calls it for every file.
  QElapsedTimer lastEvents_;
  static constexpr int kEventsIntervalMs = 20;
  QPointer<QWidget> window_;
  QPointer<TfmProgress> progress_;
  TIniFile* ini_ = nullptr;
  TProgressFlags idleFlags_;  // the flags while no progress window exists
  int waitDepth_ = 0;
};

// "Description|*.a;*.b|..." as a Qt name filter list ("Description (*.a *.b)").
QStringList QtFileFilters(const std::string& filter);

}  // namespace varnel
