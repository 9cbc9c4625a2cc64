// The main window as it starts and as it closes: caption, size and place,
// controls, the menu tree, tooltips, focus order, and closing without a
// question. Also the message of a start on a machine with no display.
#include "apptest.h"

#include "display.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {
const QString GridTip =
    u" Enter:   Flow, Dia;   Length or Loss Coef;   Qty and Description are optional "_s;
const QString ButtonTip = u" Determines: SP , VP, Vel "_s;
const QString DescriptionTip = u" Route description is optional "_s;

// Sets or removes an environment variable for one scope.
class EnvironmentValue final
{
public:
    EnvironmentValue(const char *name, const std::optional<QByteArray> &value)
        : m_name(name),
          m_saved(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        set(value);
    }
    ~EnvironmentValue() { set(m_saved); }
    Q_DISABLE_COPY_MOVE(EnvironmentValue)

private:
    void set(const std::optional<QByteArray> &value)
    {
        if (value)
            qputenv(m_name, *value);
        else
            qunsetenv(m_name);
    }
    const char *m_name;
    std::optional<QByteArray> m_saved;
};
} // namespace

class StartupTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    template <typename T> T *control(const QString &name)
    {
        return m_app.window->findChild<T *>(name);
    }
    QAction *action(const QString &name) { return control<QAction>(name); }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    void caption_and_empty_route()
    {
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Untitled"_s);
        QCOMPARE(m_app.window->document().CaptionPrefix, std::string("Plenix - "));
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
        QCOMPARE(m_app.table().topRow(), 1);
        QCOMPARE(m_app.window->elbowRadiusText(), QString());
        QCOMPARE(control<QPlainTextEdit>(u"txtDescription"_s)->toPlainText(), QString());
    }

    // 82% of the screen's width and 70% of its height; the top-left corner
    // at 14.76% and 21% of them.
    void window_size_and_place_follow_the_screen()
    {
        const QRect screen = m_app.window->screen()->geometry();
        const QRect window = m_app.window->geometry();
        QVERIFY(qAbs(window.width() - screen.width() * 0.82) <= 1);
        QVERIFY(qAbs(window.height() - screen.height() * 0.70) <= 1);
        QVERIFY(qAbs(window.x() - screen.x() - screen.width() * 0.1476) <= 2);
        QVERIFY(qAbs(window.y() - screen.y() - screen.height() * 0.21) <= 2);
    }

    void controls_and_labels()
    {
        QCOMPARE(control<QPushButton>(u"cmdCalculate"_s)->text(), u"Calculate"_s);
        // One word a line beside the grid, two lines beside the description.
        QCOMPARE(control<QLabel>(u"lblItems"_s)->text().split(u'\n'),
                 (QStringList{u"Duct"_s, u"Route"_s, u"Item"_s, u"List"_s}));
        QCOMPARE(control<QLabel>(u"lblDescription"_s)->text().split(u'\n'),
                 (QStringList{u"Duct Route"_s, u"Description"_s}));
        auto *description = control<QPlainTextEdit>(u"txtDescription"_s);
        QCOMPARE(description->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        description->setFocus();
        QTest::keyClicks(description, u"first"_s);
        QTest::keyClick(description, Qt::Key_Return);
        QTest::keyClicks(description, u"second"_s);
        QCOMPARE(description->toPlainText(), u"first\nsecond"_s);
        // The labels stand left of what they name.
        QVERIFY(control<QLabel>(u"lblItems"_s)->geometry().right() < m_app.grid->geometry().left());
        QVERIFY(control<QLabel>(u"lblDescription"_s)->geometry().right() <
                description->geometry().left());
    }

    void grid_has_the_focus_and_tab_goes_round()
    {
        QVERIFY(m_app.grid->hasFocus());
        auto *description = control<QPlainTextEdit>(u"txtDescription"_s);
        auto *button = control<QPushButton>(u"cmdCalculate"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Tab);
        QTRY_VERIFY(description->hasFocus());
        // Tab leaves the description box instead of typing a TAB into it.
        QTest::keyClick(description, Qt::Key_Tab);
        QTRY_VERIFY(button->hasFocus());
        QCOMPARE(description->toPlainText(), QString());
        QTest::keyClick(button, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(description->hasFocus());
        QTest::keyClick(description, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(m_app.grid->hasFocus());
        // No cell was typed into on the way.
        QCOMPARE(m_app.cell(1, 1), QString());
    }

    void menu_bar_shows_five_menus()
    {
        QStringList titles;
        QStringList names;
        const QList<QAction *> actions = m_app.window->menuBar()->actions();
        for (const QAction *menu : actions) {
            titles << menu->text();
            names << menu->menu()->objectName();
        }
        QCOMPARE(titles,
                 (QStringList{u"&File"_s, u"&Edit"_s, u"&Tools"_s, u"&Options"_s, u"&Help"_s}));
        QCOMPARE(names, (QStringList{u"mnuFile"_s, u"mnuEdit"_s, u"mnuTools"_s, u"mnuOptions"_s,
                                     u"mnuHelp"_s}));
    }

    void menus_hold_their_items_in_order_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items"); // name=caption=shortcut; "-" is a separator
        QTest::newRow("File") << u"mnuFile"_s << QStringList{u"mnuFileNew=&New=Ctrl+N"_s,
                                                             u"mnuFileOpen=&Open...=Ctrl+O"_s,
                                                             u"mnuFileClose=&Close="_s,
                                                             u"mnuFileBar0=-="_s,
                                                             u"mnuFileSave=&Save=Ctrl+S"_s,
                                                             u"mnuFileSaveAs=Save &As...="_s,
                                                             u"mnuFileBar1=-="_s,
                                                             u"mnuPrint=&Print=Ctrl+P"_s,
                                                             u"mnuFileExit=E&xit="_s};
        QTest::newRow("Edit") << u"mnuEdit"_s
                              << QStringList{u"mnuClearDescription=Clear &Description="_s,
                                             u"mnuClearList=Clear &List="_s,
                                             u"mnuInsertRow=&Insert Row at Selected Cell="_s};
        QTest::newRow("Tools")
            << u"mnuTools"_s
            << QStringList{
                   u"mnuToolsDescriptionClipboard=Send &Description to Clipboard="_s,
                   u"mnuToolsListClipboard=Send &List to Clipboard  (for pasting into other programs)="_s,
                   u"mnuToolsFileNameClipboard=Send &FileName to Clipboard="_s};
        QTest::newRow("Options") << u"mnuOptions"_s
                                 << QStringList{u"mnuToggleToolTips=Show &ToolTips="_s};
        QTest::newRow("Help") << u"mnuHelp"_s
                              << QStringList{u"mnuHelpTopics=&Help Topics="_s, u"mnuFileBar2=-="_s,
                                             u"mnuHelpAbout=&About ="_s};
        QTest::newRow("fittings pop-up") << u"mnuPopUp"_s
                                         << QStringList{u"mnuElbow90=Elbow 90 deg="_s,
                                                        u"mnuElbow60=Elbow 60 deg="_s,
                                                        u"mnuElbow45=Elbow 45 deg="_s,
                                                        u"mnuElbow30=Elbow 30 deg="_s,
                                                        u"mnuFileBar3=-="_s,
                                                        u"mnuBranchEntry90=Branch Entry 90 deg="_s,
                                                        u"mnuBranchEntry60=Branch Entry 60 deg="_s,
                                                        u"mnuBranchEntry45=Branch Entry 45 deg="_s,
                                                        u"mnuBranchEntry30=Branch Entry 30 deg="_s};
        QTest::newRow("hint pop-up")
            << u"mnuPopup2"_s
            << QStringList{
                   u"mnuMsg=Select a cell in the Loss Coef column for Insert Fitting feature.="_s};
    }

    void menus_hold_their_items_in_order()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        const auto *shown = control<QMenu>(menu);
        QVERIFY(shown);
        QStringList actual;
        const QList<QAction *> actions = shown->actions();
        for (const QAction *item : actions) {
            actual << item->objectName() + u'=' + (item->isSeparator() ? u"-"_s : item->text()) +
                          u'=' + item->shortcut().toString(QKeySequence::PortableText);
        }
        QCOMPARE(actual, items);
    }

    void popups_stand_on_no_menu_bar()
    {
        QCOMPARE(control<QMenu>(u"mnuPopUp"_s)->title(), u"MyPopupMenu"_s);
        QCOMPARE(control<QMenu>(u"mnuPopup2"_s)->title(), u"MyPopupMenu2"_s);
        const QList<QAction *> bar = m_app.window->menuBar()->actions();
        for (const QAction *menu : bar) {
            QVERIFY(menu->menu() != control<QMenu>(u"mnuPopUp"_s));
            QVERIFY(menu->menu() != control<QMenu>(u"mnuPopup2"_s));
        }
    }

    void tooltips_on_at_start_and_switched_by_the_menu()
    {
        QAction *toggle = action(u"mnuToggleToolTips"_s);
        QVERIFY(toggle->isCheckable());
        QVERIFY(toggle->isChecked());
        QCOMPARE(m_app.grid->toolTip(), GridTip);
        QCOMPARE(control<QPushButton>(u"cmdCalculate"_s)->toolTip(), ButtonTip);
        QCOMPARE(control<QPlainTextEdit>(u"txtDescription"_s)->toolTip(), DescriptionTip);

        toggle->trigger();
        QVERIFY(!toggle->isChecked());
        QCOMPARE(m_app.grid->toolTip(), QString());
        QCOMPARE(control<QPushButton>(u"cmdCalculate"_s)->toolTip(), QString());
        QCOMPARE(control<QPlainTextEdit>(u"txtDescription"_s)->toolTip(), QString());

        toggle->trigger();
        QVERIFY(toggle->isChecked());
        QCOMPARE(m_app.grid->toolTip(), GridTip);
        QCOMPARE(control<QPushButton>(u"cmdCalculate"_s)->toolTip(), ButtonTip);
        QCOMPARE(control<QPlainTextEdit>(u"txtDescription"_s)->toolTip(), DescriptionTip);
    }

    // State: a typed route and another window open. Action: File > Exit.
    // Expected: both windows close at once; nothing is asked.
    void exit_closes_at_once_with_other_windows()
    {
        m_app.typeAt(1, 2, u"1000"_s);
        QWidget other;
        other.setWindowTitle(u"another window"_s);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        action(u"mnuFileExit"_s)->trigger();
        QVERIFY(!m_app.window->isVisible());
        QVERIFY(!other.isVisible());
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    void close_box_closes_like_exit()
    {
        m_app.typeAt(1, 2, u"1000"_s);
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QVERIFY(m_app.window->close());
        QVERIFY(!m_app.window->isVisible());
        QVERIFY(!other.isVisible());
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    void no_display_is_reported_plainly_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("display");
        QTest::addColumn<std::optional<QByteArray>>("wayland");
        QTest::addColumn<std::optional<QByteArray>>("platform");
        QTest::addColumn<bool>("available");
        const std::optional<QByteArray> unset;
        QTest::newRow("nothing set") << unset << unset << unset << false;
        QTest::newRow("empty DISPLAY") << std::optional(QByteArray()) << unset << unset << false;
        QTest::newRow("X display") << std::optional(QByteArray(":0")) << unset << unset << true;
        QTest::newRow("Wayland") << unset << std::optional(QByteArray("wayland-0")) << unset
                                 << true;
        QTest::newRow("platform chosen")
            << unset << unset << std::optional(QByteArray("offscreen")) << true;
    }

    void no_display_is_reported_plainly()
    {
        QFETCH(std::optional<QByteArray>, display);
        QFETCH(std::optional<QByteArray>, wayland);
        QFETCH(std::optional<QByteArray>, platform);
        QFETCH(bool, available);
        const EnvironmentValue x("DISPLAY", display);
        const EnvironmentValue w("WAYLAND_DISPLAY", wayland);
        const EnvironmentValue p("QT_QPA_PLATFORM", platform);
        QCOMPARE(fnDisplayAvailable(), available);
        const QString message = fnNoDisplayMessage(u"./build/src/app/plenix"_s);
        QVERIFY(message.contains(u"no display"_s));
        QVERIFY(
            message.contains(u"xvfb-run -s \"-screen 0 1280x1024x24\" ./build/src/app/plenix"_s));
    }
};

APPTEST_MAIN(StartupTest)
#include "tst_app_startup.moc"
