// SPDX-License-Identifier: GPL-3.0-or-later
#include "layouttable.h"

#include <QRect>
#include <QtMath>

namespace plenix {

void LayoutTable::record(QWidget *control, const Geometry &design, float designClientWidth,
                         float designClientHeight)
{
    m_entries.push_back(
        {control, ratiosFromGeometry(design, designClientWidth, designClientHeight)});
}

void LayoutTable::apply(const QSize &client) const
{
    // A minimised window may report nothing sensible; a negative side counts as 0.
    const auto width = static_cast<float>(qMax(client.width(), 0));
    const auto height = static_cast<float>(qMax(client.height(), 0));
    for (const Entry &entry : m_entries) {
        if (!entry.control)
            continue;
        const Geometry g = geometryFromRatios(entry.ratios, width, height);
        // Rounding the edges rather than the sizes keeps neighbouring
        // controls from overlapping by a pixel.
        const int left = qRound(g.left);
        const int top = qRound(g.top);
        const int right = qRound(g.left + g.width);
        const int bottom = qRound(g.top + g.height);
        entry.control->setGeometry(left, top, qMax(right - left, 0), qMax(bottom - top, 0));
    }
}

ControlRatios LayoutTable::ratios(std::size_t index) const
{
    return index < m_entries.size() ? m_entries[index].ratios : ControlRatios{};
}

} // namespace plenix
