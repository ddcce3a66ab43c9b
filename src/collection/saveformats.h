#pragma once
// The file formats an icon or one of its images is saved as, by extension: the one table behind
// the icon save dialog's filter, SaveIconFile and varnel-cli export.

#include <span>
#include <string>
#include <string_view>

#include "graphics/color.h"

namespace varnel {

class TAdvancedIcon;
class TSubIcon;
class UserInterface;

// What one save writes: the whole icon, and the image that picture formats take.
struct TSaveJob {
  const TAdvancedIcon& icon;
  const TSubIcon& image;
  TColor background;  // for formats without transparency
  const std::string& fileName;
  UserInterface& ui;  // asked for the hot spot of cursors and X bitmaps
};

// Writes the job's file; false when the user cancelled a question and nothing was written.
using TSaveWriter = bool (*)(const TSaveJob& job);

struct TSaveFormat {
  const char* extension;    // lower case, without the dot
  const char* description;  // as the save dialog's filter shows it
  TSaveWriter writer;
  bool wholeIcon;  // writes every image of the icon, not only the chosen one
};

// Every format in the order of the icon save dialog's filter: the icon and picture formats of
// this file's own table, then those the rows of the table of formats give.
std::span<const TSaveFormat> SaveFormats();
// The format of an extension (without the dot, any case); null for others.
const TSaveFormat* FindSaveFormat(std::string_view extension);
// "Icon (*.ico)|*.ico|Windows Bitmap (*.bmp)|*.bmp|..." for the save dialog.
std::string SaveFormatFilter();

// Writes the job with the format of its extension; other extensions write nothing (false).
bool WriteSaveFormat(std::string_view extension, const TSaveJob& job);

}  // namespace varnel
