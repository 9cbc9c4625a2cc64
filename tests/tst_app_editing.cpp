// SPDX-License-Identifier: GPL-3.0-or-later
// The route grid as a view of the route table: keys, clicks, drags and
// header presses reach the core's grid and editing operations through the
// real view, which shows what they did; Enter and Calculate, the right
// button's pop-ups and the fitting commands.
#include "apptest.h"
#include "coretest.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>

using namespace Qt::StringLiterals;

class EditingTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    // A duct of 1000 cfm, 12 in, 100 ft in row 1.
    void setDuct()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup() { m_app.finish(); }

    // No in-place editor opens: typing goes on into the cell.
    void no_editor_opens()
    {
        m_app.setCell(4, 2, u"1000"_s);
        QTest::mouseDClick(m_app.grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                           m_app.cellPoint(4, 2));
        QTest::keyClick(m_app.grid, Qt::Key_F2);
        QVERIFY(m_app.grid->findChildren<QLineEdit *>().isEmpty());
        QTest::keyClicks(m_app.grid, u"5"_s);
        QCOMPARE(m_app.cell(4, 2), u"10005"_s);
    }

    // Each way of moving reaches the core's grid operations through the real
    // view, measured as Qt lays it out. Shift+Page Down stretches the
    // selection to the last wholly shown row; a drag out of the view below
    // scrolls it, and the view's scroll bar agrees with the table.
    void keys_and_mouse_move_the_cursor()
    {
        QWidget *viewport = m_app.grid->viewport();
        m_app.clickCell(1, 2);
        QTest::keyClick(m_app.grid, Qt::Key_PageDown, Qt::ShiftModifier);
        const int end = m_app.table().selectionRow();
        QCOMPARE(m_app.cursor(), u"1,2 %1,2"_s.arg(end));
        QVERIFY(viewport->rect().contains(m_app.grid->visualRect(m_app.index(end, 2))));
        QVERIFY(!viewport->rect().contains(m_app.grid->visualRect(m_app.index(end + 1, 2))));
        QCOMPARE(m_app.table().topRow(), 1);

        m_app.clickCell(4, 5, Qt::ShiftModifier);
        QCOMPARE(m_app.cursor(), u"1,2 4,5"_s);
        QTest::mouseClick(viewport, Qt::MiddleButton, Qt::NoModifier, m_app.cellPoint(6, 6));
        QCOMPARE(m_app.cursor(), u"1,2 4,5"_s);

        const int lastVisible = m_app.grid->rowAt(viewport->height() - 1) + 1;
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, m_app.cellPoint(3, 4));
        QTest::mouseMove(viewport, m_app.cellPoint(6, 2));
        QCOMPARE(m_app.cursor(), u"3,4 6,2"_s);
        QTest::mouseMove(viewport, QPoint(m_app.cellPoint(6, 2).x(), viewport->height() + 20));
        QTest::mouseRelease(viewport, Qt::LeftButton);
        QCOMPARE(m_app.table().selectionRow(), lastVisible + 1);
        QVERIFY(m_app.table().topRow() > 1);
        // With the button up, moving selects nothing.
        QTest::mouseMove(viewport, m_app.cellPoint(8, 8));
        QCOMPARE(m_app.table().selectionRow(), lastVisible + 1);
    }

    // A drag over the row numbers selects whole rows and takes the focus.
    void header_drag_selects_rows()
    {
        m_app.control(u"descriptionEdit"_s)->setFocus();
        QWidget *rows = m_app.header(false);
        QTest::mousePress(rows, Qt::LeftButton, Qt::NoModifier, m_app.headerPoint(false, 5));
        QTest::mouseMove(rows, m_app.headerPoint(false, 3));
        QTest::mouseRelease(rows, Qt::LeftButton, Qt::NoModifier, m_app.headerPoint(false, 3));
        QCOMPARE(m_app.cursor(), u"5,1 3,11"_s);
        QVERIFY(m_app.grid->hasFocus());
    }

    // Scrolling the view moves the table; a whole-table operation reaches
    // the view in one notification.
    void table_and_view_agree()
    {
        m_app.grid->verticalScrollBar()->setValue(10);
        QCOMPARE(m_app.table().topRow(), 11);
        m_app.grid->horizontalScrollBar()->setValue(2);
        QCOMPARE(m_app.table().leftCol(), 3);
        m_app.setCell(30, 5, u"text"_s);
        const int before = m_app.grid->notificationCount();
        m_app.table().clear();
        QCOMPARE(m_app.grid->notificationCount(), before + 1);
        QCOMPARE(m_app.shown(30, 5), QString());
    }

    // Typed text goes through the character filter into the selection;
    // Control combinations and characters beyond the 8-bit set type nothing,
    // and Backspace shortens the text.
    void typing_reaches_the_selection()
    {
        m_app.clickCell(3, 2);
        m_app.clickCell(4, 2, Qt::ShiftModifier);
        QTest::keyClicks(m_app.grid, u"1a-"_s);
        QTest::keyClick(m_app.grid, Qt::Key_2, Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, m_app.grid, Qt::Key_unknown, u"\u00e9"_s, Qt::NoModifier);
        QCOMPARE(m_app.cell(3, 2) + u'|' + m_app.cell(4, 2), u"1|1"_s);
        QTest::keyClicks(m_app.grid, u"5"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Backspace);
        QCOMPARE(m_app.cell(3, 2) + u'|' + m_app.cell(4, 2), u"1|1"_s);
    }

    // A huge cell shows only its start, and a fill that would outgrow the
    // route file's limit is refused with a message.
    void huge_cell_is_cut_for_show_and_its_fill_refused()
    {
        const QString huge(1 << 20, u'7');
        m_app.setCell(1, 2, huge);
        const QString shown = m_app.shown(1, 2);
        QVERIFY(shown.size() < 2000 && shown.endsWith(QChar(0x2026)));
        QVERIFY(huge.startsWith(shown.chopped(1)));
        m_app.clickCell(1, 2);
        m_app.clickCell(60, 10, Qt::ShiftModifier);
        QTest::keyClicks(m_app.grid, u"1"_s);
        QCOMPARE(m_app.dialogs.messages().size(), 1);
        QVERIFY(
            m_app.dialogs.messages().constFirst().startsWith(u"Error: the edit was not made"_s));
        QCOMPARE(m_app.cell(1, 2), huge);
        QCOMPARE(m_app.cell(1, 3), QString());
    }

    void delete_empties_the_selection_data()
    {
        QTest::addColumn<QString>("keys");
        for (const char *keys : {"Del", "Shift+Del", "Ctrl+Del"})
            QTest::newRow(keys) << QString::fromLatin1(keys);
    }

    void delete_empties_the_selection()
    {
        QFETCH(QString, keys);
        const QKeyCombination key = QKeySequence(keys)[0];
        for (const int row : {1, 2, 3})
            m_app.setCell(row, 2, u"100"_s);
        m_app.clickCell(1, 2);
        m_app.clickCell(2, 2, Qt::ShiftModifier);
        QTest::keyClick(m_app.grid, key.key(), key.keyboardModifiers());
        QCOMPARE(m_app.cell(1, 2) + u'|' + m_app.cell(2, 2) + u'|' + m_app.cell(3, 2), u"||100"_s);
    }

    void enter_and_button_calculate_data()
    {
        // Keys pressed in the grid, or after "button" on the focused Calculate
        // button; "click" clicks it.
        QTest::addColumn<QString>("input");
        for (const char *input : {"Return", "Num+Enter", "Shift+Return", "Ctrl+Return", "click",
                                  "button Return", "button Num+Enter"})
            QTest::newRow(input) << QString::fromLatin1(input);
    }

    // Enter adds no character and runs the same pass as the button.
    void enter_and_button_calculate()
    {
        QFETCH(QString, input);
        setDuct();
        m_app.clickCell(1, 4);
        QWidget *button = m_app.control(u"calculateButton"_s);
        const bool onButton = input.startsWith(u"button ");
        if (onButton) {
            button->setFocus();
            QTRY_VERIFY(button->hasFocus());
        }
        const QKeyCombination key = QKeySequence(input.section(u' ', -1))[0];
        if (input == u"click")
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(onButton ? button : m_app.grid, key.key(), key.keyboardModifiers());
        QCOMPARE(m_app.cell(1, 4), u"100"_s);
        QCOMPARE(m_app.cell(1, 7), u"0.21"_s);
        QCOMPARE(m_app.cell(1, 10), u"0.21"_s);
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
    }

    // A row with both a length and a coefficient stops the pass before any
    // cell is written or the trip home, with its message in Qt's real box.
    void validation_message_in_the_real_message_box()
    {
        setDuct();
        m_app.setCell(2, 4, u" "_s);
        m_app.setCell(2, 6, u"0.5"_s);
        m_app.clickCell(5, 3);
        Dialogs::setInstance(nullptr);
        QString seen;
        m_app.guard.expect([&](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            if (!box)
                return shown->close(), void();
            seen = u"%1|%2|%3|%4"_s.arg(box->windowTitle(), box->text())
                       .arg(box->icon())
                       .arg(box->standardButtons().toInt(), 0, 16);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        Dialogs::setInstance(&m_app.dialogs);
        QCOMPARE(seen, u"Plenix|Length and Loss Coef. entries should be on separate rows.\n"
                       "Inspect row: 2|1|400"_s);
        QCOMPARE(m_app.cell(1, 7), QString());
        QCOMPARE(m_app.table().currentRow(), 5);
    }

    void popup_follows_the_current_column_data()
    {
        QTest::addColumn<int>("currentCol");
        QTest::addColumn<int>("where");
        QTest::addColumn<QString>("popup");
        for (const std::vector<std::string> &c : coretest::caseFile("popups.cases")) {
            QTest::newRow(c.at(0).c_str())
                << std::stoi(c.at(1)) << std::stoi(c.at(2)) << QString::fromStdString(c.at(3));
        }
    }

    // The pop-up of the current column opens at the pointer; the current
    // cell does not move, and the hint's item does nothing.
    void popup_follows_the_current_column()
    {
        QFETCH(int, currentCol);
        QFETCH(int, where);
        QFETCH(QString, popup);
        m_app.setCell(3, currentCol, u"1"_s);
        m_app.clickCell(3, currentCol);
        QWidget *target = where > 0 ? m_app.grid->viewport() : m_app.header(where == 0);
        QPoint pos = where > 0 ? m_app.cellPoint(8, where) : m_app.headerPoint(where == 0, 9);
        std::function<void()> open = [&] {
            QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, pos);
        };
        if (where == -4) {
            target = m_app.grid->verticalScrollBar();
            pos = target->rect().center();
            open = [&] {
                QContextMenuEvent press(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
                QApplication::sendEvent(target, &press);
            };
        } else if (where < -1) {
            // The keys open it at the current cell.
            target = m_app.grid->viewport();
            pos = m_app.grid->visualRect(m_app.index(3, currentCol)).bottomLeft();
            open = [&] {
                QTest::keyClick(m_app.grid, where == -2 ? Qt::Key_Menu : Qt::Key_F10,
                                where == -2 ? Qt::NoModifier : Qt::ShiftModifier);
            };
        }
        QRect shownAt;
        QCOMPARE(m_app.popUp(open, u"hintAction"_s, &shownAt), popup);
        const QPoint pointer = target->mapToGlobal(pos);
        QCOMPARE(shownAt.top(), pointer.y());
        QVERIFY(shownAt.left() <= pointer.x() && shownAt.right() >= pointer.x());
        QCOMPARE(m_app.cursor(), u"3,%1 3,%1"_s.arg(currentCol));
        QCOMPARE(m_app.cell(3, currentCol), u"1"_s);
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    void fitting_commands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<std::optional<QString>>("reply");
        QTest::addColumn<QString>("coefficient"); // empty: the row is left as it was
        QTest::addColumn<QString>("description");
        for (const std::vector<std::string> &c : coretest::caseFile("fitting-commands.cases")) {
            const QString reply = QString::fromStdString(c.at(1));
            QTest::addRow("%s %s", c[0].c_str(), c[1].c_str())
                << QString::fromStdString(c[0])
                << (reply == u"-" ? std::nullopt : std::optional(reply))
                << QString::fromStdString(c.at(2)) << QString::fromStdString(c.at(3));
        }
    }

    // Chosen with "Loss Coef." of row 3 current and rows 2 to 4 selected:
    // the fitting in row 3 only, or row 3 unchanged.
    void fitting_commands()
    {
        QFETCH(QString, item);
        QFETCH(std::optional<QString>, reply);
        QFETCH(QString, coefficient);
        QFETCH(QString, description);
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"10"_s);
        m_app.setCell(3, 4, u"20"_s);
        m_app.setCell(3, 5, u"old text"_s);
        m_app.setCell(3, 6, u"9"_s);
        m_app.dialogs.replies = {reply};
        m_app.clickCell(3, 6);
        m_app.clickCell(4, 6, Qt::ShiftModifier);
        const QPoint at = m_app.cellPoint(2, 6);
        const auto open = [&] {
            QTest::mouseClick(m_app.grid->viewport(), Qt::RightButton, Qt::NoModifier, at);
        };
        QCOMPARE(m_app.popUp(open, item), u"fittingsMenu"_s);
        // Why nothing was written stands in the status bar.
        QCOMPARE(m_app.window->statusBar()->currentMessage().isEmpty(), !coefficient.isEmpty());
        // An elbow asks with its angle ("elbowNNAction") and the diameter, and
        // the reply is kept as typed, even when it gives no coefficient.
        QStringList asked;
        for (const apptest::DialogCall &call : m_app.dialogs.calls)
            asked << call.kind << call.title << call.text;
        const bool elbow = item.startsWith(u"elbow");
        const QStringList expected{u"askElbowRadius"_s, item.mid(5, 2), u"10"_s};
        QCOMPARE(asked, elbow ? expected : QStringList());
        if (elbow)
            QCOMPARE(m_app.window->elbowRadiusText(), reply.value_or(QString()));
        QCOMPARE(m_app.cell(3, 6), coefficient.isEmpty() ? u"9"_s : coefficient);
        QCOMPARE(m_app.cell(3, 5), description.isEmpty() ? u"old text"_s : description);
        QCOMPARE(m_app.cell(2, 6) + m_app.cell(4, 6), QString());
        QCOMPARE(m_app.cursor(), u"3,6 4,6"_s);
    }

    void drag_past_the_edge_keeps_scrolling_data()
    {
        QTest::addColumn<int>("where"); // 1 cells, 0 column headers, -1 row numbers
        QTest::newRow("cells") << 1;
        QTest::newRow("column headers") << 0;
        QTest::newRow("row numbers") << -1;
    }

    // Held still beyond the edge, the drag goes on scrolling until the button
    // is let go.
    void drag_past_the_edge_keeps_scrolling()
    {
        QFETCH(int, where);
        const bool columns = where == 0;
        QWidget *target = where > 0 ? m_app.grid->viewport() : m_app.header(columns);
        const QPoint from = where > 0 ? m_app.cellPoint(2, 2) : m_app.headerPoint(columns, 2);
        const QPoint past = columns ? QPoint(target->width() + 5, from.y())
                                    : QPoint(from.x(), target->height() + 5);
        const auto scrolled = [&] {
            return columns ? m_app.table().leftCol() : m_app.table().topRow();
        };
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(target, past);
        const int first = scrolled();
        QTRY_VERIFY(scrolled() >= first + 2);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, past);
        const int stopped = scrolled();
        QTest::qWait(200);
        QCOMPARE(scrolled(), stopped);
    }

    // The real radius prompt under a duct of diameter 12: it shows the
    // diameter and, as 18 is typed, the ratio and the coefficient.
    void elbow_prompt_in_the_real_dialog()
    {
        setDuct();
        m_app.clickCell(2, 6);
        Dialogs::setInstance(nullptr);
        QStringList seen;
        m_app.guard.expect([&](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            if (!menu)
                return shown->close(), void();
            m_app.guard.expect([&](QWidget *prompt) {
                auto *dialog = qobject_cast<QDialog *>(prompt);
                auto *reply = prompt->findChild<QLineEdit *>(u"replyEdit"_s);
                auto *preview = prompt->findChild<QLabel *>(u"previewLabel"_s);
                if (!dialog || !reply || !preview)
                    return prompt->close(), void();
                seen << dialog->windowTitle() << reply->text()
                     << apptest::child<QLabel>(*prompt, u"diameterLabel"_s)->text();
                reply->selectAll();
                QTest::keyClicks(reply, u"18"_s);
                seen << preview->text();
                dialog->accept();
            });
            menu->setActiveAction(menu->findChild<QAction *>(u"elbow90Action"_s));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(m_app.grid->viewport(), Qt::RightButton, Qt::NoModifier,
                          m_app.cellPoint(2, 6));
        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 4, 3000);
        Dialogs::setInstance(&m_app.dialogs);
        QCOMPARE(seen, (QStringList{u"plenix"_s, u"0"_s, u"Diameter in force: 12 in"_s,
                                    u"R/D = 1.5, coefficient 0.39"_s}));
        QCOMPARE(m_app.cell(2, 6), u"0.39"_s);
        QCOMPARE(m_app.cell(2, 5), u"Elbow 90 deg 18 in clr"_s);
    }
};

APPTEST_MAIN(EditingTest)
#include "tst_app_editing.moc"
