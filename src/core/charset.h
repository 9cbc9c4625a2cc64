// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The 8-bit character set of cells and route files: Windows-1252. The five
// bytes it leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// control characters of the same code, so every byte survives a round trip.
namespace plenix {

char32_t charFromByte(unsigned char byte);
// The byte of a character, or nothing when the set has no such character.
std::optional<unsigned char> byteFromChar(char32_t ch);

// Appends a character of the set as UTF-8.
void appendUtf8(std::string &out, char32_t ch);

// UTF-8 text as the set's bytes. The first character the set lacks (or the
// first byte that is not UTF-8) is the error.
struct StoredText
{
    std::string bytes;
    std::optional<char32_t> missing;
};
StoredText storedFromUtf8(std::string_view utf8);

// The text with its ASCII letters in small letters; other bytes, those of
// the set's accented letters among them, stay as they are.
std::string asciiLowered(std::string_view text);

// Whether two texts are the same but for the case of their ASCII letters.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace plenix
