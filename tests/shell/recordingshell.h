#pragma once
// A shell that counts the cache rebuilds and redraws it is asked for.

#include "shell/foldericonsystem.h"

namespace varnel::test {

class RecordingShell : public ShellRefresh {
 public:
  void RebuildIconCache() override { ++rebuilds; }
  void RefreshShell() override { ++refreshes; }
  int rebuilds = 0;
  int refreshes = 0;
};

}  // namespace varnel::test
