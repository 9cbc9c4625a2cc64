#pragma once

#include "routetable.h"

#include <QAbstractTableModel>
#include <QTableView>

// The route grid: a view of the core's route table and nothing else. The
// table owns every cell text, the current cell, the selection end and the
// scroll position; the grid shows them and turns keys and mouse presses into
// table operations. Each change the table reports is shown in one repaint.

// The table's data rows 1..60 and columns 1..11 as a Qt model; row 0 (the
// column headers) and column 0 (the row numbers) are the header data.
class RouteModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RouteModel(const plenix::RouteTable &table, QObject *parent = nullptr);
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
    void notifyCellsChanged(const plenix::CellRange &cells);

private:
    const plenix::RouteTable &m_table;
};

class RouteView final : public QTableView
{
    Q_OBJECT

public:
    explicit RouteView(plenix::RouteTable &table, QWidget *parent = nullptr);
    ~RouteView() override;
    Q_DISABLE_COPY_MOVE(RouteView)

    RouteModel *routeModel() const { return m_model; }
    // How many changes of the table the grid has shown.
    int notificationCount() const { return m_notifications; }

Q_SIGNALS:
    // Enter or Return, with any modifier.
    void enterPressed();
    // The right button went down somewhere on the grid; the current cell stays.
    void rightButtonPressed(const QPoint &globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Drag
    {
        None,
        Cells,
        Columns,
        Rows
    };

    void showTableChange(const plenix::TableChange &change);
    void setUpColumns();
    void showCursor();
    void showScroll();
    // Moves the current cell, or with `extend` the selection end, and
    // scrolls the moved corner into view.
    void moveCursor(int row, int col, bool extend);
    bool handleNavigationKey(const QKeyEvent *event);
    bool handleHeaderMouse(bool columns, QEvent *event);
    void showCellToolTip(const QPoint &globalPos);
    // The table cell under a point of the viewport; a point beyond an edge
    // gives the cell just past the last visible one, so a drag scrolls.
    QPoint cellAtDrag(const QPoint &pos) const;
    int twipsToPixels(int twips, bool horizontal) const;

    plenix::RouteTable &m_table;
    RouteModel *m_model;
    Drag m_drag = Drag::None;
    bool m_mirroring = false;
    int m_notifications = 0;
};
