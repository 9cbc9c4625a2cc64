// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "profile.h"

#include <QChart>
#include <QList>

class QGraphicsSimpleTextItem;
class QLineSeries;
class QPainter;
class QRectF;

namespace plenix {

// The pressure profile as a Qt chart: the route total as a step line against
// the row or the distance along the route, broken where a total is no
// figure; against the row, each item's loss as a bar, labelled with its
// description where there is room clear of the line; the markers named
// where they stand. The pointer over a row shows its figures, and a click
// names the row. The same chart stands in the window's panel and in the
// report.
class ProfileChart final : public QChart
{
    Q_OBJECT

public:
    explicit ProfileChart(QGraphicsItem *parent = nullptr);
    ~ProfileChart() override;
    Q_DISABLE_COPY_MOVE(ProfileChart)

    void showProfile(const PressureProfile &profile, ProfileAxis axis = ProfileAxis::Row);
    // An out-of-date chart says so in its title and pales until redrawn.
    void setOutOfDate(bool outOfDate);
    bool isOutOfDate() const { return m_outOfDate; }
    const PressureProfile &profile() const { return m_profile; }
    ProfileAxis axis() const { return m_axis; }
    // What the pointer shows over a row's bar or its stretch of the line.
    QString pointText(Int16 row) const;

Q_SIGNALS:
    // A bar, or a row's stretch of the line, was clicked.
    void rowClicked(int row);

private:
    void clearProfile();
    void placeLabels();
    QGraphicsSimpleTextItem *addLabel(const QString &text, const QColor &color);
    void showPointText(std::optional<Int16> row, bool shown);

    PressureProfile m_profile;
    ProfileAxis m_axis = ProfileAxis::Row;
    QLineSeries *m_anchor = nullptr; // maps values to positions; never drawn
    QList<QGraphicsSimpleTextItem *> m_labels;
    bool m_outOfDate = false;
};

// Paints a profile chart into a rectangle of a painter's device, laid out as
// on a screen of the target's size in points, so its text keeps a readable
// size on any device.
void paintProfileChart(QPainter &painter, const QRectF &target, const PressureProfile &profile,
                       ProfileAxis axis, double deviceDotsPerInch);

} // namespace plenix
