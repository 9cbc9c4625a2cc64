// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "layout.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <cstddef>
#include <vector>

namespace plenix {

// Keeps each recorded control at the same share of its parent's client area
// as in the window's design, however the window is sized. The shares are
// taken once from the design geometry and never re-measured, so the same
// client size always gives the same layout: resizing back and forth cannot
// drift.
class LayoutTable final
{
public:
    LayoutTable() = default;
    Q_DISABLE_COPY_MOVE(LayoutTable)

    // Forgets every recorded control.
    void clear() { m_entries.clear(); }
    // Records a control's design geometry as fractions of the design client
    // area; both in the same unit (the window's design is in twips).
    void record(QWidget *control, const Geometry &design, float designClientWidth,
                float designClientHeight);
    // Moves and resizes every recorded control for a client area of this size.
    void apply(const QSize &client) const;

    std::size_t size() const { return m_entries.size(); }
    ControlRatios ratios(std::size_t index) const;

private:
    struct Entry
    {
        QPointer<QWidget> control;
        ControlRatios ratios;
    };
    std::vector<Entry> m_entries;
};

} // namespace plenix
