// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routemodel.h"
#include "routetable.h"

#include <QPoint>
#include <QTableView>
#include <QTimer>

namespace plenix {

class RouteMarks;
struct Viewport;

// The route grid: a view of the core's route table and nothing else. The
// table owns every cell text, the current cell, the selection end and the
// scroll position; the grid shows them and turns keys and mouse presses into
// the core's grid operations. Each change the table reports is shown in one
// repaint.
class RouteView final : public QTableView
{
    Q_OBJECT

public:
    RouteView(RouteTable &table, RouteMarks &marks, QWidget *parent = nullptr);
    ~RouteView() override;
    Q_DISABLE_COPY_MOVE(RouteView)

    RouteModel *routeModel() const { return m_model; }

    // The widths the user gave the columns by dragging their borders, in
    // twips, for the settings; the classic layout's where none was dragged.
    QList<int> chosenWidths() const { return m_chosenWidths; }
    void setChosenWidths(const QList<int> &twips);
    // Selects a whole row, scrolled into view.
    void showRow(int row);
    // Shows the spare column as the static pressure along the route (see
    // RouteModel), within the view's width; an empty function hides it.
    void showStaticPressures(const QString &caption, std::function<std::vector<QString>()> texts);

Q_SIGNALS:
    // Enter or Return, with any modifier.
    void enterPressed();
    // The grid's pop-up is wanted at a point: the right button went down
    // somewhere on the grid or its scroll bars, or the Menu key or Shift+F10
    // was pressed. The current cell stays.
    void popUpRequested(const QPoint &globalPos);
    // The user dragged a column's border.
    void chosenWidthsChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum class Drag
    {
        None,
        Cells,
        Columns,
        Rows,
        ColumnBorder // the header itself resizes the column
    };

    void showTableChange(const TableChange &change);
    void setUpColumns();
    // The columns as chosen, the description taking whatever width the
    // route's other columns leave; the spare column lies beyond.
    void showColumnWidths();
    void followColumnResize(int logical, int newSize);
    void showCursor();
    void showScroll();
    // The cell area as the core's grid operations see it.
    Viewport measure() const;
    bool handleHeaderMouse(bool columns, QEvent *event);
    // The drag step at the pointer's last place; repeated by the timer while
    // the pointer stays beyond the cell area's edge with the button held.
    void dragStep();
    void showCellToolTip(const QPoint &globalPos);
    QString cellToolTip(const QPoint &viewportPos) const;
    int twipsToPixels(int twips, bool horizontal) const;

    RouteTable &m_table;
    RouteMarks &m_marks;
    RouteModel *m_model;
    Drag m_drag = Drag::None;
    // Where the pointer was last seen in a drag, in the cell area's pixels.
    QPoint m_dragPos;
    QTimer m_autoScroll;
    bool m_mirroring = false;
    QList<int> m_chosenWidths; // in twips, columns 1 to the spare one
};

} // namespace plenix
