// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "marks.h"
#include "routetable.h"

#include <QAbstractTableModel>

#include <functional>
#include <optional>
#include <vector>

namespace plenix {

// The table's data rows 1..60 and columns 1..11 as a Qt model; row 0 (the
// column headers) and column 0 (the row numbers) are the header data. The
// table owns every text; the model only reads it and passes on what changed.
// Out-of-date results are grey and italic, doubtful inputs tinted; each
// says why in its tooltip.
class RouteModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    RouteModel(const RouteTable &table, const RouteMarks &marks, QObject *parent = nullptr);
    Q_DISABLE_COPY_MOVE(RouteModel)

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The model index of a table cell (data rows and columns only).
    QModelIndex cellIndex(int row, int col) const;
    // Tells the views which table cells have new texts.
    void notifyCellsChanged(const CellRange &cells);
    // Tells the views which table cells are marked differently.
    void notifyMarksChanged(const CellRange &cells);
    // What a row's result cells say in their tooltip when their figures are
    // current: the figures a method works out beyond those shown.
    void setFigureTips(std::function<QString(int row)> tips) { m_figureTips = std::move(tips); }
    // What a fitting row's description and coefficient say in their tooltip,
    // and whether they are tinted: a parameter was clamped to its table, or
    // cannot be read.
    struct FittingMarks
    {
        std::function<QString(int row)> tip;
        std::function<bool(int row)> tinted;
    };
    void setFittingMarks(FittingMarks marks) { m_fittingMarks = std::move(marks); }

    // Shows the spare column as the static pressure along the route. The
    // function gives the texts of rows 1 onwards at once; it is asked again
    // only after the table or its marks change. A row shows its figure while
    // its results are current. An empty function gives the spare back.
    void setStaticPressures(const QString &caption, std::function<std::vector<QString>()> texts);
    bool showsStaticPressures() const { return bool(m_staticTexts); }

private:
    QVariant markData(int row, int col, int role) const;
    QString staticPressureText(int row) const;
    void staticPressuresChanged();

    std::function<std::vector<QString>()> m_staticTexts;
    QString m_staticCaption;
    mutable std::optional<std::vector<QString>> m_staticCache;

    std::function<QString(int row)> m_figureTips;
    FittingMarks m_fittingMarks;

    const RouteTable &m_table;
    const RouteMarks &m_marks;
};

} // namespace plenix
