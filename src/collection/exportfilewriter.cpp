#include "collection/exportfilewriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/errors.h"
#include "base/stream.h"
#include "icons/advancedicon.h"

namespace varnel {

namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
  throw EFileError("Cannot write file \"" + path + "\". " + std::strerror(error));
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(size_t(written));
  }
  return true;
}

// The icon written by save (its icon or cursor form) into the file at path.
void WriteIconForm(const TAdvancedIcon& icon, const std::string& path,
                   void (TAdvancedIcon::*save)(Stream&) const) {
  if (icon.Images().Count() == 0) throw Exception("No images in icon");
  MemoryStream stream;
  (icon.*save)(stream);
  WriteExportedFile(path, stream.Bytes());
}

}  // namespace

void WriteExportedFile(const std::string& path, std::span<const uint8_t> bytes) {
  std::string temporary = path + ".varnel-" + std::to_string(::getpid()) + ".tmp";
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) Fail(path, errno);
  bool written = WriteAll(fd, bytes);
  int error = written ? 0 : (errno ? errno : EIO);
  if (::close(fd) != 0 && written) written = false, error = errno;
  if (written && ::rename(temporary.c_str(), path.c_str()) != 0) written = false, error = errno;
  if (written) return;
  ::unlink(temporary.c_str());
  Fail(path, error);
}

void WriteExportedIcon(const TAdvancedIcon& icon, const std::string& path) {
  WriteIconForm(icon, path, &TAdvancedIcon::SaveToStream);
}

void WriteExportedCursor(const TAdvancedIcon& icon, const std::string& path) {
  WriteIconForm(icon, path, &TAdvancedIcon::SaveCursorToStream);
}

}  // namespace varnel
