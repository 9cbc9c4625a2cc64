// The right mouse button's pop-ups and the fitting commands: which pop-up
// appears, and what each command writes with the radius prompt answered,
// cancelled or answered with something that is no number.
#include "apptest.h"

#include <QAction>
#include <QInputDialog>

using namespace Qt::StringLiterals;

class FittingsTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    // Right-clicks a cell's centre and, when a pop-up opens, chooses the
    // item named `item` with the keyboard, or closes it when `item` is empty.
    // Returns the pop-up's name, or nothing when none opened.
    QString rightClick(QWidget *target, const QPoint &pos, const QString &item,
                       QRect *shownAt = nullptr)
    {
        QString opened;
        m_app.guard.expect([&](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            opened = menu ? menu->objectName() : u"not a menu"_s;
            if (shownAt)
                *shownAt = shown->geometry();
            QAction *action = menu ? menu->findChild<QAction *>(item) : nullptr;
            if (!action || item.isEmpty()) {
                shown->close();
                return;
            }
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, pos);
        if (!QTest::qWaitFor(
                [this] { return !m_app.guard.waiting() && !QApplication::activePopupWidget(); },
                2000))
            return u"still open"_s;
        return opened;
    }

    QString runFitting(int row, const QString &item)
    {
        m_app.clickCell(row, 6);
        return rightClick(m_app.grid->viewport(), m_app.cellPoint(row, 6), item);
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    void popup_follows_the_current_column_data()
    {
        QTest::addColumn<int>("currentCol");
        QTest::addColumn<int>("clickedCol");
        QTest::addColumn<QString>("popup");
        QTest::newRow("on Loss Coef.") << 6 << 6 << u"mnuPopUp"_s;
        QTest::newRow("Loss Coef. current, pointer over Flow") << 6 << 2 << u"mnuPopUp"_s;
        QTest::newRow("Description current, pointer over Loss Coef.") << 5 << 6 << u"mnuPopup2"_s;
        QTest::newRow("Item SP current") << 7 << 7 << u"mnuPopup2"_s;
        QTest::newRow("Item Qty current") << 1 << 9 << u"mnuPopup2"_s;
    }

    // State: a current cell. Action: right button over another row.
    // Expected: the pop-up of the current column at the pointer; the
    // current cell does not move.
    void popup_follows_the_current_column()
    {
        QFETCH(int, currentCol);
        QFETCH(int, clickedCol);
        QFETCH(QString, popup);
        m_app.clickCell(3, currentCol);
        const QPoint pos = m_app.cellPoint(8, clickedCol);
        QRect shownAt;
        QCOMPARE(rightClick(m_app.grid->viewport(), pos, QString(), &shownAt), popup);
        // At the pointer; a pop-up too wide for the screen's edge moves left.
        const QPoint pointer = m_app.grid->viewport()->mapToGlobal(pos);
        QCOMPARE(shownAt.top(), pointer.y());
        QVERIFY(shownAt.left() <= pointer.x() && shownAt.right() >= pointer.x());
        QCOMPARE(m_app.cursor(), u"3,%1 3,%1"_s.arg(currentCol));
    }

    void popup_from_the_headers_too()
    {
        m_app.clickCell(2, 6);
        QCOMPARE(rightClick(m_app.grid->horizontalHeader()->viewport(), m_app.columnHeaderPoint(3),
                            QString()),
                 u"mnuPopUp"_s);
        QCOMPARE(rightClick(m_app.grid->verticalHeader()->viewport(), m_app.rowHeaderPoint(9),
                            QString()),
                 u"mnuPopUp"_s);
        QCOMPARE(m_app.cursor(), u"2,6 2,6"_s);
    }

    void hint_item_does_nothing()
    {
        m_app.setCell(2, 3, u"10"_s);
        m_app.clickCell(2, 3);
        QCOMPARE(rightClick(m_app.grid->viewport(), m_app.cellPoint(2, 3), u"mnuMsg"_s),
                 u"mnuPopup2"_s);
        QCOMPARE(m_app.cell(2, 3), u"10"_s);
        QCOMPARE(m_app.cell(2, 6), QString());
        QVERIFY(m_app.dialogs.calls.isEmpty());
        QCOMPARE(m_app.cursor(), u"2,3 2,3"_s);
    }

    void fitting_commands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("prompts");
        QTest::addColumn<std::optional<QString>>("reply");
        QTest::addColumn<QString>("coefficient"); // empty: the row is left as it was
        QTest::addColumn<QString>("description");
        // The duct above has a diameter of 10.
        const std::optional<QString> cancel;
        QTest::newRow("elbow 90, R 15 = 1.5 D") << u"mnuElbow90"_s << true << std::optional(u"15"_s)
                                                << u"0.39"_s << u"Elbow 90 deg 15 in clr"_s;
        QTest::newRow("elbow 90, R 12.5 on the 1.25 D boundary")
            << u"mnuElbow90"_s << true << std::optional(u"12.5"_s) << u"0.55"_s
            << u"Elbow 90 deg 12.5 in clr"_s;
        QTest::newRow("elbow 60, R 17.5 = 1.75 D")
            << u"mnuElbow60"_s << true << std::optional(u"17.5"_s) << u"0.21"_s
            << u"Elbow 60 deg 17.5 in clr"_s;
        QTest::newRow("elbow 45, the pre-filled 0")
            << u"mnuElbow45"_s << true << std::optional(u"0"_s) << u"1.25"_s
            << u"Elbow 45 deg 0 in clr"_s;
        QTest::newRow("elbow 30, R 30 beyond 2.5 D")
            << u"mnuElbow30"_s << true << std::optional(u"30"_s) << u"0.08"_s
            << u"Elbow 30 deg 30 in clr"_s;
        QTest::newRow("elbow 30, R 25 = 2.5 D") << u"mnuElbow30"_s << true << std::optional(u"25"_s)
                                                << u"0.06"_s << u"Elbow 30 deg 25 in clr"_s;
        QTest::newRow("elbow 90, blanks kept around the reply")
            << u"mnuElbow90"_s << true << std::optional(u" 12 "_s) << u"0.55"_s
            << u"Elbow 90 deg  12  in clr"_s;
        QTest::newRow("elbow 45, negative reply")
            << u"mnuElbow45"_s << true << std::optional(u"-3"_s) << u"0.28"_s
            << u"Elbow 45 deg -3 in clr"_s;
        QTest::newRow("elbow 90, cancelled")
            << u"mnuElbow90"_s << true << cancel << QString() << QString();
        QTest::newRow("elbow 60, empty reply")
            << u"mnuElbow60"_s << true << std::optional(u""_s) << QString() << QString();
        QTest::newRow("elbow 45, reply with a unit")
            << u"mnuElbow45"_s << true << std::optional(u"12 in"_s) << QString() << QString();
        QTest::newRow("elbow 30, letters")
            << u"mnuElbow30"_s << true << std::optional(u"abc"_s) << QString() << QString();
        QTest::newRow("elbow 90, digits the cells cannot hold")
            << u"mnuElbow90"_s << true << std::optional(u"\uff11\uff12"_s) << QString()
            << QString();
        QTest::newRow("branch entry 90")
            << u"mnuBranchEntry90"_s << false << cancel << u"1.0"_s << u"Branch Entry 90 deg"_s;
        QTest::newRow("branch entry 60")
            << u"mnuBranchEntry60"_s << false << cancel << u"0.44"_s << u"Branch Entry 60 deg"_s;
        QTest::newRow("branch entry 45")
            << u"mnuBranchEntry45"_s << false << cancel << u"0.28"_s << u"Branch Entry 45 deg"_s;
        QTest::newRow("branch entry 30")
            << u"mnuBranchEntry30"_s << false << cancel << u"0.18"_s << u"Branch Entry 30 deg"_s;
    }

    // State: a duct of diameter 10 in row 1; row 3 holds a length, an old
    // description and an old coefficient. Action: the pop-up item chosen
    // with "Loss Coef." of row 3 current. Expected: the coefficient and
    // description of the fitting in row 3, or row 3 unchanged.
    void fitting_commands()
    {
        QFETCH(QString, item);
        QFETCH(bool, prompts);
        QFETCH(std::optional<QString>, reply);
        QFETCH(QString, coefficient);
        QFETCH(QString, description);
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"10"_s);
        m_app.setCell(1, 4, u"20"_s);
        m_app.setCell(3, 4, u"20"_s);
        m_app.setCell(3, 5, u"old text"_s);
        m_app.setCell(3, 6, u"9"_s);
        m_app.dialogs.replies = {reply};

        QCOMPARE(runFitting(3, item), u"mnuPopUp"_s);

        if (prompts) {
            QCOMPARE(m_app.dialogs.calls.size(), 1);
            const apptest::DialogCall call = m_app.dialogs.calls.constFirst();
            QCOMPARE(call.kind, u"askText"_s);
            QCOMPARE(call.title, u"plenix"_s);
            QCOMPARE(call.text, u"Enter elbow center line radius, in"_s);
            QCOMPARE(call.initial, u"0"_s);
            // The reply is kept as typed, even when it gives no coefficient.
            QCOMPARE(m_app.window->elbowRadiusText(), reply.value_or(QString()));
        } else {
            QVERIFY(m_app.dialogs.calls.isEmpty());
        }
        QCOMPARE(m_app.cell(3, 6), coefficient.isEmpty() ? u"9"_s : coefficient);
        QCOMPARE(m_app.cell(3, 5), description.isEmpty() ? u"old text"_s : description);
        // The rest of the row and the other rows stay.
        QCOMPARE(m_app.cell(3, 4), u"20"_s);
        QCOMPARE(m_app.cell(3, 7), QString());
        QCOMPARE(m_app.cell(2, 6), QString());
        QCOMPARE(m_app.cell(4, 6), QString());
        QCOMPARE(m_app.cursor(), u"3,6 3,6"_s);
    }

    // Every prompt overwrites the kept reply, a cancelled one with nothing.
    void elbow_radius_text_follows_every_prompt()
    {
        m_app.setCell(1, 3, u"10"_s);
        m_app.dialogs.replies = {u"15"_s, u"x"_s, std::nullopt};
        runFitting(2, u"mnuElbow90"_s);
        QCOMPARE(m_app.window->elbowRadiusText(), u"15"_s);
        runFitting(3, u"mnuElbow45"_s);
        QCOMPARE(m_app.window->elbowRadiusText(), u"x"_s);
        runFitting(4, u"mnuElbow30"_s);
        QCOMPARE(m_app.window->elbowRadiusText(), QString());
        QCOMPARE(m_app.dialogs.calls.size(), 3);
        QCOMPARE(m_app.cell(2, 5), u"Elbow 90 deg 15 in clr"_s);
        QCOMPARE(m_app.cell(3, 5), QString());
        QCOMPARE(m_app.cell(4, 5), QString());
    }

    void elbow_without_a_diameter_asks_nothing_data()
    {
        QTest::addColumn<QString>("diameterAbove"); // in row 2, above the elbow's row 3
        QTest::addColumn<QString>("furtherUp");     // in row 1
        QTest::newRow("no diameter at all") << QString() << QString();
        QTest::newRow("letters above a number") << u"ab"_s << u"8"_s;
        QTest::newRow("a blank above a number") << u" "_s << u"8"_s;
        QTest::newRow("zero") << u"0"_s << QString();
    }

    void elbow_without_a_diameter_asks_nothing()
    {
        QFETCH(QString, diameterAbove);
        QFETCH(QString, furtherUp);
        m_app.setCell(1, 3, furtherUp);
        m_app.setCell(2, 3, diameterAbove);
        QCOMPARE(runFitting(3, u"mnuElbow90"_s), u"mnuPopUp"_s);
        QVERIFY(m_app.dialogs.calls.isEmpty());
        QCOMPARE(m_app.cell(3, 6), QString());
        QCOMPARE(m_app.cell(3, 5), QString());
    }

    void elbow_takes_the_nearest_diameter_above()
    {
        m_app.setCell(1, 3, u"20"_s);
        m_app.setCell(2, 3, u"8"_s);
        m_app.dialogs.replies = {u"12"_s};
        runFitting(5, u"mnuElbow90"_s);
        // R = 1.5 D with D = 8: 0.39 (with D = 20 it would be 0.55).
        QCOMPARE(m_app.cell(5, 6), u"0.39"_s);
    }

    void only_the_current_row_changes_in_a_selection()
    {
        m_app.setCell(1, 3, u"10"_s);
        m_app.clickCell(2, 6);
        m_app.clickCell(4, 6, Qt::ShiftModifier);
        QCOMPARE(rightClick(m_app.grid->viewport(), m_app.cellPoint(3, 6), u"mnuBranchEntry45"_s),
                 u"mnuPopUp"_s);
        QCOMPARE(m_app.cell(2, 6), u"0.28"_s);
        QCOMPARE(m_app.cell(3, 6), QString());
        QCOMPARE(m_app.cell(4, 6), QString());
        QCOMPARE(m_app.cell(3, 5), QString());
    }

    void fitting_row_then_reported_by_calculate()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"10"_s);
        m_app.setCell(2, 4, u"20"_s);
        runFitting(2, u"mnuBranchEntry45"_s);
        QCOMPARE(m_app.cell(2, 4), u"20"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Return);
        QCOMPARE(m_app.dialogs.calls.size(), 1);
        QCOMPARE(m_app.dialogs.calls.constFirst().text,
                 u"Length and Loss Coef. entries should be on separate rows.\nInspect row: 2"_s);
    }

    // The radius prompt in Qt's real input dialog, answered with 18 under a
    // duct of diameter 12.
    void elbow_prompt_in_the_real_input_dialog()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        m_app.clickCell(2, 6);
        Dialogs::setInstance(nullptr);
        QString title, label, prefilled;
        bool answered = false;
        m_app.guard.expect([&](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            if (!menu) {
                shown->close();
                return;
            }
            // The prompt that the command opens comes next.
            m_app.guard.expect([&](QWidget *prompt) {
                if (auto *dialog = qobject_cast<QInputDialog *>(prompt)) {
                    title = dialog->windowTitle();
                    label = dialog->labelText();
                    prefilled = dialog->textValue();
                    dialog->setTextValue(u"18"_s);
                    dialog->accept();
                    answered = true;
                } else {
                    prompt->close();
                }
            });
            menu->setActiveAction(menu->findChild<QAction *>(u"mnuElbow90"_s));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(m_app.grid->viewport(), Qt::RightButton, Qt::NoModifier,
                          m_app.cellPoint(2, 6));
        QTRY_VERIFY_WITH_TIMEOUT(answered, 3000);
        Dialogs::setInstance(&m_app.dialogs);
        QCOMPARE(title, u"plenix"_s);
        QCOMPARE(label, u"Enter elbow center line radius, in"_s);
        QCOMPARE(prefilled, u"0"_s);
        QCOMPARE(m_app.cell(2, 6), u"0.39"_s);
        QCOMPARE(m_app.cell(2, 5), u"Elbow 90 deg 18 in clr"_s);
        QCOMPARE(m_app.window->elbowRadiusText(), u"18"_s);
    }
};

APPTEST_MAIN(FittingsTest)
#include "tst_app_fittings.moc"
