// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilechart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCoreApplication>
#include <QCursor>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGuiApplication>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {

// The symbol of the profile's unit for a quantity: "in wg", "Pa", "ft".
QString unitText(const PressureProfile &profile, units::Quantity quantity)
{
    const std::string_view symbol = units::symbol(quantity, profile.units);
    return QString::fromLatin1(symbol.data(), static_cast<qsizetype>(symbol.size()));
}

QString chartTitle(bool outOfDate)
{
    return outOfDate ? QCoreApplication::translate(
                           "ProfileChart", "Pressure profile (out of date: Calculate redraws it)")
                     : QCoreApplication::translate("ProfileChart", "Pressure profile");
}

void hideLegendEntry(QChart &chart, QAbstractSeries *series)
{
    for (QLegendMarker *marker : chart.legend()->markers(series))
        marker->setVisible(false);
}

} // namespace

ProfileChart::ProfileChart(QGraphicsItem *parent) : QChart(parent)
{
    setBackgroundRoundness(0);
    setDropShadowEnabled(false);
    setMargins(QMargins(4, 4, 4, 4));
    legend()->setAlignment(Qt::AlignTop);
    setTitle(chartTitle(false));
    connect(this, &QChart::plotAreaChanged, this, [this] { placeLabels(); });
}

ProfileChart::~ProfileChart() = default;

void ProfileChart::clearProfile()
{
    qDeleteAll(m_labels);
    m_labels.clear();
    removeAllSeries();
    m_anchor = nullptr;
    for (QAbstractAxis *axis : axes()) {
        removeAxis(axis);
        delete axis;
    }
}

void ProfileChart::showProfile(const PressureProfile &profile, ProfileAxis axis)
{
    clearProfile();
    m_profile = profile;
    m_axis = axis;
    const std::size_t rows = profile.points.size();
    const bool byRow = axis == ProfileAxis::Row;

    auto *placeAxis = new QValueAxis(this);
    if (byRow) {
        placeAxis->setTitleText(QCoreApplication::translate("ProfileChart", "Row"));
        placeAxis->setRange(0.5, static_cast<double>(std::max<std::size_t>(rows, 1)) + 0.5);
        placeAxis->setTickType(QValueAxis::TicksDynamic);
        placeAxis->setTickAnchor(0);
        placeAxis->setTickInterval(rowTickInterval(rows));
        placeAxis->setLabelFormat(u"%d"_s);
    } else {
        placeAxis->setTitleText(
            QCoreApplication::translate("ProfileChart", "Distance along the route, %1")
                .arg(unitText(profile, units::Quantity::Length)));
        const double length = rows == 0 ? 0 : profile.points.back().distanceTo;
        placeAxis->setRange(0, std::max(length, 1.0));
        placeAxis->applyNiceNumbers();
        placeAxis->setLabelFormat(u"%g"_s);
    }
    addAxis(placeAxis, Qt::AlignBottom);

    auto *pressureAxis = new QValueAxis(this);
    const QString pressureUnit = unitText(profile, units::Quantity::Pressure);
    pressureAxis->setTitleText(
        QCoreApplication::translate("ProfileChart", "Route SP, %1").arg(pressureUnit));
    const double span = std::max(profile.highest - profile.lowest, 0.01);
    pressureAxis->setRange(profile.lowest < 0 ? profile.lowest - span * 0.05 : 0,
                           profile.highest + span * 0.08);
    pressureAxis->applyNiceNumbers();
    addAxis(pressureAxis, Qt::AlignLeft);

    // Bars stand at category positions; a hidden category axis puts
    // category i under row i + 1 of the row axis. Along the distance a
    // fitting has no width for a bar, so the line alone shows the losses.
    QBarSeries *bars = nullptr;
    if (byRow) {
        auto *losses = new QBarSet(
            QCoreApplication::translate("ProfileChart", "Item SP, %1").arg(pressureUnit));
        QStringList categories;
        for (const ProfilePoint &point : profile.points) {
            losses->append(point.itemLoss.value_or(0));
            categories.append(QString::number(point.row));
        }
        connect(losses, &QBarSet::hovered, this,
                [this](bool shown, int index) { showPointText(Int16(index + 1), shown); });
        connect(losses, &QBarSet::clicked, this,
                [this](int index) { Q_EMIT rowClicked(index + 1); });
        bars = new QBarSeries(this);
        bars->append(losses);
        bars->setBarWidth(0.6);
        addSeries(bars);
        auto *barAxis = new QBarCategoryAxis(this);
        barAxis->setCategories(categories);
        barAxis->setVisible(false);
        addAxis(barAxis, Qt::AlignBottom);
        bars->attachAxis(barAxis);
        bars->attachAxis(pressureAxis);
    }

    m_anchor = new QLineSeries(this);
    addSeries(m_anchor);
    hideLegendEntry(*this, m_anchor);
    QPen linePen(QColor(0x1f, 0x4e, 0x9a), 2);
    for (const ProfileRun &run : profile.runs) {
        auto *line = new QLineSeries(this);
        line->setName(
            QCoreApplication::translate("ProfileChart", "Route SP, %1").arg(pressureUnit));
        line->setPen(linePen);
        for (const auto &[place, total] : stepLine(profile, run, axis))
            line->append(place, total);
        connect(line, &QLineSeries::hovered, this, [this](const QPointF &point, bool shown) {
            showPointText(rowAt(m_profile, point.x(), m_axis), shown);
        });
        connect(line, &QLineSeries::clicked, this, [this](const QPointF &point) {
            if (const std::optional<Int16> row = rowAt(m_profile, point.x(), m_axis))
                Q_EMIT rowClicked(*row);
        });
        addSeries(line);
        if (&run != &profile.runs.front())
            hideLegendEntry(*this, line);
    }
    for (QAbstractSeries *item : series()) {
        if (item != bars) {
            item->attachAxis(placeAxis);
            item->attachAxis(pressureAxis);
        }
    }
    setOutOfDate(false);
    placeLabels();
}

