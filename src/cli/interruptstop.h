#pragma once
// Ctrl+C while a command works asks it to stop, as the progress window's stop button does: what
// was done so far is kept (a search saves what it found) and the command ends early. A second
// Ctrl+C ends the program at once, removing its temporary folders.

#include "cli/terminalui.h"

namespace varnel::cli {

class InterruptStops {
 public:
  explicit InterruptStops(TerminalUserInterface& ui);
  ~InterruptStops();
  InterruptStops(const InterruptStops&) = delete;
  InterruptStops& operator=(const InterruptStops&) = delete;
};

// Whether Ctrl+C was pressed while a command worked.
bool WasInterrupted();

}  // namespace varnel::cli
