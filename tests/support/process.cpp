#include "support/process.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

namespace varnel::test {

ProcessResult RunCommand(const std::string& command) {
  ProcessResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe)) result.out += buffer;
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

size_t CountLines(const std::string& text) {
  return size_t(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace varnel::test
