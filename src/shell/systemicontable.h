#pragma once
// The fixed table of the shell's own icons that the customisation window edits: desktop objects
// (by class identifier) and stock icons (by index), with the page each is shown on, the systems
// that use it and the freedesktop icon name that stands for it on a Linux desktop.

#include <span>
#include <string>
#include <string_view>

namespace varnel {

enum class TIconPage { Desktop, StartMenu, Drives, Miscellaneous };

enum class TRowSystems { All, AllButXp, XpOnly };

struct SystemIconRow {
  std::string_view key;        // "#n" for stock icon n, else a class identifier without braces
  std::string_view valueName;  // the named value of the icon key ("full", "empty"), or empty
  std::string_view caption;    // empty when the system's own name is the only one
  std::string_view suffix;     // added after a blank to the caption
  TIconPage page;
  TRowSystems systems;
  std::string_view linuxName;  // empty when the Linux desktop has no such icon
};

inline constexpr int kSystemIconRowCount = 50;

std::span<const SystemIconRow> SystemIconTable();

// Display name of a page: "Desktop", "Start Menu", "Drives", "Miscellaneous".
std::string_view PageName(TIconPage page);

bool IsStockRow(const SystemIconRow& row);
// The n of a stock row "#n"; -1 for class rows.
int StockIndex(const SystemIconRow& row);
bool RowUsedOn(const SystemIconRow& row, bool isXp);

// The caption with its suffix: "Recycle (Full)".
std::string FullCaption(const SystemIconRow& row);

// The file name a colourised icon of the row gets: caption and suffix with every character other
// than letters, digits, "-" and "_" left out, then ".ico" ("RecycleFull.ico").
std::string ColorizedIconFileName(const SystemIconRow& row);

}  // namespace varnel
