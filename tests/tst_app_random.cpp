// Random input on the real main window: keys, clicks, drags, right clicks
// with the pop-up answered or dismissed, header clicks, resizes and menu
// commands with the dialogs answered at random, drawn from a seeded generator
// so that a run repeats exactly. After every batch the grid must still be
// whole, the view must agree with the route table and Qt must not have
// warned. PLENIX_RANDOM_SEED replays a run, PLENIX_RANDOM_EVENTS sets its
// length.
#include "apptest.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <array>
#include <cstdio>
#include <functional>
#include <random>

using namespace Qt::StringLiterals;
using plenix::RouteTable;

namespace {

constexpr quint32 DefaultSeed = 20240611;
// The sanitizer build takes the full count, up to about a minute on a busy
// two-core machine; the ordinary build, run at every change, a third of it.
#if defined(__SANITIZE_ADDRESS__) // GCC
#define SANITIZED_BUILD
#elif defined(__has_feature) // Clang
#if __has_feature(address_sanitizer)
#define SANITIZED_BUILD
#endif
#endif
#ifdef SANITIZED_BUILD
constexpr int DefaultEvents = 15000;
#else
constexpr int DefaultEvents = 5000;
#endif
constexpr int BatchSize = 50;

// Every warning Qt gives, and what to print if one turns out fatal. The
// handler is installed before the fixture's, which drops the offscreen
// platform's harmless noise before passing the rest on to this one.
QStringList recordedWarnings;
std::function<QString()> replayHint;
QtMessageHandler passOn = nullptr;

void recordWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
        recordedWarnings.append(message);
    if (type == QtFatalMsg && replayHint)
        std::fprintf(stderr, "%s\n", qPrintable(replayHint()));
    if (passOn)
        passOn(type, context, message);
}

quint32 fromEnvironment(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Commands of the menus and the pop-up, by object name; Insert Row twice as
// often. Exit is left out: it would end the run.
QStringList commandNames()
{
    return u"mnuFileNew mnuFileOpen mnuFileClose mnuFileSave mnuFileSaveAs mnuPrint "
           "mnuClearDescription mnuClearList mnuInsertRow mnuInsertRow "
           "mnuToolsDescriptionClipboard mnuToolsListClipboard mnuToolsFileNameClipboard "
           "mnuToggleToolTips mnuHelpTopics mnuHelpAbout mnuElbow90 mnuElbow60 mnuElbow45 "
           "mnuElbow30 mnuBranchEntry90 mnuBranchEntry60 mnuBranchEntry45 mnuBranchEntry30"_s.split(
               u' ');
}

} // namespace

class RandomInputTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    QTemporaryDir m_dir;
    std::mt19937 m_random;
    quint32 m_seed = DefaultSeed;
    int m_events = DefaultEvents;
    int m_done = 0;
    QStringList m_log; // the events since the last check
    std::string m_headerLine;
    QStringList m_headers;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    int pick(int count)
    {
        return static_cast<int>(m_random() % static_cast<quint32>(std::max(count, 1)));
    }
    bool chance(int percent) { return pick(100) < percent; }
    // A point of the widget, or up to `beyond` pixels outside it.
    QPoint pointIn(const QWidget *widget, int beyond = 0)
    {
        return {pick(widget->width() + 2 * beyond) - beyond,
                pick(widget->height() + 2 * beyond) - beyond};
    }
    Qt::KeyboardModifiers shift(int percent)
    {
        return chance(percent) ? Qt::ShiftModifier : Qt::NoModifier;
    }
    void log(const QString &event) { m_log.append(event); }
    static QString describe(const QPoint &p) { return u"(%1,%2)"_s.arg(p.x()).arg(p.y()); }

    // The prompt's next reply: a number, empty, text or Cancel.
    std::optional<QString> randomReply()
    {
        static const QStringList texts{u"abc"_s,  u"1e999"_s,     u"-7"_s,     u" 12 "_s,
                                       u"&HFF"_s, u"1D400"_s,     u"\u0436"_s, u"0.0001"_s,
                                       u"\t"_s,   u"9999999999"_s};
        switch (pick(5)) {
        case 0:
            return std::nullopt;
        case 1:
            return QString();
        case 2:
            return QString::number(pick(60));
        case 3:
            return QString::number(pick(10000) / 100.0);
        default:
            return texts[pick(int(texts.size()))];
        }
    }
    // The next file dialog's answer: cancelled, a file in the temporary
    // folder, the folder itself, or a file in a folder that does not exist.
    QString randomFileName()
    {
        switch (pick(5)) {
        case 0:
            return {};
        case 1:
            return m_dir.filePath(u"a.txt"_s);
        case 2:
            return m_dir.filePath(u"b.txt"_s);
        case 3:
            return m_dir.path();
        default:
            return m_dir.filePath(u"missing/c.txt"_s);
        }
    }
    void scriptDialogs()
    {
        m_app.dialogs.replies = {randomReply()};
        m_app.dialogs.fileNames = {randomFileName()};
    }

    // ------------------------------------------------------------- events

    // Whole-table commands end with cell (1, 1) current and the grid
    // scrolled to its top-left corner.
    void verifyHome(const QString &command)
    {
        const RouteTable &table = m_app.table();
        QVERIFY2(m_app.cursor() == u"1,1 1,1"_s && table.topRow() == 1 && table.leftCol() == 1,
                 qPrintable(u"%1 ended at %2, scrolled to %3,%4"_s.arg(command, m_app.cursor())
                                .arg(table.topRow())
                                .arg(table.leftCol())));
    }

    void typeCharacter()
    {
        // Half of them from what numbers are made of, so that Calculate has
        // something to work on.
        static const QByteArray numeric = "0123456789.E";
        const char c = chance(50) ? numeric[pick(int(numeric.size()))] : char(32 + pick(95));
        log(u"key '%1'"_s.arg(QLatin1Char(c)));
        QTest::keyClick(m_app.grid, c);
    }

    // Delete, then a number typed key by key: routes that Calculate can
    // work through, not only rows it rejects.
    void typeNumber()
    {
        QString number = QString::number(1 + pick(2000));
        if (chance(30))
            number.insert(pick(int(number.size())), QLatin1Char('.'));
        log(u"number %1"_s.arg(number));
        QTest::keyClick(m_app.grid, Qt::Key_Delete);
        QTest::keyClicks(m_app.grid, number);
    }

    void pressKey()
    {
        static const std::array keys{
            Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Enter,
            Qt::Key_Up,        Qt::Key_Down,   Qt::Key_Left,   Qt::Key_Right,  Qt::Key_PageUp,
            Qt::Key_PageDown,  Qt::Key_Home,   Qt::Key_End};
        const Qt::Key key = keys[std::size_t(pick(int(keys.size())))];
        Qt::KeyboardModifiers modifiers = shift(40);
        if ((key == Qt::Key_Home || key == Qt::Key_End) && chance(40))
            modifiers |= Qt::ControlModifier;
        log(u"key "_s + QKeySequence(QKeyCombination(modifiers, key)).toString());
        const auto messages = m_app.dialogs.calls.size();
        QTest::keyClick(m_app.grid, key, modifiers);
        // Enter runs Calculate, which goes home unless it stopped with a message.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            m_app.dialogs.calls.size() == messages)
            verifyHome(u"Calculate"_s);
    }

    void clickCell()
    {
        QWidget *viewport = m_app.grid->viewport();
        const QPoint at = pointIn(viewport);
        const Qt::KeyboardModifiers modifiers = shift(20);
        const bool twice = chance(10);
        log(u"%1%2 %3"_s.arg(modifiers ? u"shift+"_s : QString(),
                             twice ? u"double click"_s : u"click"_s, describe(at)));
        if (twice)
            QTest::mouseDClick(viewport, Qt::LeftButton, modifiers, at);
        else
            QTest::mouseClick(viewport, Qt::LeftButton, modifiers, at);
    }

    // Press, a few moves (some beyond the edges, which scroll), release.
    void drag(QWidget *target, const QString &name)
    {
        QList<QPoint> path{pointIn(target)};
        QString text;
        for (int moves = 1 + pick(4); moves > 0; --moves)
            path.append(pointIn(target, 60));
        for (const QPoint &at : std::as_const(path))
            text += describe(at);
        log(u"drag on %1 %2"_s.arg(name, text));
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, path.first());
        for (const QPoint &at : std::as_const(path).sliced(1))
            QTest::mouseMove(target, at);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, path.last());
    }

    void clickHeader()
    {
        const bool columns = chance(50);
        QHeaderView *header =
            columns ? m_app.grid->horizontalHeader() : m_app.grid->verticalHeader();
        const QString name = columns ? u"column header"_s : u"row header"_s;
        if (chance(30)) {
            drag(header->viewport(), name);
            return;
        }
        const QPoint at = pointIn(header->viewport());
        const Qt::KeyboardModifiers modifiers = shift(20);
        log(u"%1click on %2 %3"_s.arg(modifiers ? u"shift+"_s : QString(), name, describe(at)));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
    }

    // The mouse wheel over the cells, or a click on a scroll bar.
    void scroll()
    {
        if (chance(50)) {
            QScrollBar *bar =
                chance(50) ? m_app.grid->verticalScrollBar() : m_app.grid->horizontalScrollBar();
            const QPoint at = pointIn(bar);
            log(u"click on scroll bar %1"_s.arg(describe(at)));
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
            return;
        }
        QWidget *viewport = m_app.grid->viewport();
        const QPoint at = pointIn(viewport);
        const QPoint delta{0, 120 * (pick(7) - 3)};
        const Qt::KeyboardModifiers modifiers = shift(20);
        log(u"%1wheel %2 at %3"_s.arg(modifiers ? u"shift+"_s : QString())
                .arg(delta.y())
                .arg(describe(at)));
        QWheelEvent wheel(at, viewport->mapToGlobal(at), {}, delta, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }

    // Opens a pop-up and chooses one of its items, by mouse or keyboard, or
    // closes it with Escape.
    void rightClick()
    {
        QWidget *targets[] = {m_app.grid->viewport(), m_app.grid->viewport(),
                              m_app.grid->horizontalHeader()->viewport(),
                              m_app.grid->verticalHeader()->viewport()};
        QWidget *target = targets[pick(4)];
        const QPoint at = pointIn(target);
        const int answer = pick(9);
        const bool byMouse = chance(50);
        scriptDialogs();
        log(u"right click on %1 %2, answer %3 by %4"_s
                .arg(QLatin1String(target->parentWidget()->metaObject()->className()), describe(at))
                .arg(answer)
                .arg(byMouse ? u"mouse"_s : u"keyboard"_s));
        m_app.guard.expect([this, answer, byMouse](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            if (!menu) {
                m_app.guard.unexpected.append(u"not a pop-up menu"_s);
                shown->close();
                return;
            }
            QList<QAction *> items;
            for (QAction *action : menu->actions()) {
                if (!action->isSeparator())
                    items.append(action);
            }
            const auto choice = answer % (items.size() + 1);
            if (choice == items.size()) {
                QTest::keyClick(menu, Qt::Key_Escape);
            } else if (byMouse) {
                QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                                  menu->actionGeometry(items[choice]).center());
            } else {
                menu->setActiveAction(items[choice]);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        // The pop-up runs its own loop until it is answered.
        QTest::mouseClick(target, Qt::RightButton, Qt::NoModifier, at);
        const bool answered = !m_app.guard.waiting();
        m_app.guard.expect({});
        QVERIFY2(answered, "the right button opened no pop-up");
        QVERIFY(QApplication::activePopupWidget() == nullptr);
    }

    void resizeWindow()
    {
        frmMain *window = m_app.window.get();
        switch (pick(6)) {
        case 0:
            log(u"maximise"_s);
            window->showMaximized();
            break;
        case 1:
            log(u"minimise"_s);
            window->showMinimized();
            break;
        case 2:
            log(u"restore"_s);
            window->showNormal();
            break;
        default: {
            const QSize size{40 + pick(1600), 40 + pick(1200)};
            log(u"resize %1x%2"_s.arg(size.width()).arg(size.height()));
            window->resize(size);
        }
        }
    }

    void runCommand()
    {
        scriptDialogs();
        if (chance(20)) {
            // Often enough that the grid is seen filling from empty.
            const QString name = chance(50) ? u"mnuClearList"_s : u"mnuFileNew"_s;
            log(name);
            m_app.window->findChild<QAction *>(name)->trigger();
            verifyHome(name);
            return;
        }
        if (chance(15)) {
            log(u"Calculate button"_s);
            const auto messages = m_app.dialogs.calls.size();
            QTest::mouseClick(m_app.window->findChild<QPushButton *>(u"cmdCalculate"_s),
                              Qt::LeftButton);
            if (m_app.dialogs.calls.size() == messages)
                verifyHome(u"Calculate"_s);
            return;
        }
        static const QStringList names = commandNames();
        const QString name = names[pick(int(names.size()))];
        log(name);
        // Printing goes to a real printer when there is one.
        if (name == u"mnuPrint"_s && !QPrinterInfo::defaultPrinter().isNull())
            return;
        auto *action = m_app.window->findChild<QAction *>(name);
        QVERIFY2(action, qPrintable(name));
        // The About box is modal; it is closed unread.
        const bool modal = name == u"mnuHelpAbout"_s;
        if (modal) {
            m_app.guard.expect([](QWidget *shown) {
                QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown,
                                Qt::Key_Escape);
                if (shown->isVisible())
                    shown->close();
            });
        }
        action->trigger();
        if (modal)
            m_app.guard.expect({});
        static const QStringList goHome{u"mnuFileNew"_s, u"mnuFileClose"_s, u"mnuClearList"_s,
                                        u"mnuInsertRow"_s, u"mnuToolsListClipboard"_s};
        if (goHome.contains(name))
            verifyHome(name);
    }

    // Text typed into the description box, some of it beyond the 8-bit
    // character set the route file holds.
    void typeDescription()
    {
        static const QString characters = u"ab Z9.-/\u20ac\u0436\u00e9\t"_s;
        auto *box = m_app.window->findChild<QPlainTextEdit *>(u"txtDescription"_s);
        QString text;
        for (int count = 1 + pick(6); count > 0; --count)
            text += characters[pick(int(characters.size()))];
        log(u"description \"%1\""_s.arg(text));
        for (const QChar c : std::as_const(text))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        if (chance(20))
            QTest::keyClick(box, Qt::Key_Return);
    }

    void randomEvent()
    {
        const int kind = pick(100);
        if (kind < 30)
            typeCharacter();
        else if (kind < 38)
            typeNumber();
        else if (kind < 56)
            pressKey();
        else if (kind < 66)
            clickCell();
        else if (kind < 71)
            drag(m_app.grid->viewport(), u"cells"_s);
        else if (kind < 77)
            rightClick();
        else if (kind < 83)
            clickHeader();
        else if (kind < 85)
            resizeWindow();
        else if (kind < 88)
            scroll();
        else if (kind < 98)
            runCommand();
        else
            typeDescription();
        // What the event posted (repaints, layout, deferred deletes) runs
        // before the next one, as it would between a person's inputs.
        QCoreApplication::processEvents();
    }

    // ---------------------------------------------------------- invariants

    void checkInvariants()
    {
        QStringList broken;
        const auto expect = [&broken](bool ok, const QString &what) {
            if (!ok)
                broken.append(what);
        };
        RouteTable &table = m_app.table();
        const RouteModel *model = m_app.grid->routeModel();
        expect(model->rowCount() + 1 == RouteTable::RowCount &&
                   model->columnCount() + 1 == RouteTable::ColCount,
               u"grid shape %1 x %2"_s.arg(model->rowCount()).arg(model->columnCount()));
        for (int col = 0; col < RouteTable::ColCount; ++col)
            expect(m_app.cell(0, col) == m_headers[col], u"header of column %1"_s.arg(col));
        for (int row = 1; row <= RouteTable::DataRows; ++row)
            expect(m_app.cell(row, 0) == u" %1"_s.arg(row), u"row number %1"_s.arg(row));
        expect(table.HeaderLine() == m_headerLine, u"HeaderLine changed"_s);

        const auto isDataCell = [](int row, int col) {
            return RouteTable::isDataRow(row) && col >= 1 && col < RouteTable::ColCount;
        };
        expect(isDataCell(table.currentRow(), table.currentCol()),
               u"current cell %1"_s.arg(m_app.cursor()));
        expect(isDataCell(table.selectionRow(), table.selectionCol()),
               u"selection end %1"_s.arg(m_app.cursor()));
        expect(m_app.grid->currentIndex() == m_app.index(table.currentRow(), table.currentCol()),
               u"view's current cell %1,%2, table's %3"_s.arg(m_app.grid->currentIndex().row() + 1)
                   .arg(m_app.grid->currentIndex().column() + 1)
                   .arg(m_app.cursor()));
        const plenix::CellRange selection = table.selection();
        const QString tableSelection = u"%1,%2 %3,%4"_s.arg(selection.top)
                                           .arg(selection.left)
                                           .arg(selection.bottom)
                                           .arg(selection.right);
        expect(m_app.viewSelection() == tableSelection,
               u"view's selection %1, table's %2"_s.arg(m_app.viewSelection(), tableSelection));
        const int top = m_app.grid->verticalScrollBar()->value() + 1;
        const int left = m_app.grid->horizontalScrollBar()->value() + 1;
        expect(top == table.topRow() && left == table.leftCol(),
               u"view scrolled to %1,%2, table to %3,%4"_s.arg(top)
                   .arg(left)
                   .arg(table.topRow())
                   .arg(table.leftCol()));
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col < RouteTable::ColCount; ++col) {
                const QString shown = m_app.index(row, col).data().toString();
                if (shown != m_app.cell(row, col))
                    broken.append(u"cell %1,%2 shown as \"%3\""_s.arg(row).arg(col).arg(shown));
            }
        }
        expect(recordedWarnings.isEmpty(), u"Qt warned: "_s + recordedWarnings.join(u"; "_s));
        expect(m_app.guard.unexpected.isEmpty(),
               u"unexpected windows: "_s + m_app.guard.unexpected.join(u"; "_s));
        if (!broken.isEmpty())
            QFAIL(qPrintable(u"%1\n%2"_s.arg(broken.join(u"\n"_s), failureContext())));
    }

    QString failureContext() const
    {
        return u"Events %1 to %2 of seed %3 (PLENIX_RANDOM_SEED=%3 repeats the run):\n  %4"_s
            .arg(m_done - int(m_log.size()) + 1)
            .arg(m_done)
            .arg(m_seed)
            .arg(m_log.join(u"\n  "_s));
    }

