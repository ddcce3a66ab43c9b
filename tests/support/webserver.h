#pragma once
// A web server on 127.0.0.1 for the download tests (tests/support/webserver.py): it serves the
// files of a folder, plus redirects, oversized and slow answers. Stopped when the scope ends.

#include <sys/types.h>

#include <string>

namespace varnel::test {

class TestWebServer {
 public:
  // Starts the server over folder; Running() is false when python3 is missing or it failed.
  explicit TestWebServer(const std::string& folder);
  ~TestWebServer();
  TestWebServer(const TestWebServer&) = delete;
  TestWebServer& operator=(const TestWebServer&) = delete;

  bool Running() const { return port_ > 0; }
  // "http://127.0.0.1:PORT/" followed by path.
  std::string Url(const std::string& path) const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

// Whether python3 can be run.
bool HavePython();

}  // namespace varnel::test

// Skips the test when the server cannot run here.
#define VARNEL_SKIP_WITHOUT_PYTHON()                                       \
  do {                                                                     \
    if (!varnel::test::HavePython()) GTEST_SKIP() << "python3 is missing"; \
  } while (0)
