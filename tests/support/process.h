#pragma once
// Running a command line from a test and capturing what it prints.

#include <string>

namespace varnel::test {

struct ProcessResult {
  int status = -1;  // exit status, -1 when the command did not exit normally
  std::string out;  // standard output, and standard error unless the command redirects it
};

ProcessResult RunCommand(const std::string& command);

// Number of lines in text.
size_t CountLines(const std::string& text);

}  // namespace varnel::test
