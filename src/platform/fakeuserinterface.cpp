#include "platform/fakeuserinterface.h"

namespace varnel {

namespace {

// The answer at the head of a queue, or the fallback when the queue is empty.
template <typename T>
T TakeAnswer(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  fallback = std::move(queue.front());
  queue.pop_front();
  return fallback;
}

TModalResult CancelLikeResult(TMessageButtons buttons) {
  if (buttons & mbCancel) return TModalResult::mrCancel;
  if (buttons & mbNo) return TModalResult::mrNo;
  if (buttons & mbOK) return TModalResult::mrOK;
  return TModalResult::mrCancel;
}

}  // namespace

void FakeUserInterface::ProcessMessages() {
  ++processMessagesCalls;
  if (onProcessMessages) onProcessMessages();
}

TModalResult FakeUserInterface::ShowMessage(const TMessageRequest& request) {
  messages.push_back(request);
  log.push_back("Message " + request.caption + ": " + request.text);
  return TakeAnswer(messageAnswers, CancelLikeResult(request.buttons));
}

TConfirmAnswer FakeUserInterface::AskConfirmation(const TConfirmRequest& request) {
  confirmations.push_back(request);
  log.push_back("Confirm " + request.caption + ": " + request.text);
  return TakeAnswer(confirmAnswers, TConfirmAnswer{});
}

std::optional<std::string> FakeUserInterface::AskText(const TTextRequest& request) {
  textRequests.push_back(request);
  log.push_back("Ask " + request.caption + ": " + request.prompt);
  return TakeAnswer(textAnswers, std::optional<std::string>());
}

std::optional<TFindIconsChoice> FakeUserInterface::AskFindIcons(const TFindIconsRequest& request) {
  log.push_back("Find Icons: " + request.initial.folder);
  while (!findIconsAnswers.empty()) {
    std::optional<TFindIconsChoice> answer = TakeAnswer(findIconsAnswers, {});
    if (!answer) return answer;
    std::optional<std::string> error =
        request.validate ? request.validate(answer->folder) : std::nullopt;
    if (!error) return answer;
    ShowMessage(MakeMessage(TMessageKind::Error, *error));
  }
  return std::nullopt;
}

std::optional<TDiskSearchChoice> FakeUserInterface::AskDiskSearch(const TDiskSearchChoice&) {
  log.push_back("Find Icons on All Local Disks");
  return TakeAnswer(diskSearchAnswers, std::optional<TDiskSearchChoice>());
}

void FakeUserInterface::ShowErrorList(const std::vector<std::string>& lines) {
  errorLists.push_back(lines);
  log.push_back("Errors: " + std::to_string(lines.size()) + " lines");
}

std::optional<TFileDialogAnswer> FakeUserInterface::AnswerFileDialog(
    const std::string& kind, const TFileDialogRequest& request) {
  fileRequests.push_back(request);
  log.push_back(kind + ": " + request.title);
  return TakeAnswer(fileAnswers, std::optional<TFileDialogAnswer>());
}

std::optional<TFileDialogAnswer> FakeUserInterface::ChooseFilesToOpen(
    const TFileDialogRequest& request) {
  return AnswerFileDialog("Open", request);
}

std::optional<TFileDialogAnswer> FakeUserInterface::ChooseFileToSave(
    const TFileDialogRequest& request) {
  return AnswerFileDialog("Save", request);
}

std::optional<std::string> FakeUserInterface::ChooseFolder(const TFolderRequest& request) {
  folderRequests.push_back(request);
  log.push_back("Folder: " + request.text);
  return TakeAnswer(folderAnswers, std::optional<std::string>());
}

std::optional<TNewImageSizeAnswer> FakeUserInterface::AskNewImageSize(
    const TNewImageSizeRequest& request) {
  imageSizeRequests.push_back(request);
  log.push_back("Add Image: " + request.caption);
  return TakeAnswer(imageSizeAnswers, std::optional<TNewImageSizeAnswer>());
}

TOverwriteAnswer FakeUserInterface::AskOverwrite(const TOverwriteRequest& request) {
  overwriteRequests.push_back(request);
  log.push_back("Overwrite: " + request.existingFile);
  return TakeAnswer(overwriteAnswers, TOverwriteAnswer::Cancel);
}

std::optional<uint32_t> FakeUserInterface::AskHotSpot(uint32_t hotSpot) {
  log.push_back("Hot spot: " + std::to_string(hotSpot));
  return TakeAnswer(hotSpotAnswers, std::optional<uint32_t>());
}

void FakeUserInterface::ShowProgress() {
  progressShown = true;
  progressFlags = {};
  progressFields.clear();
  progressLabels.clear();
  log.push_back("Progress shown");
}

}  // namespace varnel
