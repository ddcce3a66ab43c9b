#pragma once
// Downloads one address into one file of the download folder by running varnel-loader and
// watching the status record it keeps, while the progress window shows how far it got and its
// Stop and Skip buttons break the download off.

#include <cstdint>
#include <string>

#include "search/loaderstatus.h"

namespace varnel {

class UserInterface;

// The largest file a limited download takes: archives ("zip", "rar") may be larger.
int64_t DownloadSizeLimit(const std::string& extension);

// Where varnel-loader is: $VARNEL_LOADER when set, else beside the running program.
std::string LoaderProgramPath();

// The folder's file "status.tmp" is the status record.
class FileDownloader {
 public:
  FileDownloader(UserInterface& ui, std::string downloadFolder);

  // True when target exists afterwards and the download was neither refused nor broken off.
  // Limited: files larger than DownloadSizeLimit of the target's extension are refused, by
  // their announced size and, when none is announced, while they arrive. Raises Exception
  // "File not found: PATH" when the downloader is missing.
  bool Download(const std::string& address, const std::string& target, bool limited);

  // The status the last download ended with.
  const LoaderStatus& LastStatus() const { return status_; }
  // Whether the last download was refused for its size.
  bool LastRefusedForSize() const { return refusedForSize_; }

 private:
  // One look at the status record and the progress window's buttons; false ends the wait.
  bool Poll(int64_t limit);
  void ShowStatus();
  // Stop or Skip: the record's error is set and its file deleted, which stops the downloader.
  bool BreakOffRequested();

  UserInterface& ui_;
  std::string folder_;
  std::string statusFile_;
  uint8_t counter_ = 0;
  LoaderStatus status_;
  bool refusedForSize_ = false;
};

}  // namespace varnel
