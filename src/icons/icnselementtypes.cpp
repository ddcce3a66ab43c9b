#include "icons/icnselementtypes.h"

#include <array>
#include <cctype>
#include <string>

namespace varnel {

namespace {

using enum IcnsElementForm;

const std::array kTypes = {
    IcnsElementType{"ic08", Compressed, 256, 256, 0},
    IcnsElementType{"ic13", Compressed, 256, 256, 0},
    IcnsElementType{"ic09", Compressed, 512, 512, 0},
    IcnsElementType{"ic14", Compressed, 512, 512, 0},
    IcnsElementType{"ic10", Compressed, 1024, 1024, 0},
    IcnsElementType{"ic11", Compressed, 32, 32, 0},
    IcnsElementType{"ic12", Compressed, 64, 64, 0},
    IcnsElementType{"ic07", Compressed, 128, 128, 0},
    IcnsElementType{"icp4", Compressed, 16, 16, 0},
    IcnsElementType{"icp5", Compressed, 32, 32, 0},
    IcnsElementType{"icp6", Compressed, 64, 64, 0},
    IcnsElementType{"icsB", Compressed, 36, 36, 0},
    IcnsElementType{"sb24", Compressed, 24, 24, 0},
    IcnsElementType{"SB24", Compressed, 48, 48, 0},
    IcnsElementType{"ic04", ArgbPlanes, 16, 16, 0},
    IcnsElementType{"ic05", ArgbPlanes, 32, 32, 0},
    IcnsElementType{"icsb", ArgbPlanes, 18, 18, 0},
    IcnsElementType{"it32", RgbPlanes, 128, 128, 0, 4},
    IcnsElementType{"ih32", RgbPlanes, 48, 48, 0},
    IcnsElementType{"il32", RgbPlanes, 32, 32, 0},
    IcnsElementType{"is32", RgbPlanes, 16, 16, 0},
    IcnsElementType{"t8mk", AlphaMask, 128, 128, 0},
    IcnsElementType{"h8mk", AlphaMask, 48, 48, 0},
    IcnsElementType{"l8mk", AlphaMask, 32, 32, 0},
    IcnsElementType{"s8mk", AlphaMask, 16, 16, 0},
    IcnsElementType{"ich#", Indexed, 48, 48, 1},
    IcnsElementType{"ich4", Indexed, 48, 48, 4},
    IcnsElementType{"ich8", Indexed, 48, 48, 8},
    IcnsElementType{"icn#", Indexed, 32, 32, 1},
    IcnsElementType{"icl4", Indexed, 32, 32, 4},
    IcnsElementType{"icl8", Indexed, 32, 32, 8},
    IcnsElementType{"ics#", Indexed, 16, 16, 1},
    IcnsElementType{"ics4", Indexed, 16, 16, 4},
    IcnsElementType{"ics8", Indexed, 16, 16, 8},
    IcnsElementType{"icm#", Indexed, 16, 12, 1},
    IcnsElementType{"icm4", Indexed, 16, 12, 4},
    IcnsElementType{"icm8", Indexed, 16, 12, 8},
    IcnsElementType{"toc ", Contents, 0, 0, 0},
};

std::optional<IcnsElementType> FindExact(std::string_view tag) {
  for (const IcnsElementType& type : kTypes)
    if (type.name == tag) return type;
  return std::nullopt;
}

}  // namespace

std::optional<IcnsElementType> FindIcnsElementType(std::string_view tag) {
  if (auto type = FindExact(tag)) return type;
  std::string lower(tag);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return FindExact(lower);
}

}  // namespace varnel
