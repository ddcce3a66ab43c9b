#pragma once
// Running varnel-cli from the command-line tests.

#include <string>

#include "support/process.h"

namespace varnel::test {

// varnel-cli with the arguments; standard output and error together.
inline ProcessResult RunCli(const std::string& args) {
  return RunCommand(std::string(VARNEL_CLI) + " " + args);
}

}  // namespace varnel::test
