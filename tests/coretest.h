#pragma once

// Shared by the core tests: lets QCOMPARE print std::string values, with
// control characters and high bytes spelled out so a failed comparison of
// route text shows where TABs, CRs and 0x80 stand, and cell ranges.
#include "routetable.h"

#include <QTest>

#include <cstdio>
#include <string>

namespace QTest {
template<>
inline char *toString(const std::string &text)
{
    std::string shown = "\"";
    for (const char raw : text) {
        const auto c = static_cast<unsigned char>(raw);
        if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        } else {
            shown += static_cast<char>(c);
        }
    }
    shown += '"';
    return qstrdup(shown.c_str());
}

template<>
inline char *toString(const plenix::CellRange &range)
{
    char text[80];
    std::snprintf(text, sizeof text, "rows %d..%d, columns %d..%d", range.top, range.bottom,
                  range.left, range.right);
    return qstrdup(text);
}
} // namespace QTest
