#pragma once
// A temporary folder only this process can enter (mode 0700, made by mkdtemp under $TMPDIR or
// /tmp), removed with everything in it when the scope ends.

#include <string>

namespace varnel {

class PrivateFolder {
 public:
  // Raises EFileError when the folder cannot be made.
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of a file of that name inside the folder.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace varnel
