#pragma once
// Mac icon files (icon families, resource forks, AppleDouble files) read into one icon.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "icons/advancedicon.h"
#include "icons/icnsreader.h"

namespace varnel {

// The pictures of a Mac icon file in memory: an icon family when it starts with "icns", else a
// resource fork whose icon resources follow the pictures of an embedded family (those of a
// size and format the family has are dropped), and pictures repeating an earlier one removed.
std::vector<MacIconPicture> ReadMacIconBytes(std::span<const uint8_t> file);
std::vector<MacIconPicture> ReadMacIconFile(const std::string& fileName);

// Clears icon and fills it with the pictures of a Mac icon file, sorted by depth and width.
// Pictures stored as PNG keep their bytes and stay packed; images of 256 pixels or more are
// packed too.
void ImportMacIconBytes(std::span<const uint8_t> file, TAdvancedIcon& icon);
// The same images for a caller that draws one of them: the PNG elements of an icon family are
// read from their headers and decoded only when drawn (see ReadIcnsFamilyUndecodedPng).
void ImportMacIconBytesUndecodedPng(std::span<const uint8_t> file, TAdvancedIcon& icon);
void ImportMacIcon(const std::string& fileName, TAdvancedIcon& icon);

}  // namespace varnel
