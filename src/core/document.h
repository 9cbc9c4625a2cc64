#pragma once

#include <string>
#include <string_view>

namespace plenix {

inline constexpr std::string_view DefaultCaptionPrefix = "Plenix - ";
inline constexpr std::string_view UntitledName = "Untitled";

// A file's name for the caption: the path without its folders and without a
// final ".txt" in any letter case. Another extension, or none, stays.
std::string fnFileNameFromPath(std::string_view path);

// Which file the route belongs to. Paths are in the file system's encoding.
// The route's contents live in the route table and the description box; the
// document only names them.
struct DocumentState
{
    std::string DocPath;
    std::string DocName;
    std::string DocText;
    std::string CaptionPrefix{DefaultCaptionPrefix};

    bool isUntitled() const { return DocPath.empty(); }
    std::string caption() const;

    // New and Close.
    void sbUntitled();
    // A successful Open or Save As of this path.
    void sbNamed(std::string_view path);
};

} // namespace plenix
