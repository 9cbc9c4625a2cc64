// The Options and Help menus of the main window, chosen through the menu bar
// as a user does: the tooltip switch, Help Topics and About.

#include "apptest.h"
#include "frmabout.h"
#include "helpwindow.h"
#include "version.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString GridTip =
    u" Enter:   Flow, Dia;   Length or Loss Coef;   Qty and Description are optional "_s;
const QString ButtonTip = u" Determines: SP , VP, Vel "_s;
const QString DescriptionTip = u" Route description is optional "_s;
} // namespace

class HelpMenuTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;

    template <typename T> T *control(const QString &name)
    {
        T *found = m_app.window->findChild<T *>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }

    // Opens a menu of the menu bar with Alt and its access key, and presses
    // an item's access key in it, as a user does. A dialog the item opens
    // goes to `answer`.
    bool chooseFromMenu(Qt::Key menuKey, Qt::Key itemKey, apptest::ModalGuard::Handler answer = {})
    {
        m_app.guard.expect([this, itemKey, answer](QWidget *menu) {
            if (answer)
                m_app.guard.expect(answer);
            QTest::keyClick(menu, itemKey);
        });
        QTest::keyClick(m_app.window.get(), menuKey, Qt::AltModifier);
        return QTest::qWaitFor(
            [this] { return !m_app.guard.waiting() && !QApplication::activePopupWidget(); });
    }

    QStringList tooltips()
    {
        return {m_app.grid->toolTip(), control<QPushButton>(u"cmdCalculate"_s)->toolTip(),
                control<QPlainTextEdit>(u"txtDescription"_s)->toolTip()};
    }

private Q_SLOTS:
    void init() { QVERIFY(m_app.open()); }
    void cleanup()
    {
        QVERIFY2(m_app.guard.unexpected.isEmpty(),
                 qPrintable(m_app.guard.unexpected.join(u"; "_s)));
        m_app.close();
    }

    // State: just started, tooltips on. Action: Options > Show ToolTips,
    // three times, through the menu bar. Expected: check mark and all three
    // texts flip together each time, the texts exact, blanks included.
    void show_tooltips_flips_check_mark_and_texts_together()
    {
        QAction *toggle = control<QAction>(u"mnuToggleToolTips"_s);
        const QStringList on{GridTip, ButtonTip, DescriptionTip};
        const QStringList off{QString(), QString(), QString()};
        QVERIFY(toggle->isChecked());
        QCOMPARE(tooltips(), on);

        for (const bool expectOn : {false, true, false}) {
            QVERIFY(chooseFromMenu(Qt::Key_O, Qt::Key_T));
            QCOMPARE(toggle->isChecked(), expectOn);
            QCOMPARE(tooltips(), expectOn ? on : off);
        }
        QVERIFY(m_app.dialogs.calls.isEmpty());
    }

    // Help > Help Topics shows the help file this build was made with: the
    // help window when it is in place, the failure message when it is not.
    void help_topics_shows_the_builds_help_file()
    {
        const QString helpFile = fnHelpFile();
        QVERIFY(!helpFile.isEmpty());
        QVERIFY(chooseFromMenu(Qt::Key_H, Qt::Key_H));

        auto *help = m_app.window->findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
        if (QFileInfo(helpFile).isFile()) {
            QVERIFY(m_app.dialogs.calls.isEmpty());
            QVERIFY(help && help->isVisible());
            QCOMPARE(help->windowModality(), Qt::NonModal);
            QVERIFY(m_app.window->isEnabled());
        } else {
            QCOMPARE(help, nullptr);
            QCOMPARE(m_app.dialogs.calls.size(), 1);
            QCOMPARE(m_app.dialogs.calls.constFirst().kind, u"message"_s);
            QCOMPARE(m_app.dialogs.calls.constFirst().title, u"plenix"_s);
            QVERIFY(m_app.dialogs.calls.constFirst().text.contains(helpFile));
        }
    }

    // State: a route ready to calculate. Action: Help > About; while the
    // dialog is open, Enter and a click on Calculate reach the main window's
    // screen. Expected: the dialog is the modal About box owned by the main
    // window, the main window calculates nothing, and Esc closes the dialog.
    void about_is_modal_over_the_main_window()
    {
        m_app.setCell(1, 2, u"1000"_s);
        m_app.setCell(1, 3, u"12"_s);
        m_app.setCell(1, 4, u"100"_s);
        QPointer<QWidget> seen;
        bool modal = false;
        QString version;
        QWidget *calculate = control<QPushButton>(u"cmdCalculate"_s);
        const auto answer = [&](QWidget *shown) {
            seen = shown;
            modal = shown->isModal() && QApplication::activeModalWidget() == shown;
            if (const auto *label = shown->findChild<QLabel *>(u"lblVersion"_s))
                version = label->text();
            QWindow *mainWindow = m_app.window->windowHandle();
            QTest::keyClick(mainWindow, Qt::Key_Return);
            QTest::mouseClick(mainWindow, Qt::LeftButton, Qt::NoModifier,
                              calculate->mapTo(m_app.window.get(), calculate->rect().center()));
            QTest::keyClick(shown, Qt::Key_Escape);
        };
        QVERIFY(chooseFromMenu(Qt::Key_H, Qt::Key_A, answer));

        QVERIFY(seen.isNull()); // closed and gone
        QVERIFY(modal);
        QCOMPARE(version, u"Version "_s + QStringLiteral(PLENIX_VERSION_STRING));
        QCOMPARE(m_app.cell(1, 7), QString());
        QCOMPARE(m_app.cell(1, 10), QString());
        QVERIFY(m_app.dialogs.calls.isEmpty());

        // Closed, the main window takes input again.
        QTest::mouseClick(calculate, Qt::LeftButton);
        QVERIFY(!m_app.cell(1, 10).isEmpty());
    }

    void about_belongs_to_the_main_window()
    {
        QPointer<QWidget> seen;
        QWidget *owner = nullptr;
        QString className;
        const auto answer = [&](QWidget *shown) {
            seen = shown;
            owner = shown->parentWidget();
            className = QString::fromLatin1(shown->metaObject()->className());
            QCOMPARE(shown->windowTitle(), u"About Plenix"_s);
            QTest::keyClick(shown, Qt::Key_Enter);
        };
        QVERIFY(chooseFromMenu(Qt::Key_H, Qt::Key_A, answer));
        QCOMPARE(className, u"frmAbout"_s);
        QCOMPARE(owner, m_app.window.get());
        QVERIFY(seen.isNull());
    }
};

APPTEST_MAIN(HelpMenuTest)
#include "tst_app_helpmenu.moc"
