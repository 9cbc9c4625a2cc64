// The main window as a whole: start-up state, size and place, controls,
// focus order, the menu tree, tooltips, the proportional layout, closing,
// and the message of a start without a display.
#include "apptest.h"

#include "display.h"

#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {
// The design geometry as shares of the design client area.
struct Share
{
    const char *name;
    double left, top, width, height;
};
constexpr std::array<Share, 5> DesignShares{{
    {"calculateButton", 0.7466, 0.0557, 0.0876, 0.0714},
    {"routeView", 0.0630, 0.2091, 0.9144, 0.7404},
    {"descriptionEdit", 0.2501, 0.0279, 0.4577, 0.1272},
    {"itemsLabel", 0.0128, 0.5157, 0.0404, 0.2108},
    {"descriptionLabel", 0.1659, 0.0418, 0.0748, 0.1132},
}};

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
        value ? qputenv(m_name, *value) : qunsetenv(m_name);
    }
    const char *m_name;
    std::optional<QByteArray> m_saved;
};
} // namespace

class WindowTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    QList<QRect> geometries() const
    {
        QList<QRect> result;
        for (const Share &share : DesignShares)
            result << m_app.control(QLatin1String(share.name))->geometry();
        return result;
    }
    // Every control at its share of the client area, to the pixel, and the
    // neighbours apart.
    void verifyLayout()
    {
        const QSize size = m_app.window->centralWidget()->size();
        for (const Share &share : DesignShares) {
            const QRect g = m_app.control(QLatin1String(share.name))->geometry();
            const auto near = [](int actual, double expected) {
                return qAbs(actual - expected) <= 1.5;
            };
            QVERIFY2(near(g.left(), share.left * size.width()) &&
                         near(g.top(), share.top * size.height()) &&
                         near(g.width(), share.width * size.width()) &&
                         near(g.height(), share.height * size.height()),
                     qPrintable(QLatin1String(share.name) + u" at "_s + QDebug::toString(g) +
                                u" in "_s + QDebug::toString(size)));
        }
        const auto g = [this](const char *name) {
            return m_app.control(QLatin1String(name))->geometry();
        };
        QVERIFY(g("itemsLabel").right() < g("routeView").left());
        QVERIFY(g("descriptionLabel").right() < g("descriptionEdit").left());
        QVERIFY(g("descriptionEdit").right() < g("calculateButton").left());
        QVERIFY(g("descriptionEdit").bottom() < g("routeView").top());
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup() { m_app.finish(); }

    void starts_untitled_and_empty()
    {
        QCOMPARE(m_app.window->windowTitle(), u"Plenix - Untitled"_s);
        QCOMPARE(m_app.cursor(), u"1,1 1,1"_s);
        QCOMPARE(m_app.table().topRow(), 1);
        QCOMPARE(m_app.window->elbowRadiusText(), QString());
        QCOMPARE(m_app.control<QPushButton>(u"calculateButton"_s)->text(), u"Calculate"_s);
        QCOMPARE(m_app.control<QLabel>(u"itemsLabel"_s)->text(), u"Duct\nRoute\nItem\nList"_s);
        QCOMPARE(m_app.control<QLabel>(u"descriptionLabel"_s)->text(), u"Duct Route\nDescription"_s);
        auto *description = m_app.control<QPlainTextEdit>(u"descriptionEdit"_s);
        QCOMPARE(description->toPlainText(), QString());
        QCOMPARE(description->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
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

    // Grid, description box, button and back; Tab never types into a cell
    // or the box, which takes Return as a line break.
    void tab_goes_round_the_controls()
    {
        QVERIFY(m_app.grid->hasFocus());
        auto *description = m_app.control<QPlainTextEdit>(u"descriptionEdit"_s);
        auto *button = m_app.control<QPushButton>(u"calculateButton"_s);
        QTest::keyClick(m_app.grid, Qt::Key_Tab);
        QTRY_VERIFY(description->hasFocus());
        QTest::keyClicks(description, u"first"_s);
        QTest::keyClick(description, Qt::Key_Return);
        QTest::keyClicks(description, u"second"_s);
        QTest::keyClick(description, Qt::Key_Tab);
        QTRY_VERIFY(button->hasFocus());
        QCOMPARE(description->toPlainText(), u"first\nsecond"_s);
        QTest::keyClick(button, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(description->hasFocus());
        QTest::keyClick(description, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(m_app.grid->hasFocus());
        QCOMPARE(m_app.cell(1, 1), QString());
    }

    void menus_hold_their_items_in_order_data()
    {
        QTest::addColumn<QString>("menu");      // empty: the menu bar
        QTest::addColumn<QStringList>("items"); // name=caption=shortcut; "-" is a separator
        const auto row = [](const char *name, const QString &menu, const QString &items) {
            QTest::newRow(name) << menu << items.split(u'|');
        };
        // clang-format off
        row("menu bar", {}, u"fileMenu=&File=|editMenu=&Edit=|viewMenu=&View=|toolsMenu=&Tools=|optionsMenu=&Options=|helpMenu=&Help="_s);
        row("File", u"fileMenu"_s, u"newAction=&New=Ctrl+N|openAction=&Open...=Ctrl+O|closeAction=&Close=|"
            "fileSeparator0=-=|saveAction=&Save=Ctrl+S|saveAsAction=Save &As...=|fileSeparator1=-=|"
            "printAction=&Print=Ctrl+P|printReportAction=Print &Report...=|"
            "exportPdfAction=Export P&DF...=|exportCsvAction=Export CS&V...=|exitAction=E&xit="_s);
        row("Edit", u"editMenu"_s, u"clearDescriptionAction=Clear &Description=|clearListAction=Clear &List=|"
            "insertRowAction=&Insert Row at Selected Cell="_s);
        row("View", u"viewMenu"_s, u"profileAction=&Pressure Profile="_s);
        row("Tools", u"toolsMenu"_s, u"copyDescriptionAction=Send &Description to Clipboard=|"
            "copyListAction=Send &List to Clipboard  (for pasting into other programs)=|"
            "copyFileNameAction=Send &FileName to Clipboard="_s);
        row("Options", u"optionsMenu"_s, u"toolTipsAction=Show &ToolTips="_s);
        row("Help", u"helpMenu"_s, u"helpTopicsAction=&Help Topics=|fileSeparator2=-=|aboutAction=&About ="_s);
        row("fittings pop-up", u"fittingsMenu"_s, u"elbow90Action=Elbow 90 deg=|elbow60Action=Elbow 60 deg=|"
            "elbow45Action=Elbow 45 deg=|elbow30Action=Elbow 30 deg=|fileSeparator3=-=|"
            "branchEntry90Action=Branch Entry 90 deg=|branchEntry60Action=Branch Entry 60 deg=|"
            "branchEntry45Action=Branch Entry 45 deg=|branchEntry30Action=Branch Entry 30 deg="_s);
        row("hint pop-up", u"hintMenu"_s,
            u"hintAction=Select a cell in the Loss Coef column for Insert Fitting feature.="_s);
        // clang-format on
    }

    // The menu bar row also shows that the two pop-ups stand on no menu bar.
    void menus_hold_their_items_in_order()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        const QList<QAction *> actions = menu.isEmpty() ? m_app.window->menuBar()->actions()
                                                        : m_app.control<QMenu>(menu)->actions();
        QStringList actual;
        for (const QAction *item : actions) {
            const QString name = item->menu() ? item->menu()->objectName() : item->objectName();
            actual << name + u'=' + (item->isSeparator() ? u"-"_s : item->text()) + u'=' +
                          item->shortcut().toString(QKeySequence::PortableText);
        }
        QCOMPARE(actual, items);
    }

    // Options > Show ToolTips through the menu bar: the check mark and all
    // three texts, blanks included, flip together each time.
    void show_tooltips_flips_check_mark_and_texts_together()
    {
        auto *toggle = m_app.control<QAction>(u"toolTipsAction"_s);
        const QStringList on{
            u" Enter:   Flow, Dia;   Length or Loss Coef;   Qty and Description are optional "_s,
            u" Determines: SP , VP, Vel "_s, u" Route description is optional "_s};
        const auto tooltips = [this] {
            return QStringList{m_app.grid->toolTip(), m_app.control(u"calculateButton"_s)->toolTip(),
                               m_app.control(u"descriptionEdit"_s)->toolTip()};
        };
        QVERIFY(toggle->isCheckable() && toggle->isChecked());
        QCOMPARE(tooltips(), on);
        for (const bool expectOn : {false, true, false}) {
            QVERIFY(m_app.chooseFromMenu(Qt::Key_O, Qt::Key_T));
            QCOMPARE(toggle->isChecked(), expectOn);
            QCOMPARE(tooltips(), expectOn ? on : QStringList(3));
        }
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    // The client area is what lies below the menu bar.
    void layout_fills_the_client_area_at_start()
    {
        QVERIFY(m_app.window->centralWidget()->geometry().top() >=
                m_app.window->menuBar()->geometry().bottom());
        verifyLayout();
    }

    void resize_and_back_gives_the_same_pixels_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("smaller") << QSize(700, 420);
        QTest::newRow("wider") << QSize(780, 300);
        QTest::newRow("tiny") << QSize(333, 222);
    }

    void resize_and_back_gives_the_same_pixels()
    {
        QFETCH(QSize, size);
        const QSize original = m_app.window->size();
        const QList<QRect> before = geometries();
        for (int round = 0; round < 3; ++round) {
            m_app.window->resize(size);
            QTRY_COMPARE(m_app.window->size(), size);
            verifyLayout();
            m_app.window->resize(original);
            QTRY_COMPARE(m_app.window->size(), original);
            QCOMPARE(geometries(), before);
        }
    }

    void maximise_minimise_and_restore()
    {
        const QRect normal = m_app.window->geometry();
        const QList<QRect> before = geometries();
        m_app.window->showMaximized();
        QTRY_VERIFY(m_app.window->isMaximized());
        QTRY_VERIFY(m_app.window->width() > normal.width());
        verifyLayout();
        m_app.window->showNormal();
        QTRY_COMPARE(m_app.window->geometry(), normal);
        QCOMPARE(geometries(), before);
        m_app.window->showMinimized();
        QTRY_VERIFY(m_app.window->isMinimized());
        m_app.window->showNormal();
        QTRY_VERIFY(!m_app.window->isMinimized());
        QTRY_COMPARE(geometries(), before);
    }

    // A minimised window may report an empty or negative client area: the
    // controls shrink to nothing, never below.
    void empty_client_area_gives_no_negative_sizes()
    {
        const QList<QRect> before = geometries();
        for (const QSize size : {QSize(0, 0), QSize(-160, -40)}) {
            m_app.window->layoutTable().apply(size);
            for (const QRect &g : geometries())
                QCOMPARE(g, QRect(0, 0, 0, 0));
        }
        m_app.window->resize(m_app.window->size() + QSize(1, 1));
        m_app.window->resize(m_app.window->size() - QSize(1, 1));
        QTRY_COMPARE(geometries(), before);
    }

    void exit_and_close_box_close_at_once_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("File > Exit") << true;
        QTest::newRow("close box") << false;
    }

    // With a typed route and another window open: both close, nothing asked.
    void exit_and_close_box_close_at_once()
    {
        QFETCH(bool, byMenu);
        m_app.typeAt(1, 2, u"1000"_s);
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        if (byMenu)
            m_app.choose(u"exitAction"_s);
        else
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
        const std::optional<QByteArray> unset, empty{QByteArray()}, x{":0"}, w{"wayland-0"};
        QTest::newRow("nothing set") << unset << unset << unset << false;
        QTest::newRow("empty DISPLAY") << empty << unset << unset << false;
        QTest::newRow("X display") << x << unset << unset << true;
        QTest::newRow("Wayland") << unset << w << unset << true;
        QTest::newRow("platform chosen")
            << unset << unset << std::optional<QByteArray>("offscreen") << true;
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
        QCOMPARE(isDisplayAvailable(), available);
        const QString message = noDisplayMessage(u"./plenix"_s);
        QVERIFY(message.contains(u"no display"_s));
        QVERIFY(message.contains(u"xvfb-run -s \"-screen 0 1280x1024x24\" ./plenix"_s));
    }
};

APPTEST_MAIN(WindowTest)
#include "tst_app_window.moc"
