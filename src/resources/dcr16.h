#pragma once
// 16-bit resource files whose first resource is a bitmap (component-palette .dcr files).

#include <span>

#include "resources/iconlist.h"

namespace varnel {

// Copies the first bitmap resource into memory in validated form, then adds it as an icon with
// one opaque image, named like the resource. Raises Exception with the reason for bad headers.
void ImportDcr16(std::span<const uint8_t> bytes, TIconList& library);

// 8-bit text kept as it is when it is valid UTF-8, else read as Latin-1.
std::string EightBitTextToUtf8(std::span<const uint8_t> text);

}  // namespace varnel
