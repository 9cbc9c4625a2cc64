// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

// The 8-bit character set of cells and route files: Windows-1252. The five
// bytes it leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// control characters of the same code, so every byte survives a round trip.
namespace plenix {

char32_t charFromByte(unsigned char byte);
// The byte of a character, or nothing when the set has no such character.
std::optional<unsigned char> byteFromChar(char32_t ch);

} // namespace plenix
