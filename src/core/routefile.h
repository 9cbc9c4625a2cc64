// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <optional>
#include <string>
#include <string_view>

// A route file: the used rows of the route table as block text, one
// separator byte 0x80, then the route description. Nothing else: no header,
// no closing line end.
namespace plenix {

inline constexpr char RouteSeparator = '\x80';
inline constexpr std::string_view NotARouteFileMessage =
    "the file is not a route file (no separator byte found)";

// The most bytes a route file may hold, in both directions: Open refuses a
// larger file before reading it, Save refuses to write one, and an edit that
// would make the route's file text larger is not made. No real route comes
// near it; the bound keeps a wrong file or a runaway paste from eating the
// memory.
inline constexpr std::size_t MaxFileTextBytes = std::size_t{64} * 1024 * 1024;
inline constexpr std::string_view TooLargeEditMessage =
    "the edit was not made: the route's file would grow beyond 64 MiB, the most a route "
    "file may hold";

// The document text of the table and a description (bytes, as stored).
std::string packRoute(const RouteTable &table, std::string_view description);

// The length packRoute would give, without building the text.
std::size_t packedSize(const RouteTable &table, std::size_t descriptionSize);

// Puts a document text into the table, goes home and returns its
// description. A text with no separator is not a route file: nothing changes
// and the result is empty. Every byte after the first separator belongs to
// the description.
std::optional<std::string> unpackRoute(RouteTable &table, std::string_view docText);

// The description box breaks lines with LF; a route file and the clipboard
// with CR LF. A lone CR or LF read from a file becomes one line break.
std::string descriptionForFile(std::string_view boxText);
std::string descriptionForBox(std::string_view stored);
// A stored description as the window saves it after showing it in its box:
// every line break CR LF. Tools without a box save the same bytes through it.
std::string descriptionAsSaved(std::string_view stored);
// Whether descriptionAsSaved() would give the same bytes: every CR is
// followed by LF and every LF follows a CR.
bool isDescriptionAsSaved(std::string_view stored);

} // namespace plenix
