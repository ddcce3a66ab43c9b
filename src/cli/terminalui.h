#pragma once
// The user interface of varnel-cli: messages and a progress line on stderr, questions answered
// as a batch run needs them (confirmations yes, choices of files none, sizes kept).

#include <csignal>
#include <functional>

#include "platform/userinterface.h"

namespace varnel::cli {

class TerminalUserInterface : public UserInterface {
 public:
  // showProgress: keep a live progress line on stderr (only when stderr is a terminal).
  explicit TerminalUserInterface(bool showProgress);
  ~TerminalUserInterface() override;

  void SetStatusText(int panel, const std::string& text) override;
  void SetMainCaption(const std::string&) override {}
  void SetBusy(bool) override {}
  void SetWaitCursor(bool) override {}
  // An interrupt (Ctrl+C) is the stop command: it sets the progress window's stop request and
  // runs the stop command given here (the hosted collection's Stop).
  void ProcessMessages() override;
  void SetInterruptFlag(volatile std::sig_atomic_t* flag) { interrupt_ = flag; }
  void SetStopCommand(std::function<void()> stop) { stopCommand_ = std::move(stop); }

  TModalResult ShowMessage(const TMessageRequest& request) override;
  TConfirmAnswer AskConfirmation(const TConfirmRequest&) override { return {true, false}; }
  std::optional<std::string> AskText(const TTextRequest&) override { return std::nullopt; }
  void ShowErrorList(const std::vector<std::string>& lines) override;

  std::optional<TFileDialogAnswer> ChooseFilesToOpen(const TFileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<TFileDialogAnswer> ChooseFileToSave(const TFileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(const TFolderRequest&) override { return std::nullopt; }
  std::optional<TNewImageSizeAnswer> AskNewImageSize(const TNewImageSizeRequest& request) override;
  TOverwriteAnswer AskOverwrite(const TOverwriteRequest&) override {
    return TOverwriteAnswer::Overwrite;
  }
  std::optional<uint32_t> AskHotSpot(uint32_t) override { return std::nullopt; }

  void ShowProgress() override;
  void CloseProgress() override;
  bool ProgressShown() const override { return progressShown_; }
  void SetProgressCaption(const std::string&) override {}
  void SetProgressField(TProgressField field, const std::string& text) override;
  void SetProgressLabel(TProgressField field, const std::string& text) override;
  void SetProgressSkipVisible(bool) override {}
  TProgressFlags& ProgressFlags() override { return flags_; }

 private:
  void DrawProgressLine(const std::string& text);
  void ClearProgressLine();

  bool live_;
  bool progressShown_ = false;
  bool lineShown_ = false;
  TProgressFlags flags_;
  std::string fileLabel_;  // shown in front of the file field on the progress line
  volatile std::sig_atomic_t* interrupt_ = nullptr;
  std::function<void()> stopCommand_;
};

// Cursors and X bitmaps keep the hot spot of their first image: a batch run has nobody to ask.
class KeepHotSpotUserInterface : public TerminalUserInterface {
 public:
  KeepHotSpotUserInterface() : TerminalUserInterface(false) {}
  std::optional<uint32_t> AskHotSpot(uint32_t hotSpot) override { return hotSpot; }
};

}  // namespace varnel::cli
