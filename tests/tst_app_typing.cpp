// Typing into the route grid: the character filter, the fill rule through
// the selection, Backspace, Delete, and Enter running Calculate with its
// validation message.
#include "apptest.h"

#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

class TypingTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    void dragCells(int fromRow, int fromCol, int toRow, int toCol)
    {
        QWidget *viewport = m_app.grid->viewport();
        const QPoint from = m_app.cellPoint(fromRow, fromCol);
        const QPoint to = m_app.cellPoint(toRow, toCol);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, to);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, to);
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    // State: empty route, cell (1, 1) current. Action: the worked example
    // typed row by row with the keyboard, then Enter. Expected: its results.
    void worked_example_typed_row_by_row_and_calculated_by_enter()
    {
        const QList<QStringList> inputs{
            {u""_s, u"1000"_s, u"12"_s, u"100"_s, u""_s, u""_s},
            {u""_s, u""_s, u""_s, u""_s, u""_s, u"0.28"_s},
            {u""_s, u""_s, u""_s, u""_s, u"Supply"_s, u""_s},
            {u"2"_s, u""_s, u""_s, u""_s, u""_s, u"0.28"_s},
            {u""_s, u""_s, u"10"_s, u"20"_s, u""_s, u""_s},
            {u""_s, u""_s, u""_s, u""_s, u""_s, u"1.00"_s},
        };
        // Item SP, VP, Vel., Route SP of each row.
        const QList<QStringList> results{
            {u"0.21"_s, u"0.1"_s, u"1273"_s, u"0.21"_s},
            {u"0.03"_s, u"0.1"_s, u"1273"_s, u"0.24"_s},
            {u""_s, u""_s, u""_s, u"0.24"_s},
            {u"0.06"_s, u"0.1"_s, u"1273"_s, u"0.3"_s},
            {u"0.1"_s, u"0.21"_s, u"1833"_s, u"0.4"_s},
            {u"0.21"_s, u"0.21"_s, u"1833"_s, u"0.61"_s},
        };
        for (const QStringList &row : inputs) {
            for (const QString &text : row) {
                QTest::keyClicks(m_app.grid, text);
                QTest::keyClick(m_app.grid, Qt::Key_Right);
            }
            QTest::keyClick(m_app.grid, Qt::Key_Down);
            QTest::keyClick(m_app.grid, Qt::Key_Home);
        }
        QCOMPARE(m_app.cursor(), u"7,1 7,1"_s);

        for (int pass = 1; pass <= 2; ++pass) {
            QTest::keyClick(m_app.grid, Qt::Key_Return);
            for (int r = 0; r < inputs.size(); ++r) {
                for (int c = 0; c < 6; ++c)
                    QCOMPARE(m_app.cell(r + 1, c + 1), inputs[r][c]);
                for (int c = 0; c < 4; ++c)
                    QCOMPARE(m_app.cell(r + 1, c + 7), results[r][c]);
            }
            QCOMPARE(m_app.cell(7, 10), QString());
            // Calculate leaves the cursor home, shown by the view too.
            QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
            QCOMPARE(m_app.grid->currentIndex(), m_app.index(1, 1));
        }
        QVERIFY(m_app.dialogs.calls.isEmpty());
        // The view shows the table's texts.
        QCOMPARE(m_app.index(6, 10).data().toString(), u"0.61"_s);
    }

    void filter_by_selection_end_column_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("accepted");
        // The first range ends at Y (89): Y goes anywhere, Z only into Description.
        QTest::newRow("Y in Flow") << u"Y"_s << 2 << true;
        QTest::newRow("Y in Description") << u"Y"_s << 5 << true;
        QTest::newRow("Z in Flow") << u"Z"_s << 2 << false;
        QTest::newRow("Z in Loss Coef.") << u"Z"_s << 6 << false;
        QTest::newRow("Z in Description") << u"Z"_s << 5 << true;
        QTest::newRow("E in Length") << u"E"_s << 4 << true;
        QTest::newRow("small a in Diameter") << u"a"_s << 3 << false;
        QTest::newRow("small a in Description") << u"a"_s << 5 << true;
        QTest::newRow("hyphen in Length") << u"-"_s << 4 << false;
        QTest::newRow("hyphen in Description") << u"-"_s << 5 << true;
        QTest::newRow("space in Diameter") << u" "_s << 3 << false;
        QTest::newRow("space in Description") << u" "_s << 5 << true;
        QTest::newRow("full stop in Qty") << u"."_s << 1 << true;
        QTest::newRow("slash in Flow") << u"/"_s << 2 << false;
        QTest::newRow("slash in Description") << u"/"_s << 5 << true;
        QTest::newRow("at sign in Item SP") << u"@"_s << 7 << true;
        QTest::newRow("digit in the spare column") << u"7"_s << 11 << true;
        QTest::newRow("bracket in Flow") << u"["_s << 2 << false;
        QTest::newRow("tilde in Description") << u"~"_s << 5 << true;
        QTest::newRow("e acute in Description") << u"\u00e9"_s << 5 << false;
    }

    // State: a cell holding "1" is current. Action: one character typed.
    // Expected: appended or dropped by the selection end's column.
    void filter_by_selection_end_column()
    {
        QFETCH(QString, typed);
        QFETCH(int, col);
        QFETCH(bool, accepted);
        m_app.setCell(3, col, u"1"_s);
        m_app.clickCell(3, col);
        QTest::sendKeyEvent(QTest::Click, m_app.grid, Qt::Key_unknown, typed, Qt::NoModifier);
        QCOMPARE(m_app.cell(3, col), accepted ? u"1"_s + typed : u"1"_s);
    }

    void letters_typed_the_real_way()
    {
        // keyClicks builds key codes and shifted capitals as a keyboard does.
        m_app.typeAt(2, 5, u"Supply Duct-A"_s);
        QCOMPARE(m_app.cell(2, 5), u"Supply Duct-A"_s);
        m_app.typeAt(2, 2, u"12.5 cfm"_s);
        QCOMPARE(m_app.cell(2, 2), u"12.5"_s);
    }

    // The filter looks at the selection end, not at the current cell.
    void selection_end_in_description_lets_letters_in()
    {
        m_app.clickCell(2, 4);
        QTest::keyClick(m_app.grid, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(m_app.cursor(), u"2,4 2,5"_s);
        QTest::keyClicks(m_app.grid, u"ab"_s);
        QCOMPARE(m_app.cell(2, 4), u"ab"_s);
        QCOMPARE(m_app.cell(2, 5), u"ab"_s);
    }

    void current_cell_in_description_with_end_outside_rejects_letters()
    {
        m_app.clickCell(2, 5);
        QTest::keyClick(m_app.grid, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(m_app.cursor(), u"2,5 2,4"_s);
        QTest::keyClicks(m_app.grid, u"ab"_s);
        QCOMPARE(m_app.cell(2, 4), QString());
        QCOMPARE(m_app.cell(2, 5), QString());
        // Digits still go into both.
        QTest::keyClicks(m_app.grid, u"7"_s);
        QCOMPARE(m_app.cell(2, 4), u"7"_s);
        QCOMPARE(m_app.cell(2, 5), u"7"_s);
    }

    // State: "100" in Flow of row 1. Action: drag down to row 3, type 0,
    // then Delete. Expected: three cells read 1000, then all three are empty.
    void dragged_selection_filled_by_one_key_and_emptied_by_delete()
    {
        m_app.setCell(1, 2, u"100"_s);
        m_app.setCell(4, 2, u"keep"_s);
        dragCells(1, 2, 3, 2);
        QCOMPARE(m_app.cursor(), u"1,2 3,2"_s);
        QTest::keyClick(m_app.grid, Qt::Key_0);
        for (int row = 1; row <= 3; ++row)
            QCOMPARE(m_app.cell(row, 2), u"1000"_s);
        QCOMPARE(m_app.cell(4, 2), u"keep"_s);
        QCOMPARE(m_app.cell(1, 3), QString());

        QTest::keyClick(m_app.grid, Qt::Key_Delete);
        for (int row = 1; row <= 3; ++row)
            QCOMPARE(m_app.cell(row, 2), QString());
        QCOMPARE(m_app.cell(4, 2), u"keep"_s);
    }

    void whole_column_filled_after_header_click()
    {
        m_app.setCell(1, 3, u"1"_s);
        m_app.setCell(40, 3, u"x"_s);
        QTest::mouseClick(m_app.grid->horizontalHeader()->viewport(), Qt::LeftButton,
                          Qt::NoModifier, m_app.columnHeaderPoint(3));
        QTest::keyClick(m_app.grid, Qt::Key_2);
        for (int row = 1; row <= plenix::RouteTable::DataRows; ++row)
            QCOMPARE(m_app.cell(row, 3), u"12"_s);
        QCOMPARE(m_app.cell(1, 2), QString());
        QCOMPARE(m_app.cell(1, 4), QString());
    }

    void delete_empties_the_selection_whatever_the_modifier_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("plain") << Qt::KeyboardModifiers();
        QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("control") << Qt::KeyboardModifiers(Qt::ControlModifier);
    }

    void delete_empties_the_selection_whatever_the_modifier()
    {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        for (int row = 1; row <= 4; ++row) {
            for (int col = 1; col <= 4; ++col)
                m_app.setCell(row, col, u"%1%2"_s.arg(row).arg(col));
        }
        m_app.clickCell(2, 2);
        m_app.clickCell(3, 3, Qt::ShiftModifier);
        QCOMPARE(m_app.cursor(), u"2,2 3,3"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Delete, modifiers);
        for (int row = 1; row <= 4; ++row) {
            for (int col = 1; col <= 4; ++col) {
                const bool selected = row >= 2 && row <= 3 && col >= 2 && col <= 3;
                QCOMPARE(m_app.cell(row, col), selected ? QString() : u"%1%2"_s.arg(row).arg(col));
            }
        }
    }

    void backspace_drops_the_last_character_in_every_selected_cell()
    {
        m_app.setCell(1, 2, u"12.5"_s);
        m_app.setCell(2, 2, u"other"_s);
        m_app.clickCell(1, 2);
        QTest::keyClick(m_app.grid, Qt::Key_Backspace);
        QCOMPARE(m_app.cell(1, 2), u"12."_s);
        QCOMPARE(m_app.cell(2, 2), u"other"_s);

        QTest::keyClick(m_app.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(m_app.grid, Qt::Key_Backspace);
        // The current cell's text, shortened, goes into the whole selection.
        QCOMPARE(m_app.cell(1, 2), u"12"_s);
        QCOMPARE(m_app.cell(2, 2), u"12"_s);
    }

    void backspace_on_an_empty_current_cell_changes_nothing()
    {
        m_app.setCell(2, 2, u"5"_s);
        m_app.setCell(3, 2, u"6"_s);
        m_app.clickCell(1, 2);
        m_app.clickCell(3, 2, Qt::ShiftModifier);
        QTest::keyClick(m_app.grid, Qt::Key_Backspace);
        QCOMPARE(m_app.cell(1, 2), QString());
        QCOMPARE(m_app.cell(2, 2), u"5"_s);
        QCOMPARE(m_app.cell(3, 2), u"6"_s);
    }

    void enter_calculates_and_adds_no_character_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("shift Return")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("control Return")
            << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ControlModifier);
    }

    void enter_calculates_and_adds_no_character()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        m_app.clickCell(1, 4);
        QTest::keyClick(m_app.grid, Qt::Key(key), modifiers);
        QCOMPARE(m_app.cell(1, 4), u"100"_s);
        QCOMPARE(m_app.cell(1, 7), u"0.21"_s);
        QCOMPARE(m_app.cell(1, 10), u"0.21"_s);
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
    }

    void calculate_button_runs_the_same_pass()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(2, 6, u"0.28"_s);
        m_app.clickCell(2, 6);
        auto *button = m_app.window->findChild<QPushButton *>(u"cmdCalculate"_s);
        QVERIFY(button);
        QCOMPARE(button->text(), u"Calculate"_s);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_app.cell(2, 8), u"0.1"_s);
        QCOMPARE(m_app.cell(2, 7), u"0.03"_s);
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
    }

    // State: row 3 has both a length and a coefficient. Action: Enter.
    // Expected: the message on two lines, titled "Plenix"; no cell written.
    void validation_message_stops_the_pass()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        m_app.setCell(3, 4, u"10"_s);
        m_app.setCell(3, 6, u"0.5"_s);
        m_app.clickCell(5, 3);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        const apptest::DialogCall call = m_app.dialogs.calls.constFirst();
        QCOMPARE(call.kind, u"information"_s);
        QCOMPARE(call.title, u"Plenix"_s);
        QCOMPARE(call.text,
                 u"Length and Loss Coef. entries should be on separate rows.\nInspect row: 3"_s);
        QCOMPARE(m_app.cell(1, 7), QString());
        QCOMPARE(m_app.cell(1, 10), QString());
        // No trip home: the cursor stays in the current row.
        QCOMPARE(m_app.table().currentRow(), 5);
    }

    // The same message answered in Qt's real message box.
    void validation_message_in_the_real_message_box()
    {
        m_app.setCell(2, 4, u" "_s);
        m_app.setCell(2, 6, u"0.5"_s);
        Dialogs::setInstance(nullptr);
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        bool answered = false;
        m_app.guard.expect([&](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            if (box) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                buttons = box->standardButtons();
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                shown->close();
            }
            answered = true;
        });
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        Dialogs::setInstance(&m_app.dialogs);
        QVERIFY(answered);
        QCOMPARE(title, u"Plenix"_s);
        QCOMPARE(text,
                 u"Length and Loss Coef. entries should be on separate rows.\nInspect row: 2"_s);
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(m_app.cell(2, 8), QString());
        QVERIFY(m_app.window->isVisible());
    }
};

APPTEST_MAIN(TypingTest)
#include "tst_app_typing.moc"
