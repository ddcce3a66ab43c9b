#pragma once
// One download: the address fetched with libcurl into the target file, the status record kept
// current all the while. The transfer stops when the status file disappears.

#include <chrono>

#include "loaderoptions.h"
#include "search/loaderstatus.h"

namespace varnel::loader {

class Transfer {
 public:
  explicit Transfer(LoaderOptions options);
  // Runs the download to its end; the status record's error, None on success. A failed
  // download leaves no target file behind.
  LoaderError Run();

 private:
  static size_t OnData(char* data, size_t size, size_t count, void* self);
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static int OnProgress(void* self, int64_t total, int64_t now, int64_t, int64_t);

  LoaderError Fetch();
  LoaderError ErrorOf(int curlCode) const;
  // Writes the record; false when the status file is gone.
  bool Report(LoaderState state, bool force);

  LoaderOptions options_;
  LoaderStatus status_;
  int output_ = -1;
  int64_t received_ = 0;
  bool stopped_ = false;
  bool tooLarge_ = false;
  bool writeFailed_ = false;
  std::chrono::steady_clock::time_point lastReport_;
};

}  // namespace varnel::loader
