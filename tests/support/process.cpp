#include "support/process.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>

namespace varnel::test {

ProcessResult RunCommand(const std::string& command) {
  ProcessResult result;
  // Standard error joins the output unless the command sends it elsewhere itself.
  bool redirects = command.find("2>") != std::string::npos;
  FILE* pipe = popen((redirects ? command : command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

size_t CountLines(const std::string& text) {
  return size_t(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace varnel::test
