// SPDX-License-Identifier: GPL-3.0-or-later
// Opens arbitrary bytes as a route document, then runs what a user does
// after Open on it: a string of edits the input chooses (typing, Delete, the
// fill rule, pastes, Insert Row, cursor moves, fittings with an elbow radius
// reply), Calculate and the list text, under a text limit the input also
// chooses. Checks: no crash or undefined behaviour; no limited edit lets the
// rows' text outgrow the limit unless it shrinks; the counted file size is
// the built one; the description's box text converts to file bytes and back.
#include "calculation.h"
#include "editing.h"
#include "fittings.h"
#include "routedocument.h"
#include "routefile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace plenix;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

struct Input
{
    std::string_view ops;
    std::string_view text;
    std::size_t at = 0;

    std::uint8_t next() { return at < ops.size() ? static_cast<std::uint8_t>(ops[at++]) : 0; }
    // A slice of the route text, for pastes, fills and replies.
    std::string_view slice()
    {
        const std::size_t from = text.empty() ? 0 : next() % text.size();
        return text.substr(from, next());
    }
};

void edit(RouteDocument &document, Input &in)
{
    RouteTable &table = document.table();
    const std::uint8_t op = in.next();
    const std::size_t before = table.rowsTextSize();
    bool limited = true;
    switch (op % 8) {
    case 0:
        typeChar(table, in.next() % 2 ? in.next() : BackspaceCode);
        break;
    case 1:
        deleteSelection(table);
        break;
    case 2:
        table.setCurrentText(in.slice());
        break;
    case 3:
        insertRow(table);
        break;
    case 4:
        table.setCurrentCell(static_cast<Int16>(in.next() % 64),
                             static_cast<Int16>(in.next() % 13));
        limited = false;
        break;
    case 5:
        table.setSelectionEnd(static_cast<Int16>(in.next() % 64),
                              static_cast<Int16>(in.next() % 13));
        limited = false;
        break;
    case 6:
        table.setBlockText(in.slice());
        break;
    default: {
        const Fitting &fitting = Fittings[in.next() % Fittings.size()];
        const std::string_view reply = in.slice();
        const float diameter = elbowDiameter(table);
        if (fitting.asksForRadius()) {
            const std::string coefficient = elbowCoefficient(fitting.value, diameter, reply);
            check(coefficient.empty() || (diameter != 0 && isNumericReply(reply)));
        }
        insertFitting(table, fitting, diameter, reply);
        limited = false;
    }
    }
    if (limited) {
        const std::size_t after = table.rowsTextSize();
        check(after <= table.textLimit() || after <= before);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view x(reinterpret_cast<const char *>(data), size);
    const std::size_t opCount = x.empty() ? 0 : static_cast<std::uint8_t>(x[0]) % 48;
    Input in{x.substr(x.empty() ? 0 : 1, opCount), x.substr(std::min(size, 1 + opCount))};

    RouteDocument document;
    if (!document.openText(in.text))
        return 0;
    RouteTable &table = document.table();
    // A limit near what the rows hold, so that some edits are refused.
    table.setTextLimit(table.rowsTextSize() + in.next());
    while (in.at < in.ops.size())
        edit(document, in);
    calculate(table);
    const std::string list = listText(table);
    check(list.starts_with(table.headerLine()));
    check(document.fileTextSize() == document.fileText().size());

    const std::string box = descriptionForBox(document.description());
    check(descriptionForBox(descriptionForFile(box)) == box);
    return 0;
}
