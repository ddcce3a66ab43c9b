#include "app/menutranslation.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/commandset.h"

namespace varnel {
namespace {

constexpr int kFirstTranslatedKey = 100;
// The property of menu actions that holds their translation key.
constexpr const char* kKeyProperty = "menuKey";

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string LowerCase(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string HintOf(const QAction& action) {
  QString tooltip = action.toolTip(), status = action.statusTip();
  if (status.isEmpty() || status == tooltip) return status.toStdString();
  return (tooltip + '|' + status).toStdString();
}

// The keyed actions of the menus, depth first in menu order.
void CollectKeyed(const QList<QAction*>& actions, std::vector<QAction*>& keyed) {
  for (QAction* action : actions) {
    if (action->property(kKeyProperty).toInt() >= kFirstTranslatedKey) keyed.push_back(action);
    if (QMenu* menu = action->menu()) CollectKeyed(menu->actions(), keyed);
  }
}

void WriteBuiltInTexts(const std::vector<QAction*>& keyed, const std::filesystem::path& file) {
  std::vector<std::pair<int, TMenuText>> items;
  for (QAction* action : keyed)
    items.push_back(
        {action->property(kKeyProperty).toInt(), {action->text().toStdString(), HintOf(*action)}});
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  std::ofstream(file) << FormatMenuTranslation("english", items);
}

void Apply(const std::vector<QAction*>& keyed, const std::map<int, TMenuText>& texts) {
  for (QAction* action : keyed) {
    auto found = texts.find(action->property(kKeyProperty).toInt());
    if (found == texts.end()) continue;
    action->setText(QString::fromStdString(found->second.caption));
    std::string_view hint = found->second.hint;
    action->setToolTip(QString::fromUtf8(HintTooltip(hint).data(), HintTooltip(hint).size()));
    action->setStatusTip(
        QString::fromUtf8(HintStatusText(hint).data(), HintStatusText(hint).size()));
  }
}

}  // namespace

std::map<int, TMenuText> ParseMenuTranslation(const std::string& contents) {
  std::map<int, TMenuText> texts;
  std::istringstream lines(contents);
  std::string line;
  std::getline(lines, line);  // the language's name
  while (std::getline(lines, line)) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    int key = std::atoi(Trimmed(line.substr(0, equals)).c_str());
    if (key < kFirstTranslatedKey) continue;
    std::string rest = line.substr(equals + 1);
    size_t bar = rest.find('|');
    TMenuText text{Trimmed(rest.substr(0, bar)),
                   bar == std::string::npos ? "" : Trimmed(rest.substr(bar + 1))};
    texts[key] = text;
  }
  return texts;
}

std::string FormatMenuTranslation(const std::string& language,
                                  const std::vector<std::pair<int, TMenuText>>& items) {
  std::string contents = language;
  if (!contents.empty()) contents[0] = char(std::toupper(static_cast<unsigned char>(contents[0])));
  contents += '\n';
  for (const auto& [key, text] : items) {
    contents += std::to_string(key) + "=" + text.caption;
    if (!text.hint.empty()) contents += "|" + text.hint;
    contents += '\n';
  }
  return contents;
}

std::string ApplyMenuTranslation(QMenuBar& menus, const std::string& languageFolder,
                                 const std::string& language) {
  namespace fs = std::filesystem;
  fs::path file = fs::path(languageFolder) / (language + ".mnu");
  std::error_code error;
  if (language.empty() || !fs::is_regular_file(file, error)) return language;
  bool english = LowerCase(language) == "english";
  std::vector<QAction*> keyed;
  CollectKeyed(menus.actions(), keyed);
  fs::path englishFile = fs::path(languageFolder) / "english.mnu";
  if (!english && !fs::exists(englishFile, error)) WriteBuiltInTexts(keyed, englishFile);
  std::ifstream input(file);
  std::stringstream contents;
  contents << input.rdbuf();
  Apply(keyed, ParseMenuTranslation(contents.str()));
  return english ? std::string() : language;
}

}  // namespace varnel
