#pragma once
// The packed integers and strings of collection files and icon projects.

#include <cstdint>
#include <string>

#include "base/stream.h"

namespace varnel {

// 0..251 as one byte; 252..65535 as 252 and a u16; -1 as 253; anything else as 254 and an i32.
void WritePackedInteger(Stream& stream, int32_t value);
int32_t ReadPackedInteger(Stream& stream);

// A packed length, then the bytes.
void WritePackedString(Stream& stream, const std::string& text);
// Raises EReadError for a negative length or one beyond the bytes the stream holds.
std::string ReadPackedString(Stream& stream);

}  // namespace varnel
