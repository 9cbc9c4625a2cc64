// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of random inputs on the main window: keys, clicks and drags on
// cells and headers, right clicks with the pop-up answered or dismissed,
// wheel, resizes and menu commands with the dialogs answered at random, drawn
// from a seeded generator so that a run repeats exactly.
#include "windowtest.h"

using namespace windowtest;

class RandomInputTest final : public WindowFixture
{
    Q_OBJECT

    std::mt19937 m_random;
    QString m_frame;
    QString m_opened; // the texts when the history last started
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    int pick(int count) { return int(m_random() % quint32(std::max(count, 1))); }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename List> auto any(const List &list)
    {
        return list[decltype(list.size())(pick(int(list.size())))];
    }
    // A point of the widget, or up to `beyond` pixels outside it.
    QPoint pointIn(const QWidget *w, int beyond = 0)
    {
        return {pick(w->width() + 2 * beyond) - beyond, pick(w->height() + 2 * beyond) - beyond};
    }
    Qt::KeyboardModifiers shift() { return chance(20) ? Qt::ShiftModifier : Qt::NoModifier; }

    // The prompt's next reply (Cancel, empty, a number or text), the next
    // file dialog's answer (cancelled, a file, the folder itself, or a file
    // in a folder that does not exist) and the save-changes choice.
    void scriptDialogs()
    {
        static const QStringList texts = u"abc|1e999|-7| 12 |&HFF|\u0436|0.0001|\t"_s.split(u'|');
        const std::array<std::optional<QString>, 4> replies{
            std::nullopt, QString(), QString::number(pick(10000) / 100.0), any(texts)};
        m_dialogs.replies = {any(replies)};
        m_dialogs.fileNames = {
            any(std::array{QString(), path(u"a.txt"_s), m_dir->path(), path(u"no/c.txt"_s)})};
        m_dialogs.saveChoices = {Dialogs::SaveChoice(pick(3))};
    }

    // Every data cell and the description.
    QString texts() { return toQString(m_window->document().fileText()); }

    // Half of the characters from what numbers are made of, so that
    // Calculate has routes to work through.
    void typeText()
    {
        QString text;
        for (int count = 1 + pick(4); count > 0; --count)
            text += QLatin1Char(chance(50) ? any("0123456789.E"_ba) : char(32 + pick(95)));
        QTest::keyClicks(m_grid, text);
    }

    void pressKey()
    {
        static const std::array keys{Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return,
                                     Qt::Key_Enter,     Qt::Key_Up,     Qt::Key_Down,
                                     Qt::Key_Left,      Qt::Key_Right,  Qt::Key_PageUp,
                                     Qt::Key_PageDown,  Qt::Key_Home,   Qt::Key_End};
        QTest::keyClick(m_grid, any(keys),
                        shift() | (chance(20) ? Qt::ControlModifier : Qt::NoModifier));
    }

