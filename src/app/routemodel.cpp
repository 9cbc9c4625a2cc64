// SPDX-License-Identifier: GPL-3.0-or-later
#include "routemodel.h"

#include "gridnavigation.h"
#include "textcodec.h"

#include <QColor>
#include <QFont>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace plenix {

namespace {
const QColor StaleText(128, 128, 128);
const QColor DoubtfulTint(255, 226, 160);
} // namespace

RouteModel::RouteModel(const RouteTable &table, const RouteMarks &marks, QObject *parent)
    : QAbstractTableModel(parent), m_table(table), m_marks(marks)
{
}

int RouteModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RouteTable::DataRows;
}

int RouteModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : LastGridCol;
}

namespace {
// More characters than the widest column shows at any size, so painting a
// cell costs the same whatever its length; a longer text is cut and ends in
// an ellipsis. The table keeps every byte.
constexpr std::size_t ShownCellChars = 1024;

QString shownText(const std::string &text)
{
    if (text.size() <= ShownCellChars)
        return toQString(text);
    return toQString(std::string_view(text).substr(0, ShownCellChars)) + QChar(0x2026);
}
} // namespace

QVariant RouteModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (m_staticTexts && index.column() + 1 == RouteTable::ColSpare) {
        const QString text = staticPressureText(index.row() + 1);
        if (role == Qt::DisplayRole)
            return text;
        if (role == Qt::ToolTipRole && !text.isEmpty())
            return tr("Static pressure after the row, from the total pressure where the route "
                      "begins: -(Route SP + VP)");
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return shownText(m_table.cellText(index.row() + 1, index.column() + 1));
    case Qt::TextAlignmentRole:
        // Numbers too stand at the left, as a route list is read.
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
    default:
        return markData(index.row() + 1, index.column() + 1, role);
    }
}

QVariant RouteModel::markData(int row, int col, int role) const
{
    if (m_marks.isStale(row, col)) {
        switch (role) {
        case Qt::ForegroundRole:
            return StaleText;
        case Qt::FontRole: {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        case Qt::ToolTipRole:
            return tr("Out of date: press Enter to recalculate");
        default:
            return {};
        }
    }
    if (!m_marks.isDoubtful(row, col)) {
        if (role == Qt::ToolTipRole && m_figureTips && col >= RouteTable::ColItemSP &&
            col <= RouteTable::ColRouteSP)
            return m_figureTips(row);
        const bool fittingCell =
            col == RouteTable::ColDescription || col == RouteTable::ColLossCoef;
        if (fittingCell && role == Qt::ToolTipRole && m_fittingMarks.tip)
            return m_fittingMarks.tip(row);
        if (fittingCell && role == Qt::BackgroundRole && m_fittingMarks.tinted &&
            m_fittingMarks.tinted(row))
            return DoubtfulTint;
        return {};
    }
    if (role == Qt::BackgroundRole)
        return DoubtfulTint;
    if (role != Qt::ToolTipRole)
        return {};
    const std::string &text = m_table.cellText(row, col);
    QString tip =
        tr("Reads as %1").arg(toQString(readInput(text, col, m_table.takesShapes()).value));
    // A blank left out shows as the open box, which a tooltip cannot lose.
    if (const std::u32string &dropped = m_marks.droppedChars(row, col); !dropped.empty())
        tip += u'\n' + tr("Typed but left out: %1")
                           .arg(QString::fromUcs4(dropped.data(), qsizetype(dropped.size()))
                                    .replace(u' ', u'\u2423'));
    return tip;
}

QString RouteModel::staticPressureText(int row) const
{
    // Out-of-date results keep the figures of their Calculate; this column
    // is worked out afresh, so it waits for the next one.
    if (m_table.cellText(row, RouteTable::ColRouteSP).empty() ||
        m_marks.isStale(row, RouteTable::ColRouteSP))
        return {};
    if (!m_staticCache)
        m_staticCache = m_staticTexts();
    const auto index = static_cast<std::size_t>(row - 1);
    return index < m_staticCache->size() ? m_staticCache->at(index) : QString();
}

void RouteModel::setStaticPressures(const QString &caption,
                                    std::function<std::vector<QString>()> texts)
{
    m_staticCaption = caption;
    m_staticTexts = std::move(texts);
    m_staticCache.reset();
    Q_EMIT headerDataChanged(Qt::Horizontal, RouteTable::ColSpare - 1, RouteTable::ColSpare - 1);
    staticPressuresChanged();
}

void RouteModel::staticPressuresChanged()
{
    // A change at one row may move the figures of any other: the totals
    // below it, and a fitting's above it that takes a velocity pressure
    // from there.
    m_staticCache.reset();
    Q_EMIT dataChanged(cellIndex(1, RouteTable::ColSpare),
                       cellIndex(RouteTable::DataRows, RouteTable::ColSpare));
}

QVariant RouteModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal && m_staticTexts && section + 1 == RouteTable::ColSpare)
        return m_staticCaption;
    // A unit such as "m³/h" stays whole; the heading breaks after its comma.
    if (orientation == Qt::Horizontal)
        return toQString(m_table.cellText(0, section + 1)).replace(u'/', u"/\u2060"_s);
    return toQString(m_table.cellText(section + 1, 0));
}

Qt::ItemFlags RouteModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QModelIndex RouteModel::cellIndex(int row, int col) const
{
    return index(row - 1, col - 1);
}

void RouteModel::notifyCellsChanged(const CellRange &cells)
{
    if (cells.isEmpty())
        return;
    const int top = std::max(cells.top, 1);
    const int left = std::max(cells.left, 1);
    const int bottom = std::min<int>(cells.bottom, RouteTable::DataRows);
    const int right = std::min(cells.right, LastGridCol);
    if (top <= bottom && left <= right)
        Q_EMIT dataChanged(cellIndex(top, left), cellIndex(bottom, right), {Qt::DisplayRole});
    if (cells.top == 0 && left <= right)
        Q_EMIT headerDataChanged(Qt::Horizontal, left - 1, right - 1);
    if (cells.left == 0 && top <= bottom)
        Q_EMIT headerDataChanged(Qt::Vertical, top - 1, bottom - 1);
    if (m_staticTexts && top <= bottom)
        staticPressuresChanged();
}

void RouteModel::notifyMarksChanged(const CellRange &cells)
{
    const int top = std::max(cells.top, 1);
    const int left = std::max(cells.left, 1);
    const int bottom = std::min<int>(cells.bottom, RouteTable::DataRows);
    const int right = std::min(cells.right, LastGridCol);
    if (top <= bottom && left <= right)
        Q_EMIT dataChanged(cellIndex(top, left), cellIndex(bottom, right),
                           {Qt::ForegroundRole, Qt::FontRole, Qt::BackgroundRole, Qt::ToolTipRole});
    if (m_staticTexts && top <= bottom)
        staticPressuresChanged();
}

} // namespace plenix
