#include "appcore/shareddialogs.h"

#include "platform/userinterface.h"

namespace varnel {

bool ConfirmDialog(UserInterface& ui, const std::string& text, bool& promptFlag, bool information) {
  TConfirmRequest request;
  request.text = text;
  request.caption = information ? kCaptionInformation : kCaptionConfirmation;
  request.showCheckBox = promptFlag;
  TConfirmAnswer answer = ui.AskConfirmation(request);
  if (!answer.ok) return false;
  promptFlag = !(request.showCheckBox && answer.doNotPrompt);
  return true;
}

void ShowErrors(UserInterface& ui, const std::vector<std::string>& lines) {
  if (!lines.empty()) ui.ShowErrorList(lines);
}

std::optional<std::string> BrowseForFolder(UserInterface& ui, const std::string& text,
                                           const std::string& startFolder) {
  TFolderRequest request;
  request.text = text;
  request.startFolder = startFolder;
  return ui.ChooseFolder(request);
}

}  // namespace varnel
