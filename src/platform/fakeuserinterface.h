#pragma once
// A scripted user interface for tests: answers come from queues filled beforehand, and every
// question and message is recorded. An empty queue answers as a person pressing Cancel would.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/userinterface.h"

namespace varnel {

class FakeUserInterface : public UserInterface {
 public:
  // One line per thing shown, e.g. "Message Warning: text" or "Confirm: text".
  std::vector<std::string> log;
  std::vector<TMessageRequest> messages;
  std::vector<TConfirmRequest> confirmations;
  std::vector<std::vector<std::string>> errorLists;
  std::vector<TFileDialogRequest> fileRequests;
  std::vector<TFolderRequest> folderRequests;
  std::vector<TNewImageSizeRequest> imageSizeRequests;
  std::vector<TOverwriteRequest> overwriteRequests;

  std::deque<TModalResult> messageAnswers;
  std::vector<TTextRequest> textRequests;
  std::deque<std::optional<TFindIconsChoice>> findIconsAnswers;
  std::deque<std::optional<TDiskSearchChoice>> diskSearchAnswers;
  std::deque<std::optional<std::string>> textAnswers;
  std::deque<TConfirmAnswer> confirmAnswers;
  std::deque<std::optional<TFileDialogAnswer>> fileAnswers;
  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::optional<TNewImageSizeAnswer>> imageSizeAnswers;
  std::deque<TOverwriteAnswer> overwriteAnswers;
  std::deque<std::optional<uint32_t>> hotSpotAnswers;

  // Runs at every ProcessMessages call, e.g. to press the stop button after some items.
  std::function<void()> onProcessMessages;
  int processMessagesCalls = 0;

  std::map<int, std::string> statusTexts;
  std::string mainCaption;
  bool busy = false;
  bool waitCursor = false;

  bool progressShown = false;
  bool progressSkipVisible = false;
  std::string progressCaption;
  std::map<TProgressField, std::string> progressFields;
  std::map<TProgressField, std::string> progressLabels;
  TProgressFlags progressFlags;

  void SetStatusText(int panel, const std::string& text) override { statusTexts[panel] = text; }
  void SetMainCaption(const std::string& caption) override { mainCaption = caption; }
  void SetBusy(bool value) override { busy = value; }
  void SetWaitCursor(bool waiting) override { waitCursor = waiting; }
  void ProcessMessages() override;

  TModalResult ShowMessage(const TMessageRequest& request) override;
  TConfirmAnswer AskConfirmation(const TConfirmRequest& request) override;
  std::optional<std::string> AskText(const TTextRequest& request) override;
  // Answers from the queue; an answer that fails validation is shown as an error message and
  // the next answer is taken, as the dialog stays open.
  std::optional<TFindIconsChoice> AskFindIcons(const TFindIconsRequest& request) override;
  std::optional<TDiskSearchChoice> AskDiskSearch(const TDiskSearchChoice& initial) override;
  void ShowErrorList(const std::vector<std::string>& lines) override;

  std::optional<TFileDialogAnswer> ChooseFilesToOpen(const TFileDialogRequest& request) override;
  std::optional<TFileDialogAnswer> ChooseFileToSave(const TFileDialogRequest& request) override;
  std::optional<std::string> ChooseFolder(const TFolderRequest& request) override;

  std::optional<TNewImageSizeAnswer> AskNewImageSize(const TNewImageSizeRequest& request) override;
  TOverwriteAnswer AskOverwrite(const TOverwriteRequest& request) override;
  std::optional<uint32_t> AskHotSpot(uint32_t hotSpot) override;

  void ShowProgress() override;
  void CloseProgress() override { progressShown = false; }
  bool ProgressShown() const override { return progressShown; }
  void SetProgressCaption(const std::string& caption) override { progressCaption = caption; }
  void SetProgressField(TProgressField field, const std::string& text) override {
    progressFields[field] = text;
  }
  void SetProgressLabel(TProgressField field, const std::string& text) override {
    progressLabels[field] = text;
  }
  void SetProgressSkipVisible(bool visible) override { progressSkipVisible = visible; }
  TProgressFlags& ProgressFlags() override { return progressFlags; }

 private:
  std::optional<TFileDialogAnswer> AnswerFileDialog(const std::string& kind,
                                                    const TFileDialogRequest& request);
};

}  // namespace varnel
