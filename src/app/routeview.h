#pragma once

#include "routemodel.h"
#include "routetable.h"

#include <QTableView>

namespace plenix {
struct Viewport;
}

// The route grid: a view of the core's route table and nothing else. The
// table owns every cell text, the current cell, the selection end and the
// scroll position; the grid shows them and turns keys and mouse presses into
// the core's grid operations. Each change the table reports is shown in one
// repaint.
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
    // The cell area as the core's grid operations see it.
    plenix::Viewport measure() const;
    bool handleHeaderMouse(bool columns, QEvent *event);
    void showCellToolTip(const QPoint &globalPos);
    int twipsToPixels(int twips, bool horizontal) const;

    plenix::RouteTable &m_table;
    RouteModel *m_model;
    Drag m_drag = Drag::None;
    bool m_mirroring = false;
    int m_notifications = 0;
};