private Q_SLOTS:
    void initTestCase()
    {
        passOn = qInstallMessageHandler(recordWarnings);
        QVERIFY(m_dir.isValid());
        m_seed = fromEnvironment("PLENIX_RANDOM_SEED", DefaultSeed);
        m_events = int(fromEnvironment("PLENIX_RANDOM_EVENTS", DefaultEvents));
    }

    void init()
    {
        QVERIFY(m_app.open());
        m_headerLine = m_app.table().HeaderLine();
        m_headers.clear();
        for (int col = 0; col < RouteTable::ColCount; ++col)
            m_headers.append(m_app.cell(0, col));
        // Checks the model at once and after every change it reports.
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_app.grid->routeModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        recordedWarnings.clear();
    }

    void cleanup()
    {
        m_tester.reset();
        m_app.close();
    }

    void random_input_keeps_the_grid_whole()
    {
        m_random.seed(m_seed);
        qInfo("Seed %u, %d events; PLENIX_RANDOM_SEED and PLENIX_RANDOM_EVENTS change them.",
              m_seed, m_events);
        replayHint = [this] { return failureContext(); };
        for (m_done = 0; m_done < m_events;) {
            m_log.clear();
            m_app.dialogs.calls.clear();
            for (int i = 0; i < BatchSize && m_done < m_events; ++i) {
                ++m_done;
                randomEvent();
                if (QTest::currentTestFailed()) {
                    qInfo("%s", qPrintable(failureContext()));
                    break;
                }
            }
            if (!QTest::currentTestFailed())
                checkInvariants();
            if (QTest::currentTestFailed())
                break;
        }
        replayHint = {};
    }
};

APPTEST_MAIN(RandomInputTest)
#include "tst_app_random.moc"
