#include "collection/themeexportcommand.h"

#include "base/errors.h"
#include "collection/faviconexport.h"
#include "collection/iconthemeexport.h"
#include "collection/xcursorthemeexport.h"
#include "platform/waitcursorscope.h"

namespace varnel {

namespace {

constexpr const char* kFolderPrompt = "Select the folder to write into:";

bool AnySelected(CollectionTarget& target) {
  for (int i = 0; i < target.Count(); ++i)
    if (target.Items().Icons(i)->Selected) return true;
  return false;
}

// The selected items, or every item when none is selected.
std::function<bool(int)> ChosenItems(CollectionTarget& target) {
  if (!AnySelected(target)) return nullptr;
  TIconList& items = target.Items();
  return [&items](int index) { return items.Icons(index)->Selected; };
}

std::string WriteIcons(CollectionTarget& target, const std::string& folder,
                       const std::string& name) {
  IconThemeOptions options{name};
  options.includes = ChosenItems(target);
  IconThemeReport report = WriteIconTheme(target.Collection(), folder, options);
  return "Icon theme written to " + report.folder + ": " + std::to_string(report.icons) +
         " icons, " + std::to_string(report.pictures) + " pictures, " +
         std::to_string(report.drawings) + " drawings.";
}

std::string WriteCursors(CollectionTarget& target, const std::string& folder,
                         const std::string& name) {
  XCursorThemeOptions options{name};
  options.includes = ChosenItems(target);
  XCursorThemeReport report = WriteXCursorTheme(target.Collection(), folder, options);
  std::string text = "Cursor theme written to " + report.folder + ": " +
                     std::to_string(report.cursors) + " cursors, " +
                     std::to_string(report.animated) + " animated.";
  if (report.withoutHotSpot > 0)
    text += " " + std::to_string(report.withoutHotSpot) +
            " icons have no hot spot and were written with the hot spot (0, 0).";
  return text;
}

std::string WriteFavicons(CollectionTarget& target, const std::string& folder) {
  int current = target.Grid().Current();
  if (current < 0 || current >= target.Count()) throw Exception("No icon is chosen");
  FaviconReport report = WriteFaviconSet(*target.Items().Icons(current),
                                         target.Collection().SourceOf(current), folder, {});
  return "Favicon set written to " + folder + ". Link it from a page with:\n" +
         FaviconLinks(report);
}

std::string Write(CollectionTarget& target, ThemeExport kind, const std::string& folder) {
  if (kind == ThemeExport::FaviconSet) return WriteFavicons(target, folder);
  bool icons = kind == ThemeExport::IconTheme;
  std::optional<std::string> name =
      target.UI().AskText({icons ? "Icon Theme" : "Cursor Theme",
                           "Name of the theme:", icons ? "Varnel Icons" : "Varnel Cursors"});
  if (!name) return "";
  return icons ? WriteIcons(target, folder, *name) : WriteCursors(target, folder, *name);
}

}  // namespace

void ExportTheme(CollectionTarget& target, ThemeExport kind) {
  target.CheckNotBusy();
  if (target.Count() == 0) return;
  std::optional<std::string> folder = target.UI().ChooseFolder({kFolderPrompt, "", true});
  if (!folder) return;
  std::string report;
  try {
    WaitCursorScope waiting(target.UI());
    report = Write(target, kind, *folder);
  } catch (const std::exception& error) {
    target.UI().ShowMessage(MakeMessage(TMessageKind::Error, error.what()));
    return;
  }
  if (!report.empty()) target.UI().ShowMessage(MakeMessage(TMessageKind::Information, report));
}

}  // namespace varnel
