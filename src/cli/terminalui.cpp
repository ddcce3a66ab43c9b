#include "cli/terminalui.h"

#include <unistd.h>

#include <iostream>

namespace varnel::cli {

namespace {

constexpr size_t kLineWidth = 78;

}  // namespace

TerminalUserInterface::TerminalUserInterface(bool showProgress)
    : live_(showProgress && ::isatty(STDERR_FILENO)) {}

TerminalUserInterface::~TerminalUserInterface() {
  ClearProgressLine();
}

void TerminalUserInterface::DrawProgressLine(const std::string& text) {
  if (!live_) return;
  std::string line =
      text.size() > kLineWidth ? "..." + text.substr(text.size() - kLineWidth + 3) : text;
  std::cerr << "\r\033[K" << line << std::flush;
  lineShown_ = true;
}

void TerminalUserInterface::ClearProgressLine() {
  if (!lineShown_) return;
  std::cerr << "\r\033[K" << std::flush;
  lineShown_ = false;
}

void TerminalUserInterface::ProcessMessages() {
  if (!interrupt_ || !*interrupt_) return;
  flags_.stopRequested = true;
  if (stopCommand_) stopCommand_();
}

void TerminalUserInterface::SetStatusText(int panel, const std::string& text) {
  if (panel == 0 && !text.empty()) DrawProgressLine(text);
}

TModalResult TerminalUserInterface::ShowMessage(const TMessageRequest& request) {
  ClearProgressLine();
  std::cerr << "varnel-cli: " << request.text << "\n";
  if (request.buttons & mbYes) return TModalResult::mrYes;
  return request.buttons & mbOK ? TModalResult::mrOK : TModalResult::mrCancel;
}

void TerminalUserInterface::ShowErrorList(const std::vector<std::string>& lines) {
  ClearProgressLine();
  for (const std::string& line : lines) std::cerr << "varnel-cli: " << line << "\n";
}

std::optional<TNewImageSizeAnswer> TerminalUserInterface::AskNewImageSize(
    const TNewImageSizeRequest& request) {
  TNewImageSizeAnswer answer;
  answer.width = request.width;
  answer.height = request.height;
  answer.applyToAll = true;
  answer.asSource = true;  // every later picture keeps its own size too
  return answer;
}

void TerminalUserInterface::ShowProgress() {
  progressShown_ = true;
  flags_ = {};
  fileLabel_.clear();
}

void TerminalUserInterface::CloseProgress() {
  progressShown_ = false;
  ClearProgressLine();
}

void TerminalUserInterface::SetProgressField(TProgressField field, const std::string& text) {
  if (field != TProgressField::File) return;
  DrawProgressLine(fileLabel_.empty() ? text : fileLabel_ + " " + text);
}

void TerminalUserInterface::SetProgressLabel(TProgressField field, const std::string& text) {
  if (field == TProgressField::File) fileLabel_ = text;
}

}  // namespace varnel::cli
