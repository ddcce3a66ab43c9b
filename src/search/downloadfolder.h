#pragma once
// The folder Internet scans download into: private to the process, inside its temporary base,
// one per scan, emptied and removed when the scan ends, whatever ends it.

#include <string>

namespace varnel {

class DownloadFolder {
 public:
  // Raises Exception when the folder cannot be made.
  DownloadFolder();
  ~DownloadFolder();
  DownloadFolder(const DownloadFolder&) = delete;
  DownloadFolder& operator=(const DownloadFolder&) = delete;

  const std::string& Path() const { return path_; }
  // A file of the folder.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Deletes a file; a missing file or a failure is no error.
void RemoveFileQuietly(const std::string& path);

}  // namespace varnel
