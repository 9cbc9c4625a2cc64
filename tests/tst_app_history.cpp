// SPDX-License-Identifier: GPL-3.0-or-later
// Never losing typed work: the question before each command that discards
// unsaved changes, undo and redo of each kind of change through the window's
// keys and menus, the unsaved mark in the caption, and the recent routes.
// What an edit records and restores is tested on the core's recorder.
#include "apptest.h"

#include "documentcommands.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using Choice = Dialogs::SaveChoice;

namespace {
// A route whose first row is calculated and whose second is not.
const QByteArray Sample = "\t1000\t12\t100\t\t\t0.21\t0.1\t1273\t0.21\r\t\t\t\t\t0.28\x80Main";
const QByteArray Other = "\t500\x80Other";
} // namespace

class HistoryTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                   ? file.fileName()
                   : QString();
    }
    QPlainTextEdit *description() { return m_app.control<QPlainTextEdit>(u"descriptionEdit"_s); }
    QUndoStack &stack() { return m_app.window->documents().history().stack(); }
    // Every data cell and the description, as the window shows them.
    QString state()
    {
        QString text = description()->toPlainText();
        for (int row = 1; row <= plenix::RouteTable::DataRows; ++row) {
            for (int col = 1; col <= plenix::RouteTable::DataCols; ++col)
                text += u'|' + m_app.shown(row, col);
        }
        return text;
    }
    bool marked() { return m_app.title().endsWith(u'*'); }
    // Runs changes given as words: "at:R,C" clicks a cell, "type:X" types
    // into the grid, "describe:X" into the description box, "enter" presses
    // Return in the grid, and any other word chooses the action of that name.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString arg = step.section(u':', 1);
            if (step.startsWith(u"at:"))
                m_app.clickCell(arg.section(u',', 0, 0).toInt(), arg.section(u',', 1).toInt());
            else if (step.startsWith(u"type:"))
                QTest::keyClicks(m_app.grid, arg);
            else if (step.startsWith(u"describe:"))
                description()->setFocus(), QTest::keyClicks(description(), arg);
            else if (step == u"enter")
                QTest::keyClick(m_app.grid, Qt::Key_Return);
            else
                m_app.choose(step + u"Action"_s);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings(QSettings::UserScope, u"plenix"_s, u"plenix"_s).clear();
        QVERIFY(m_app.open());
    }
    void cleanup() { m_app.finish(); }

    void each_path_asks_before_discarding_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("choice"); // a Choice, or -1: Save, which fails
        const QStringList commands{u"new"_s,  u"open"_s,     u"close"_s,
                                   u"exit"_s, u"closeBox"_s, u"commandLine"_s};
        const QList<std::pair<const char *, int>> choices{{"Save", int(Choice::Save)},
                                                          {"Discard", int(Choice::Discard)},
                                                          {"Cancel", int(Choice::Cancel)},
                                                          {"Save fails", -1}};
        for (const QString &command : commands) {
            for (const auto &[name, choice] : choices)
                QTest::addRow("%s, %s", qPrintable(command), name) << command << choice;
        }
    }

    // Typed work in an untitled route: Save goes through Save As and the
    // command goes on only once the file is written; Discard goes on; Cancel
    // and a failed Save leave everything as it was.
    void each_path_asks_before_discarding()
    {
        QFETCH(QString, command);
        QFETCH(int, choice);
        const QString other = write(u"other.txt"_s, Other);
        const QString saved = path(choice < 0 ? u"missing/saved.txt"_s : u"saved.txt"_s);
        run(u"at:1,2 type:1000"_s);
        const QString typed = state();
        QVERIFY(marked());
        m_app.dialogs.saveChoices = {choice < 0 ? Choice::Save : Choice(choice)};
        m_app.dialogs.fileNames = {other};
        if (choice == int(Choice::Save) || choice < 0)
            m_app.dialogs.fileNames.prepend(saved);

        if (command == u"closeBox")
            m_app.window->close();
        else if (command == u"commandLine")
            m_app.window->openFile(other);
        else
            m_app.choose(command + u"Action"_s);

        QCOMPARE(m_app.dialogs.calls.first().kind, u"askSaveChanges"_s);
        QCOMPARE(m_app.dialogs.calls.first().text, u"Untitled"_s);
        const bool goesOn = choice == int(Choice::Save) || choice == int(Choice::Discard);
        QCOMPARE(m_app.dialogs.messages().size(), choice < 0 ? 1 : 0);
        QCOMPARE(QFile::exists(saved), choice == int(Choice::Save));
        if (!goesOn) {
            QVERIFY(m_app.window->isVisible());
            QCOMPARE(state(), typed);
            QVERIFY(marked());
        } else if (command == u"exit" || command == u"closeBox") {
            QVERIFY(!m_app.window->isVisible());
        } else {
            const bool opens = command == u"open" || command == u"commandLine";
            QCOMPARE(m_app.cell(1, 2), opens ? u"500"_s : QString());
            QVERIFY(!marked() && !stack().canUndo());
        }
    }

    // The real box: its text and buttons, and Discard goes on.
    void real_box_asks_with_save_discard_and_cancel()
    {
        run(u"at:1,2 type:7"_s);
        Dialogs::setInstance(nullptr);
        QString seen;
        m_app.guard.expect([&seen](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            if (!box)
                return shown->close(), void();
            QStringList buttons;
            for (QAbstractButton *button : box->buttons())
                buttons << QString::number(box->standardButton(button), 16);
            buttons.sort();
            seen = box->text() + u'|' + buttons.join(u'|');
            box->button(QMessageBox::Discard)->click();
        });
        m_app.choose(u"newAction"_s);
        Dialogs::setInstance(&m_app.dialogs);
        QCOMPARE(seen, u"Save changes to Untitled before closing?|400000|800|800000"_s);
        QCOMPARE(m_app.cell(1, 2), QString());
    }

    void undo_and_redo_each_kind_of_change_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("steps");
        QTest::newRow("typing in a cell") << u"at:3,3 type:14"_s << 1;
        QTest::newRow("Clear Description") << u"clearDescription"_s << 1;
        QTest::newRow("Calculate, twice") << u"enter enter"_s << 1;
        QTest::newRow("typing in the description") << u"describe:ab"_s << 1;
        QTest::newRow("description after cell") << u"at:3,3 type:1 describe:x"_s << 2;
    }

    // From the state last opened, each change, then undo all of it by the
    // keys, back to the opened texts and no mark, and redo it by both
    // shortcuts. Open and New start a fresh history.
    void undo_and_redo_each_kind_of_change()
    {
        QFETCH(QString, change);
        QFETCH(int, steps);
        QVERIFY(m_app.window->openFile(write(u"sample.txt"_s, Sample)));
        const QString opened = state();
        run(change);
        const QString changed = state();
        QVERIFY(changed != opened && marked());
        QCOMPARE(stack().count(), steps);

        QWidget *focused = QApplication::focusWidget();
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(state(), opened);
        QVERIFY(!marked() && !m_app.control<QAction>(u"undoAction"_s)->isEnabled());
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(focused, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(state(), changed);
        QVERIFY(marked());
        m_app.choose(u"undoAction"_s);
        QTest::keyClick(focused, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(state(), changed);

        m_app.dialogs.saveChoices = {Choice::Discard};
        m_app.choose(u"newAction"_s);
        QVERIFY(!stack().canUndo() && !stack().canRedo() && !marked());
    }

    // Most recent first, eight at most; a missing one is dropped when
    // chosen, with a message; an existing one opens.
    void recent_routes()
    {
        for (int i = 1; i <= 10; ++i)
            QVERIFY(m_app.window->openFile(write(u"r%1.txt"_s.arg(i), Other)));
        QFile::remove(path(u"r9.txt"_s));
        auto *menu = m_app.control<QMenu>(u"recentMenu"_s);
        const auto captions = [menu] {
            QStringList texts;
            for (const QAction *item : menu->actions())
                texts << item->text();
            return texts.join(u' ');
        };
        QCOMPARE(captions(), u"&1 r10.txt &2 r9.txt &3 r8.txt &4 r7.txt &5 r6.txt &6 r5.txt "
                             "&7 r4.txt &8 r3.txt"_s);
        m_app.choose(u"recentAction2"_s);
        QCOMPARE(m_app.dialogs.messages().size(), 1);
        QVERIFY(m_app.dialogs.messages().first().contains(path(u"r9.txt"_s)));
        QCOMPARE(captions(), u"&1 r10.txt &2 r8.txt &3 r7.txt &4 r6.txt &5 r5.txt &6 r4.txt "
                             "&7 r3.txt"_s);
        m_app.choose(u"recentAction7"_s);
        QCOMPARE(m_app.title(), u"Plenix - r3"_s);
        QVERIFY(captions().startsWith(u"&1 r3.txt &2 r10.txt"_s));
    }
};

APPTEST_MAIN(HistoryTest)
#include "tst_app_history.moc"
