#pragma once

#include <string>
#include <string_view>

namespace plenix {

inline constexpr std::string_view DefaultCaptionPrefix = "Plenix - ";
inline constexpr std::string_view UntitledName = "Untitled";

// A file's name for the caption: the path without its folders and without a
// final ".txt" in any letter case. Another extension, or none, stays.
std::string fileNameFromPath(std::string_view path);

// Which file the route belongs to. Paths are in the file system's encoding.
// The route's contents live in the route table and the description box; the
// document only names them.
struct DocumentState
{
    std::string path;
    std::string name;
    std::string text;
    std::string captionPrefix{DefaultCaptionPrefix};

    bool isUntitled() const { return path.empty(); }
    std::string caption() const;

    // New and Close.
    void makeUntitled();
    // A successful Open or Save As of this path.
    void setPath(std::string_view path);
};

} // namespace plenix
