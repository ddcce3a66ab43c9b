#pragma once
// Temporary folders of archive walks. The process makes one private base folder (mode 0700)
// below $XDG_RUNTIME_DIR, $TMPDIR or /tmp the first time a walk needs it, and removes it when the
// process exits or is interrupted. Each walk owns a folder of its own inside that base, so walks
// running at once on different threads never share a folder; the fixed names ("tmpzips",
// "tmpzips1", ..., "tmpzips_cmb") live inside the walk's folder.

#include <string>

namespace varnel {

// The deepest nesting level that has a temporary folder of its own.
inline constexpr int kDeepestArchiveLevel = 10;

// The process's private base folder, made on first use; raises Exception when it cannot be made.
std::string ProcessTempBase();

// Removes the base with everything in it now (also done at exit); a later walk makes a new one.
void RemoveProcessTempBase();

// A signal handler that removes the base, if one was made, and then ends the process as the
// signal would have. Installed for SIGINT, SIGTERM and SIGHUP when the base is made, unless the
// program handles them itself; a program that does can hand an interrupt on to it.
void RemoveTempBaseAndDie(int signal);

// The folder of one archive walk: made in the base when constructed, removed with its contents
// when the walk ends, whatever ends it.
class ArchiveWalkFolder {
 public:
  ArchiveWalkFolder();
  ~ArchiveWalkFolder();
  ArchiveWalkFolder(const ArchiveWalkFolder&) = delete;
  ArchiveWalkFolder& operator=(const ArchiveWalkFolder&) = delete;

  const std::string& Root() const { return root_; }
  // "tmpzips", followed by the depth when it is above 0.
  std::string TempFolder(int depth) const;
  // Where split volumes are joined.
  std::string JoinFolder() const;
  // Removes the folders of depth and deeper, stopping at the first missing one; at depth 0 the
  // join folder too.
  void RemoveTempFolders(int depth) const;

 private:
  std::string root_;
};

// Removes a folder with its contents without following any link inside it; folders without
// write permission are made writable first. Missing folders are no error.
void RemoveFolderTree(const std::string& folder);

}  // namespace varnel
