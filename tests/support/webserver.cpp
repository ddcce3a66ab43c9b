#include "support/webserver.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace varnel::test {

namespace {

std::string ScriptPath() {
  return std::string(VARNEL_TEST_SUPPORT_DIR) + "/webserver.py";
}

}  // namespace

bool HavePython() {
  return std::system("python3 -c pass >/dev/null 2>&1") == 0;
}

TestWebServer::TestWebServer(const std::string& folder) {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::string script = ScriptPath();
    execlp("python3", "python3", script.c_str(), folder.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  FILE* out = fdopen(fds[0], "r");
  if (!out) return;
  if (pid_ > 0 && std::fscanf(out, "%d", &port_) != 1) port_ = 0;
  std::fclose(out);
}

TestWebServer::~TestWebServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

std::string TestWebServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/" + path;
}

}  // namespace varnel::test
