// The picture strips beside the program: "toolbar.png" (32-pixel pictures) and "menu.png"
// (16-pixel pictures), each a row of square pictures in the order of the commands below.

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/mainwindow.h"
#include "platform/folders.h"

namespace varnel {
namespace {

// The commands in the order of their pictures in both strips.
const char* const kPictureOrder[] = {
    "aFileNewLib",   "aFileOpen",         "aFileSave",    "aFileSaveIconAs", "aLibAddFiles",
    "aLibAddFolder", "aLibAddSubFolders", "aLibFindInet", "alibDownload",    "mnLibAddAssotiated",
    "aLibDelDupes",  "aEditCut",          "aEditCopy",    "aEditPaste",      "aEditErase",
    "aFileProps",    "aDisplayCustWin",   "btLibView",    "aHelpContents",   "aHelpAbout",
    "mnOptions",     "aEditSelectAll"};

const QRgb kTransparentMagenta = qRgb(0xFF, 0x00, 0xFF);

// The strip cut into square pictures; magenta pixels become transparent.
QList<QPixmap> CutStrip(const QString& path) {
  QImage strip(path);
  QList<QPixmap> pictures;
  if (strip.isNull() || strip.height() <= 0) return pictures;
  strip = strip.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < strip.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(strip.scanLine(y));
    for (int x = 0; x < strip.width(); ++x)
      if ((row[x] & 0xFFFFFF) == (kTransparentMagenta & 0xFFFFFF)) row[x] = 0;
  }
  int side = strip.height();
  for (int x = 0; x + side <= strip.width(); x += side)
    pictures << QPixmap::fromImage(strip.copy(x, 0, side, side));
  return pictures;
}

}  // namespace

void TfmMain::LoadPictureStrips() {
  QDir folder(QString::fromStdString(DataFolder()));
  QList<QPixmap> large = CutStrip(folder.filePath("toolbar.png"));
  QList<QPixmap> small = CutStrip(folder.filePath("menu.png"));
  int index = 0;
  for (const char* name : kPictureOrder) {
    QAction* action = Action(name);
    if (!action) continue;
    QIcon icon;
    if (index < large.size()) icon.addPixmap(large[index]);
    if (index < small.size()) icon.addPixmap(small[index]);
    if (!icon.isNull()) action->setIcon(icon);
    ++index;
  }
  ApplyPicturesToMenus(appSettings_.Values().ShowMMI);
}

void TfmMain::ApplyPicturesToMenus(bool show) {
  for (const auto& [name, action] : actions_) action->setIconVisibleInMenu(show);
}

}  // namespace varnel
