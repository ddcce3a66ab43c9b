#pragma once
// A collection without a window, as the commands of varnel-cli use it.

#include "appcore/reopenfileholder.h"
#include "cli/interruptstop.h"
#include "cli/terminalui.h"
#include "collection/fmlib.h"

namespace varnel::cli {

struct CliSession {
  explicit CliSession(bool showProgress = false) : ui(showProgress) {
    ui.SetStopCommand([this] { lib.RequestStop(); });
  }

  TerminalUserInterface ui;
  InterruptStops interrupts{ui};
  TReopenFileHolder recentFiles;
  TChildHost host{ui, "Varnel", &recentFiles};
  TSettings settings;
  MemoryClipboard clipboard;
  TPlainGridView grid;
  TfmLib lib{host, settings, clipboard, grid};
};

}  // namespace varnel::cli
