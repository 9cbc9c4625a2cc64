// The route grid as a view of the route table: its shape, the current cell
// and selection end moved by keys, clicks, drags and header clicks, and the
// table's own operations shown in the view.
#include "apptest.h"

#include <QLineEdit>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {
// Counts the paint events of a widget.
class PaintCounter final : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

class GridTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    QString current() const
    {
        const QModelIndex index = m_app.grid->currentIndex();
        return u"%1,%2"_s.arg(index.row() + 1).arg(index.column() + 1);
    }
    int pixels(int twips) const { return qRound(twips * m_app.grid->logicalDpiX() / 1440.0); }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    void shape_headers_and_row_numbers()
    {
        const RouteModel *model = m_app.grid->routeModel();
        QCOMPARE(model->rowCount(), 60);
        // Ten data columns and the spare one.
        QCOMPARE(model->columnCount(), 11);
        const QStringList headers{
            u"Item Qty"_s,
            u"Flow, cfm"_s,
            u"Diameter, in"_s,
            u"Length, ft"_s,
            u"Description"_s,
            u"Loss Coef."_s,
            u"Item SP, in wg"_s,
            u"VP, in wg"_s,
            u"Vel., fpm"_s,
            u"Route SP, in wg"_s,
            u""_s,
        };
        for (int section = 0; section < headers.size(); ++section)
            QCOMPARE(model->headerData(section, Qt::Horizontal).toString(), headers[section]);
        QCOMPARE(model->headerData(0, Qt::Vertical).toString(), u" 1"_s);
        QCOMPARE(model->headerData(11, Qt::Vertical).toString(), u" 12"_s);
        QCOMPARE(model->headerData(59, Qt::Vertical).toString(), u" 60"_s);
        QVERIFY(m_app.grid->horizontalHeader()->isVisible());
        QVERIFY(m_app.grid->verticalHeader()->isVisible());
        // Every data cell starts empty.
        for (int row = 1; row <= 60; ++row) {
            for (int col = 1; col <= 11; ++col)
                QCOMPARE(m_app.index(row, col).data().toString(), QString());
        }
    }

    void column_widths_follow_the_table_in_twips()
    {
        const QList<int> twips{750, 850, 1000, 850, 2010, 900, 1250, 900, 800, 1400, 10000};
        for (int section = 0; section < twips.size(); ++section)
            QCOMPARE(m_app.grid->columnWidth(section), pixels(twips[section]));
        QCOMPARE(m_app.grid->verticalHeader()->width(), pixels(360));
        // Resizing the window leaves them alone.
        m_app.window->resize(m_app.window->width() / 2, m_app.window->height() / 2);
        QCOMPARE(m_app.grid->columnWidth(4), pixels(2010));
    }

    void text_stands_left_at_the_top_and_nothing_edits_in_place()
    {
        m_app.setCell(4, 2, u"1000"_s);
        const auto alignment = m_app.index(4, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        QCOMPARE(alignment, Qt::Alignment(Qt::AlignLeft | Qt::AlignTop));
        QCOMPARE(m_app.grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QTest::mouseDClick(m_app.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                           m_app.cellPoint(4, 2));
        QTest::keyClick(m_app.grid, Qt::Key_F2);
        QVERIFY(m_app.grid->findChildren<QLineEdit *>().isEmpty());
        QVERIFY(m_app.grid->hasFocus());
        QTest::keyClicks(m_app.grid, u"5"_s);
        QCOMPARE(m_app.cell(4, 2), u"10005"_s);
    }

    void shift_arrows_move_the_selection_end_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("cursor");
        QTest::addColumn<QString>("shown");
        QTest::newRow("down") << QList<int>{Qt::Key_Down} << u"5,3 6,3"_s << u"5,3 6,3"_s;
        QTest::newRow("down down")
            << QList<int>{Qt::Key_Down, Qt::Key_Down} << u"5,3 7,3"_s << u"5,3 7,3"_s;
        QTest::newRow("up") << QList<int>{Qt::Key_Up} << u"5,3 4,3"_s << u"4,3 5,3"_s;
        QTest::newRow("right down")
            << QList<int>{Qt::Key_Right, Qt::Key_Down} << u"5,3 6,4"_s << u"5,3 6,4"_s;
        QTest::newRow("left left left")
            << QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Left} << u"5,3 5,1"_s << u"5,1 5,3"_s;
        QTest::newRow("home") << QList<int>{Qt::Key_Home} << u"5,3 5,1"_s << u"5,1 5,3"_s;
    }

    // State: (5, 3) current. Action: Shift with arrows. Expected: the current
    // cell stays, the selection reaches the moved end.
    void shift_arrows_move_the_selection_end()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, cursor);
        QFETCH(QString, shown);
        m_app.clickCell(5, 3);
        for (const int key : keys)
            QTest::keyClick(m_app.grid, Qt::Key(key), Qt::ShiftModifier);
        QCOMPARE(m_app.cursor(), cursor);
        QCOMPARE(current(), u"5,3"_s);
        QCOMPARE(m_app.viewSelection(), shown);
    }

    void plain_keys_move_the_current_cell_data()
    {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("startCol");
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QString>("cursor");
        const Qt::KeyboardModifiers none;
        QTest::newRow("down") << 5 << 3 << int(Qt::Key_Down) << none << u"6,3 6,3"_s;
        QTest::newRow("right") << 5 << 3 << int(Qt::Key_Right) << none << u"5,4 5,4"_s;
        // The header row and the row numbers are never reached.
        QTest::newRow("up from row 1") << 1 << 3 << int(Qt::Key_Up) << none << u"1,3 1,3"_s;
        QTest::newRow("left from column 1") << 4 << 1 << int(Qt::Key_Left) << none << u"4,1 4,1"_s;
        QTest::newRow("page up from row 2")
            << 2 << 2 << int(Qt::Key_PageUp) << none << u"1,2 1,2"_s;
        // The spare column is the last one.
        QTest::newRow("right from the spare column")
            << 4 << 11 << int(Qt::Key_Right) << none << u"4,11 4,11"_s;
        QTest::newRow("down from row 60") << 60 << 2 << int(Qt::Key_Down) << none << u"60,2 60,2"_s;
        QTest::newRow("home") << 4 << 6 << int(Qt::Key_Home) << none << u"4,1 4,1"_s;
        QTest::newRow("end") << 4 << 6 << int(Qt::Key_End) << none << u"4,11 4,11"_s;
        QTest::newRow("control home") << 9 << 6 << int(Qt::Key_Home)
                                      << Qt::KeyboardModifiers(Qt::ControlModifier) << u"1,1 1,1"_s;
        QTest::newRow("control end")
            << 9 << 6 << int(Qt::Key_End) << Qt::KeyboardModifiers(Qt::ControlModifier)
            << u"60,11 60,11"_s;
    }

    void plain_keys_move_the_current_cell()
    {
        QFETCH(int, startRow);
        QFETCH(int, startCol);
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QString, cursor);
        m_app.clickCell(startRow, startCol);
        QTest::keyClick(m_app.grid, Qt::Key(key), modifiers);
        QCOMPARE(m_app.cursor(), cursor);
        QCOMPARE(current(), cursor.section(u' ', 0, 0));
        // The moved cell is in view.
        const QRect cell = m_app.grid->visualRect(m_app.grid->currentIndex());
        QVERIFY(m_app.grid->viewport()->rect().intersects(cell));
    }

    void plain_arrow_after_a_selection_collapses_it()
    {
        m_app.clickCell(5, 3);
        QTest::keyClick(m_app.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(m_app.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(m_app.grid, Qt::Key_Down);
        QCOMPARE(m_app.cursor(), u"6,3 6,3"_s);
        QCOMPARE(m_app.viewSelection(), u"6,3 6,3"_s);
    }

    void click_and_shift_click()
    {
        m_app.clickCell(2, 2);
        QCOMPARE(m_app.cursor(), u"2,2 2,2"_s);
        m_app.clickCell(4, 5, Qt::ShiftModifier);
        QCOMPARE(m_app.cursor(), u"2,2 4,5"_s);
        QCOMPARE(current(), u"2,2"_s);
        QCOMPARE(m_app.viewSelection(), u"2,2 4,5"_s);
    }

    void drag_moves_the_selection_end_only()
    {
        QWidget *viewport = m_app.grid->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, m_app.cellPoint(3, 4));
        QTest::mouseMove(viewport, m_app.cellPoint(6, 2));
        QCOMPARE(m_app.cursor(), u"3,4 6,2"_s);
        QTest::mouseMove(viewport, m_app.cellPoint(5, 5));
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, m_app.cellPoint(5, 5));
        QCOMPARE(m_app.cursor(), u"3,4 5,5"_s);
        QCOMPARE(current(), u"3,4"_s);
        QCOMPARE(m_app.viewSelection(), u"3,4 5,5"_s);
        // Moving afterwards, with the button up, selects nothing more.
        QTest::mouseMove(viewport, m_app.cellPoint(8, 8));
        QCOMPARE(m_app.cursor(), u"3,4 5,5"_s);
    }

    void drag_below_the_view_scrolls()
    {
        QWidget *viewport = m_app.grid->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, m_app.cellPoint(2, 2));
        const QPoint below(m_app.cellPoint(2, 2).x(), viewport->height() + 20);
        const int lastVisible = m_app.grid->rowAt(viewport->height() - 1) + 1;
        QTest::mouseMove(viewport, below);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, below);
        QCOMPARE(m_app.table().selectionRow(), lastVisible + 1);
        QVERIFY(m_app.table().topRow() > 1);
        QCOMPARE(m_app.grid->verticalScrollBar()->value(), m_app.table().topRow() - 1);
    }

    void column_header_click_selects_the_column()
    {
        m_app.clickCell(7, 2);
        QTest::mouseClick(m_app.grid->horizontalHeader()->viewport(), Qt::LeftButton,
                          Qt::NoModifier, m_app.columnHeaderPoint(4));
        QCOMPARE(m_app.cursor(), u"1,4 60,4"_s);
        QCOMPARE(current(), u"1,4"_s);
        QCOMPARE(m_app.viewSelection(), u"1,4 60,4"_s);
        QVERIFY(m_app.grid->hasFocus());
        // The header is no cell: going up stays in row 1.
        QTest::keyClick(m_app.grid, Qt::Key_Up);
        QCOMPARE(m_app.cursor(), u"1,4 1,4"_s);
    }

    void row_number_click_selects_the_row()
    {
        QTest::mouseClick(m_app.grid->verticalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          m_app.rowHeaderPoint(7));
        QCOMPARE(m_app.cursor(), u"7,1 7,11"_s);
        QCOMPARE(m_app.viewSelection(), u"7,1 7,11"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Left);
        QCOMPARE(m_app.cursor(), u"7,1 7,1"_s);
    }

    void header_drag_selects_several_columns_or_rows()
    {
        QWidget *columns = m_app.grid->horizontalHeader()->viewport();
        QTest::mousePress(columns, Qt::LeftButton, Qt::NoModifier, m_app.columnHeaderPoint(2));
        QTest::mouseMove(columns, m_app.columnHeaderPoint(4));
        QTest::mouseRelease(columns, Qt::LeftButton, Qt::NoModifier, m_app.columnHeaderPoint(4));
        QCOMPARE(m_app.cursor(), u"1,2 60,4"_s);

        QWidget *rows = m_app.grid->verticalHeader()->viewport();
        QTest::mousePress(rows, Qt::LeftButton, Qt::NoModifier, m_app.rowHeaderPoint(5));
        QTest::mouseMove(rows, m_app.rowHeaderPoint(3));
        QTest::mouseRelease(rows, Qt::LeftButton, Qt::NoModifier, m_app.rowHeaderPoint(3));
        QCOMPARE(m_app.cursor(), u"5,1 3,11"_s);
        QCOMPARE(m_app.viewSelection(), u"3,1 5,11"_s);
        // Column widths are fixed: the header drag resized nothing.
        QCOMPARE(m_app.grid->columnWidth(1), pixels(850));
    }

    void middle_button_does_nothing()
    {
        m_app.clickCell(2, 3);
        QTest::mouseClick(m_app.grid->viewport(), Qt::MiddleButton, Qt::NoModifier,
                          m_app.cellPoint(6, 6));
        QCOMPARE(m_app.cursor(), u"2,3 2,3"_s);
    }

    void table_operations_show_in_the_view()
    {
        m_app.table().sbRowsSelect(2, 4);
        QCOMPARE(current(), u"2,1"_s);
        QCOMPARE(m_app.viewSelection(), u"2,1 4,10"_s);

        m_app.table().setTopRow(30);
        QCOMPARE(m_app.grid->verticalScrollBar()->value(), 29);
        QCOMPARE(m_app.grid->rowAt(0), 29);
        m_app.table().setLeftCol(3);
        QCOMPARE(m_app.grid->columnAt(0), 2);

        m_app.setCell(45, 9, u"x"_s);
        QCOMPARE(m_app.index(45, 9).data().toString(), u"x"_s);

        m_app.table().sbGridHome();
        QCOMPARE(m_app.grid->rowAt(0), 0);
        QCOMPARE(m_app.grid->columnAt(0), 0);
        QCOMPARE(current(), u"1,1"_s);
        QCOMPARE(m_app.viewSelection(), u"1,1 1,1"_s);
    }

    void scrolling_the_view_moves_the_table_top_row()
    {
        m_app.grid->verticalScrollBar()->setValue(10);
        QCOMPARE(m_app.table().topRow(), 11);
        m_app.grid->horizontalScrollBar()->setValue(2);
        QCOMPARE(m_app.table().leftCol(), 3);
        // Page Down from the top brings the new current row into view.
        m_app.table().sbGridHome();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(m_app.grid, Qt::Key_PageDown);
        QVERIFY(m_app.table().currentRow() > 20);
        QVERIFY(m_app.table().topRow() > 1);
        QCOMPARE(m_app.grid->verticalScrollBar()->value(), m_app.table().topRow() - 1);
    }

    // A whole-table command changes 600 cells and the cursor: the view shows
    // it in one notification and one repaint.
    void multi_step_operation_repaints_once()
    {
        for (int row = 1; row <= 60; ++row)
            m_app.setCell(row, 5, u"text"_s);
        m_app.clickCell(30, 5);
        QCoreApplication::processEvents();
        PaintCounter counter;
        m_app.grid->viewport()->installEventFilter(&counter);
        const int before = m_app.grid->notificationCount();
        m_app.table().sbGridClear();
        QCOMPARE(m_app.grid->notificationCount(), before + 1);
        QTRY_VERIFY(counter.count >= 1);
        QCoreApplication::processEvents();
        QCOMPARE(counter.count, 1);
        m_app.grid->viewport()->removeEventFilter(&counter);
        QCOMPARE(m_app.index(30, 5).data().toString(), QString());
        QCOMPARE(current(), u"1,1"_s);
    }
};

APPTEST_MAIN(GridTest)
#include "tst_app_grid.moc"
