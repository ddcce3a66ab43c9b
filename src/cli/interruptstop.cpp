#include "cli/interruptstop.h"

#include <unistd.h>

#include <csignal>

#include "collection/tempfolder.h"

namespace varnel::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;
int liveScopes = 0;  // sessions may nest: the handler stays until the last one ends

constexpr char kStoppingNotice[] = "\nvarnel-cli: stopping (Ctrl+C again to quit at once)\n";

// Only what is safe inside a signal handler: a flag, write and the next handler.
void OnInterrupt(int) {
  interrupted = 1;
  ssize_t written = write(STDERR_FILENO, kStoppingNotice, sizeof kStoppingNotice - 1);
  (void)written;
  std::signal(SIGINT, RemoveTempBaseAndDie);
}

}  // namespace

InterruptStops::InterruptStops(TerminalUserInterface& ui) {
  if (liveScopes++ == 0 && !interrupted) std::signal(SIGINT, OnInterrupt);
  ui.SetInterruptFlag(&interrupted);
}

InterruptStops::~InterruptStops() {
  if (--liveScopes == 0) std::signal(SIGINT, RemoveTempBaseAndDie);
}

bool WasInterrupted() {
  return interrupted != 0;
}

}  // namespace varnel::cli
