// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation.h"
#include "calculation/method.h"
#include "fittings/rowfittings.h"
#include "marks.h"
#include "routetable.h"

#include <functional>
#include <string>
#include <string_view>

namespace plenix {

inline constexpr std::string_view CaptionPrefix = "Plenix - ";
inline constexpr std::string_view UntitledName = "Untitled";

// A file's name for the caption: the path without its folders and without a
// final ".txt" in any letter case. Another extension, or none, stays.
std::string fileNameFromPath(std::string_view path);

// A file name or path shown on one line, in valid UTF-8: each control
// character (codes 0 to 31 and 127) becomes its visible picture from the
// Control Pictures block, so "a<LF>b" reads "a\u240Ab", and each byte that
// is no part of a UTF-8 character is spelt out, so "caf<E9>" reads
// "caf\xE9". Valid UTF-8 stays as it is.
std::string oneLineName(std::string_view name);

// The length of the UTF-8 character at the start of `text`, or 0 when it
// does not start with one (a stray byte, a cut or overlong sequence, a
// surrogate).
std::size_t utf8CharLength(std::string_view text);

// A change of the description: the bytes at offset, which were `removed`,
// became `inserted`.
struct DescriptionSplice
{
    std::size_t offset = 0;
    std::string removed;
    std::string inserted;
};

// The route being edited: its table, its description, the file it belongs
// to and whether it holds changes that file lacks. It reads and writes file
// texts, never files; paths are in the file system's encoding.
class RouteDocument final
{
public:
    // The table is set up and empty, the description empty, no file named.
    RouteDocument();
    ~RouteDocument();
    RouteDocument(const RouteDocument &) = delete;
    RouteDocument &operator=(const RouteDocument &) = delete;

    RouteTable &table() { return m_table; }
    const RouteTable &table() const { return m_table; }
    // Out-of-date results and doubtful inputs; Open and New clear them.
    RouteMarks &marks() { return m_marks; }
    const RouteMarks &marks() const { return m_marks; }

    // The description as a route file stores it: Windows-1252 bytes, lines
    // broken by CR LF (or whatever a file read in held).
    const std::string &description() const { return m_description; }
    // Takes a whole description; the change is told as the one span that
    // differs, so that replacing a long text by a near copy costs little
    // history.
    void setDescription(std::string_view stored);
    // Replaces `count` bytes at `offset`, which must lie within the text.
    void replaceDescription(std::size_t offset, std::size_t count, std::string_view inserted);
    // Told of every change of the description.
    using DescriptionHook = std::function<void(DescriptionSplice change)>;
    void setDescriptionHook(DescriptionHook hook) { m_descriptionHook = std::move(hook); }

    // Empty for an untitled route.
    const std::string &path() const { return m_path; }
    const std::string &name() const { return m_name; }
    bool isUntitled() const { return m_path.empty(); }
    // Names the file after it has been read or written.
    void setPath(std::string_view path);
    std::string caption() const;

    // Set by every change to a data cell or to the description; cleared when
    // the route is opened, saved or emptied, and by whoever knows that undoing
    // brought back what was saved.
    bool isModified() const { return m_modified; }
    void markModified() { m_modified = true; }
    void markSaved() { m_modified = false; }
    void setModified(bool modified) { m_modified = modified; }

    // How Calculate works the route out: the classic method unless a
    // project says otherwise.
    const method::Settings &method() const { return m_method; }
    // The grid's captions follow its units.
    void setMethod(const method::Settings &settings);

    // Calculate; a pass that runs to the end leaves no result out of date.
    // In a project, the route's fittings of the library are worked out
    // first, with the junctions of its take-offs.
    CalculationOutcome calculate(const fittings::RouteContext *context = nullptr);
    // How the last Calculate worked out each row's fitting, row 1 first.
    const std::vector<fittings::RowFitting> &fittingRows() const { return m_fittingRows; }
    void setFittingRows(std::vector<fittings::RowFitting> rows) { m_fittingRows = std::move(rows); }

    // What Save writes, and its length, counted without building it.
    std::string fileText() const;
    // The file text up to the description: the rows and the separator. It and
    // the description, one after the other, are the file text, which a save
    // then writes without joining them.
    std::string fileTextHead() const;
    std::size_t fileTextSize() const;
    // Takes the route and description of a file's text and goes home. A text
    // without separator is not a route file: false, and nothing changes. The
    // path is the caller's to name.
    bool openText(std::string_view text);
    // New and Close: the table and description emptied, no file named.
    void clear();

private:
    void followTable(const TableChange &change);
    // Leaves the grid the room that the description leaves in a route file.
    void limitTable();

    RouteTable m_table;
    RouteMarks m_marks{m_table};
    std::vector<fittings::RowFitting> m_fittingRows;
    std::string m_description;
    std::string m_path;
    std::string m_name;
    bool m_modified = false;
    method::Settings m_method;
    DescriptionHook m_descriptionHook;
};

} // namespace plenix