    // On the cells or a header: a click, a double click, a drag (partly
    // beyond the edges, which scrolls), or a right click whose pop-up gets
    // one of its items by mouse or keyboard, or Escape.
    void mouse()
    {
        const int area = pick(4); // 0 and 1 the cells, 2 the column headers, 3 the row numbers
        QWidget *target = area < 2 ? m_grid->viewport() : header(area == 2);
        const QPoint at = pointIn(target);
        if (const int action = pick(10); action < 3) {
            QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
            for (int moves = 1 + pick(4); moves > 0; --moves)
                QTest::mouseMove(target, pointIn(target, 60));
            return QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, pointIn(target, 60));
        } else if (action < 6) {
            return action < 5 ? QTest::mouseClick(target, Qt::LeftButton, shift(), at)
                              : QTest::mouseDClick(target, Qt::LeftButton, shift(), at);
        }
        const int answer = pick(9);
        const bool byMouse = chance(50);
        scriptDialogs();
        m_guard.expect([answer, byMouse](QWidget *shown) {
            QList<QAction *> items = shown->actions();
            items.removeIf([](const QAction *a) { return a->isSeparator(); });
            auto *menu = qobject_cast<QMenu *>(shown);
            const auto choice = answer % (items.size() + 1);
            if (!menu || choice == items.size()) {
                QTest::keyClick(shown, Qt::Key_Escape);
            } else if (byMouse) {
                const QPoint item = menu->actionGeometry(items[choice]).center();
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, item);
            } else {
                menu->setActiveAction(items[choice]);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        // The pop-up runs its own loop until it is answered.
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
        const bool answered = !m_guard.waiting();
        m_guard.expect({});
        QVERIFY2(answered && !QApplication::activePopupWidget(), "no pop-up, or one left open");
    }

    // The wheel over the cells, or a new size or state of the window.
    void viewChange()
    {
        MainWindow *window = m_window.get();
        if (const int change = pick(6); change < 3)
            return change ? window->setWindowState(Qt::WindowState(change)) : window->showNormal();
        else if (change == 3)
            return window->resize(40 + pick(1600), 40 + pick(1200));
        QWidget *viewport = m_grid->viewport();
        const QPoint at = pointIn(viewport), delta{0, 120 * (pick(7) - 3)};
        QWheelEvent wheel(at, viewport->mapToGlobal(at), {}, delta, Qt::NoButton, shift(),
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }

    void runCommand()
    {
        // Insert Row and Undo twice as often; Exit is left out, as it would
        // end the run, and Clear List often enough that the grid is seen
        // filling from empty.
        static const QStringList names =
            u"new open close save saveAs print clearDescription clearList insertRow insertRow "
            "copyDescription copyList copyFileName toolTips helpTopics about elbow90 elbow30 "
            "branchEntry60 branchEntry45 undo undo redo"_s.split(u' ');
        scriptDialogs();
        const QString name = chance(20) ? u"clearList"_s : any(names);
        // Printing goes to a real printer when there is one.
        if (name == u"print" && !QPrinterInfo::defaultPrinter().isNull())
            return;
        // The About box is modal; it is closed unread.
        if (name == u"about")
            m_guard.expect([](QWidget *shown) { shown->close(); });
        choose(name + u"Action"_s);
        m_guard.expect({});
    }

    // The grid's shape, headers and row numbers, which nothing may change.
    QString frame()
    {
        const RouteModel *model = m_grid->routeModel();
        QString text = u"%1 rows %2 columns"_s.arg(model->rowCount()).arg(model->columnCount());
        for (int col = 0; col < RouteTable::ColCount; ++col)
            text += u'|' + cell(0, col);
        for (int row = 1; row <= RouteTable::DataRows; ++row)
            text += u'|' + cell(row, 0);
        return text;
    }

    // The grid is whole, the view agrees with the route table, Qt has not
    // warned; undoing everything since the last Open or New gives back the
    // texts it opened, and redoing it all the texts before.
    void checkInvariants()
    {
        QStringList broken;
        const auto expect = [&broken](bool ok, const QString &what) {
            if (!ok)
                broken.append(what);
        };
        const RouteTable &t = table();
        expect(frame() == m_frame, u"shape, headers or row numbers now "_s + frame());
        // Current cell, selection (its corners and size) and scroll
        // position, as the view and as the table have them, all on cells.
        const QModelIndex current = m_grid->currentIndex();
        const QModelIndexList selected = m_grid->selectionModel()->selectedIndexes();
        const auto [top, bottom] = std::ranges::minmax(selected, {}, &QModelIndex::row);
        const auto [left, right] = std::ranges::minmax(selected, {}, &QModelIndex::column);
        const plenix::CellRange s = t.selection();
        const QList<int> view = QList<int>()
                                << current.row() + 1 << current.column() + 1 << top.row() + 1
                                << left.column() + 1 << bottom.row() + 1 << right.column() + 1
                                << int(selected.size()) << m_grid->verticalScrollBar()->value() + 1
                                << m_grid->horizontalScrollBar()->value() + 1;
        const QList<int> model = QList<int>()
                                 << t.currentRow() << t.currentCol() << s.top << s.left << s.bottom
                                 << s.right << (s.bottom - s.top + 1) * (s.right - s.left + 1)
                                 << t.topRow() << t.leftCol();
        expect(view == model && current.isValid(),
               u"view at %1, table at %2"_s.arg(QDebug::toString(view), QDebug::toString(model)));
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col < RouteTable::ColCount; ++col) {
                if (const QString text = shown(row, col); text != cell(row, col))
                    broken << u"cell %1,%2 shown as \"%3\""_s.arg(row).arg(col).arg(text);
            }
        }
        QUndoStack &history = m_window->documents().history().stack();
        expect(m_window->isWindowModified() == !history.isClean() &&
                   m_window->document().isModified() == !history.isClean(),
               u"unsaved mark differs from the history"_s);
        const QString now = texts();
        const int steps = history.index();
        history.setIndex(0);
        expect(texts() == m_opened, u"undoing everything gave "_s + texts());
        history.setIndex(steps);
        expect(texts() == now, u"redoing everything gave "_s + texts());
        expect(recordedWarnings.isEmpty(), u"Qt warned: "_s + recordedWarnings.join(u"; "_s));
        expect(m_guard.unexpected.isEmpty(),
               u"unexpected windows: "_s + m_guard.unexpected.join(u"; "_s));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    }

private Q_SLOTS:
    void initTestCase() { passOn = qInstallMessageHandler(recordWarnings); }
    void init() { openWindow(); }
    void cleanup()
    {
        m_tester.reset();
        closeWindow();
    }

    // PLENIX_RANDOM_SEED replays a run, PLENIX_RANDOM_EVENTS sets its
    // length. After every 50 events the invariants above must hold.
    void random_input_keeps_the_grid_whole()
    {
        const quint32 seed = qEnvironmentVariable("PLENIX_RANDOM_SEED", u"20240611"_s).toUInt();
        const int events = qEnvironmentVariable("PLENIX_RANDOM_EVENTS", u"5000"_s).toInt();
        if (events <= 0)
            QSKIP("PLENIX_RANDOM_EVENTS is 0");
        m_random.seed(seed);
        m_frame = frame();
        m_opened = texts();
        connect(&m_window->documents().history(), &EditHistory::restarted, this,
                [this] { m_opened = texts(); });
        // Checks the model at once and after every change it reports.
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_grid->routeModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        recordedWarnings.clear();
        qInfo("Seed %u, %d events; PLENIX_RANDOM_SEED and PLENIX_RANDOM_EVENTS change them.", seed,
              events);
        for (int done = 1; done <= events && !QTest::currentTestFailed(); ++done) {
            // The kinds of event, with their shares in percent: 38, 20, 25, 5, 12.
            if (const int kind = pick(100); kind < 38)
                typeText();
            else if (kind < 58)
                pressKey();
            else if (kind < 83)
                mouse();
            else if (kind < 88)
                viewChange();
            else
                runCommand();
            // What the event posted (repaints, layout, deferred deletes) runs
            // before the next one, as it would between a person's inputs.
            QCoreApplication::processEvents();
            if (done % 50 == 0 || done == events)
                checkInvariants();
            if (QTest::currentTestFailed())
                qInfo("Failed by event %d of seed %u.", done, seed);
        }
    }
};

WINDOWTEST_MAIN(RandomInputTest)
#include "tst_app_random.moc"