QString ProfileChart::pointText(Int16 row) const
{
    if (row < 1 || std::size_t(row) > m_profile.points.size())
        return {};
    const ProfilePoint &point = m_profile.point(row);
    const QString pressureUnit = unitText(m_profile, units::Quantity::Pressure);
    const auto figure = [&](const std::optional<double> &value, const std::string &marker) {
        if (!marker.empty())
            return QString::fromStdString(marker);
        return value ? QString::number(*value) + u' ' + pressureUnit : u"-"_s;
    };
    QString text = QCoreApplication::translate("ProfileChart", "Row %1").arg(row);
    if (!point.description.empty())
        text += u": "_s + QString::fromStdString(point.description);
    text += u'\n' + QCoreApplication::translate("ProfileChart", "Item SP: %1")
                        .arg(figure(point.itemLoss, point.marker));
    text += u'\n' + QCoreApplication::translate("ProfileChart", "Route SP: %1")
                        .arg(figure(point.routeTotal, {}));
    text += u'\n' + QCoreApplication::translate("ProfileChart", "Distance: %1 to %2 %3")
                        .arg(point.distanceFrom)
                        .arg(point.distanceTo)
                        .arg(unitText(m_profile, units::Quantity::Length));
    return text;
}

void ProfileChart::showPointText(std::optional<Int16> row, bool shown)
{
    if (shown && row)
        QToolTip::showText(QCursor::pos(), pointText(*row));
    else
        QToolTip::hideText();
}

void ProfileChart::setOutOfDate(bool outOfDate)
{
    m_outOfDate = outOfDate;
    setTitle(chartTitle(outOfDate));
    for (QAbstractSeries *item : series())
        item->setOpacity(outOfDate ? 0.35 : 1.0);
}

QGraphicsSimpleTextItem *ProfileChart::addLabel(const QString &text, const QColor &color)
{
    auto *label = new QGraphicsSimpleTextItem(text, this);
    QFont small = font();
    small.setPointSizeF(7);
    label->setFont(small);
    label->setBrush(color);
    label->setRotation(-90);
    label->setZValue(10);
    m_labels.append(label);
    return label;
}

void ProfileChart::placeLabels()
{
    qDeleteAll(m_labels);
    m_labels.clear();
    const QRectF area = plotArea();
    if (!m_anchor || area.isEmpty())
        return;
    QFont small = font();
    small.setPointSizeF(7);
    const QFontMetricsF metrics(small);
    const bool byRow = m_axis == ProfileAxis::Row;
    const auto at = [this](double place, double value) {
        return mapToPosition(QPointF(place, value), m_anchor);
    };
    // A label runs upwards from its bar, rotated, so it needs a slot wider
    // than a line of text, whose edges the line's risers stand on, and a
    // stretch clear of the route line: between the bar and the line, or
    // between the line and the top, whichever is longer. Along the distance
    // there are no bars to label.
    const bool room = byRow && at(1.5, 0).x() - at(0.5, 0).x() >= metrics.height() * 1.2;
    const double gap = 3;
    for (const ProfilePoint &point : m_profile.points) {
        const double place = byRow ? point.row : (point.distanceFrom + point.distanceTo) / 2;
        const double barTop =
            byRow ? at(place, std::max(point.itemLoss.value_or(0), 0.0)).y() : at(place, 0).y();
        const double x = at(place, 0).x() - metrics.height() / 2;
        if (!point.marker.empty()) {
            addLabel(QString::fromStdString(point.marker), QColor(0xb0, 0x10, 0x10))
                ->setPos(x, barTop - gap);
            continue;
        }
        if (!room || point.textRow || !point.itemLoss || point.description.empty())
            continue;
        double bottom = barTop;
        double length = barTop - area.top();
        if (point.routeTotal) {
            const double line = at(point.row, *point.routeTotal).y();
            const double below = barTop - line;
            const double above = line - area.top();
            bottom = below >= above ? barTop : line;
            length = std::max(below, above);
        }
        const QString text = metrics.elidedText(QString::fromStdString(point.description),
                                                Qt::ElideRight, length - 2 * gap);
        if (text.size() >= 3)
            addLabel(text, QColor(0x33, 0x33, 0x33))->setPos(x, bottom - gap);
    }
}

void paintProfileChart(QPainter &painter, const QRectF &target, const PressureProfile &profile,
                       ProfileAxis axis, double deviceDotsPerInch)
{
    // Laid out at the screen's resolution, where the chart's point sizes
    // were chosen, and scaled onto the target.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double sceneDotsPerInch = screen ? screen->logicalDotsPerInch() : 96;
    const QSizeF size = target.size() * (sceneDotsPerInch / deviceDotsPerInch);
    QGraphicsScene scene;
    auto *chart = new ProfileChart;
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    chart->showProfile(profile, axis);
    if (QGraphicsLayout *layout = chart->layout())
        layout->activate();
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    scene.render(&painter, target, scene.sceneRect());
}

} // namespace plenix
