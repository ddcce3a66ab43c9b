#pragma once
// The C-source text that X pictures (XPM, XBM) are written in: comment removal, control
// characters, identifiers.

#include <cstdint>
#include <span>
#include <string>

namespace varnel {

// The text with its comments removed (those outside quoted strings, so that picture codes such
// as "/*" survive), tabs turned into blanks and every other control character (line breaks
// included) dropped.
std::string FilterPictureSource(std::span<const uint8_t> bytes);

// A C identifier made from a picture name: lower-cased, every character but a digit, "_" or
// a lower-case letter replaced by "_", "noname" when empty, "s" put in front when it does not
// start with "_" or a letter.
std::string CleanPictureName(const std::string& name);

}  // namespace varnel
