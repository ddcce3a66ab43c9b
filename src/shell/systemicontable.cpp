#include "shell/systemicontable.h"

#include <array>
#include <cctype>
#include <charconv>

namespace varnel {

namespace {

using P = TIconPage;
using S = TRowSystems;

constexpr std::array<SystemIconRow, kSystemIconRowCount> kRows = {{
    {"20D04FE0-3AEA-1069-A2D8-08002B30309D", "", "My Computer", "", P::Desktop, S::All, "computer"},
    {"208D2C60-3AEA-1069-A2D7-08002B30309D", "", "Network Neighborhood", "", P::Desktop,
     S::AllButXp, "network-workgroup"},
    {"645FF040-5081-101B-9F08-00AA002F954E", "full", "Recycle", "(Full)", P::Desktop, S::All,
     "user-trash-full"},
    {"645FF040-5081-101B-9F08-00AA002F954E", "empty", "Recycle", "(Empty)", P::Desktop, S::All,
     "user-trash"},
    {"450d8fba-ad25-11d0-98a8-0800361b1103", "", "My Documents", "", P::Desktop, S::All,
     "folder-documents"},
    {"85BBD920-42A0-1069-A2E4-08002B30309D", "", "My Briefcase", "", P::Desktop, S::AllButXp, ""},
    {"#34", "", "Desktop", "", P::Desktop, S::All, "user-desktop"},
    {"21EC2020-3AEA-1069-A2DD-08002B30309D", "", "Control Panel", "", P::Desktop, S::All,
     "preferences-system"},
    {"2227A280-3AEA-1069-A2DE-08002B30309D", "", "Printers", "", P::Desktop, S::All, ""},
    {"FF393560-C2A7-11CF-BFF4-444553540000", "", "History", "", P::Desktop, S::AllButXp,
     "document-open-recent"},
    {"00020D76-0000-0000-C000-000000000046", "", "", "", P::Desktop, S::All, "internet-mail"},
    {"a4d92740-67cd-11cf-96f2-00aa00a11dd9", "", "Remote Network Access", "", P::Desktop, S::All,
     ""},
    {"992CFFA0-F557-101A-88EC-00DD010CCC48", "", "Dial Up Networking", "", P::Desktop, S::All,
     "modem"},
    {"FBF23B42-E3F0-101B-8488-00AA003E56F8", "", "Internet", "", P::Desktop, S::All,
     "network-wireless"},
    {"871C5380-42A0-1069-A2EA-08002B30309D", "", "Internet Explorer", "", P::Desktop, S::All,
     "web-browser"},
    {"00028B00-0000-0000-C000-000000000046", "", "The Microsoft Network", "", P::Desktop,
     S::AllButXp, ""},
    {"#0", "", "Default Icon", "", P::Miscellaneous, S::All, "unknown"},
    {"#1", "", "Default Document", "", P::Miscellaneous, S::All, "text-x-generic"},
    {"#2", "", "Application", "", P::Miscellaneous, S::All, "application-x-executable"},
    {"#3", "", "Closed Folder", "", P::Miscellaneous, S::All, "folder"},
    {"#4", "", "Open Folder", "", P::Miscellaneous, S::All, "folder-open"},
    {"#28", "", "Sharing Overlay", "", P::Miscellaneous, S::All, "emblem-shared"},
    {"#29", "", "Shortcut Overlay", "", P::Miscellaneous, S::All, "emblem-symbolic-link"},
    {"#5", "", "Floppy Drive 5.25", "", P::Drives, S::All, ""},
    {"#6", "", "Floppy Drive 3.5", "", P::Drives, S::All, "media-floppy"},
    {"#7", "", "Removeable Drive", "", P::Drives, S::All, "drive-removable-media"},
    {"#8", "", "Hard Drive", "", P::Drives, S::All, "drive-harddisk"},
    {"#9", "", "Network Drive", "", P::Drives, S::All, "folder-remote"},
    {"#10", "", "Network Drive (Offline)", "", P::Drives, S::All, ""},
    {"#11", "", "CD-ROM Drive", "", P::Drives, S::AllButXp, "drive-optical"},
    {"#12", "", "RAM Drive", "", P::Drives, S::All, ""},
    {"#40", "", "CD-Audio", "", P::Drives, S::AllButXp, "media-optical-audio"},
    {"#13", "", "All the Network", "", P::Miscellaneous, S::All, "network-server"},
    {"#14", "", "Network", "", P::Miscellaneous, S::All, "network-wired"},
    {"#15", "", "Computer", "", P::Miscellaneous, S::All, ""},
    {"#16", "", "Printer", "", P::Miscellaneous, S::All, "printer"},
    {"#17", "", "Computers", "", P::Miscellaneous, S::AllButXp, ""},
    {"#17", "", "My Network Places", "", P::Desktop, S::XpOnly, ""},
    {"#18", "", "Workgroup", "", P::Miscellaneous, S::All, ""},
    {"#19", "", "Programs", "", P::StartMenu, S::AllButXp, "applications-other"},
    {"#20", "", "Documents", "", P::StartMenu, S::AllButXp, "x-office-document"},
    {"#21", "", "Settings", "", P::StartMenu, S::AllButXp, "preferences-desktop"},
    {"#22", "", "Find", "", P::StartMenu, S::AllButXp, "system-search"},
    {"#23", "", "Help", "", P::StartMenu, S::AllButXp, "help-browser"},
    {"#24", "", "Execute", "", P::StartMenu, S::AllButXp, "system-run"},
    {"#25", "", "Suspend", "", P::StartMenu, S::AllButXp, "system-suspend"},
    {"#26", "", "Laptop", "", P::StartMenu, S::AllButXp, "computer-laptop"},
    {"#27", "", "Shut Down", "", P::StartMenu, S::AllButXp, "system-shutdown"},
    {"#44", "", "Close Session", "", P::StartMenu, S::AllButXp, "system-log-out"},
    {"#36", "", "Program Group", "", P::Desktop, S::All, ""},
}};

bool IsKeptInFileName(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

}  // namespace

std::span<const SystemIconRow> SystemIconTable() {
  return kRows;
}

std::string_view PageName(TIconPage page) {
  switch (page) {
    case TIconPage::Desktop:
      return "Desktop";
    case TIconPage::StartMenu:
      return "Start Menu";
    case TIconPage::Drives:
      return "Drives";
    case TIconPage::Miscellaneous:
      return "Miscellaneous";
  }
  return "";
}

bool IsStockRow(const SystemIconRow& row) {
  return row.key.starts_with('#');
}

int StockIndex(const SystemIconRow& row) {
  if (!IsStockRow(row)) return -1;
  int index = -1;
  std::from_chars(row.key.data() + 1, row.key.data() + row.key.size(), index);
  return index;
}

bool RowUsedOn(const SystemIconRow& row, bool isXp) {
  switch (row.systems) {
    case TRowSystems::All:
      return true;
    case TRowSystems::AllButXp:
      return !isXp;
    case TRowSystems::XpOnly:
      return isXp;
  }
  return false;
}

std::string FullCaption(const SystemIconRow& row) {
  std::string caption(row.caption);
  if (!row.suffix.empty()) caption += " " + std::string(row.suffix);
  return caption;
}

std::string ColorizedIconFileName(const SystemIconRow& row) {
  std::string name;
  for (char c : std::string(row.caption) + std::string(row.suffix))
    if (IsKeptInFileName(c)) name += c;
  return name + ".ico";
}

}  // namespace varnel
