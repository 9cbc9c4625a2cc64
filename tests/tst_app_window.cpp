// SPDX-License-Identifier: GPL-3.0-or-later
// The wiring of the main window: each menu command, key and mouse action
// reaches its operation, whose cases the core tests check, and the window
// shows what it did. Modal dialogs are answered by the fake.
#include "apptest.h"
#include "coretest.h"

#include "documentcommands.h"
#include "layout.h"
#include "profilechart.h"

#include <QFile>

#include <QChartView>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolTip>

using namespace Qt::StringLiterals;
using Choice = Dialogs::SaveChoice;

namespace {
const QByteArray OtherBytes = "\t500\x80Other";
} // namespace

class WindowTest final : public QObject
{
    Q_OBJECT

private:
    apptest::WindowFixture m_app;
    std::unique_ptr<QTemporaryDir> m_dir;
    QWidget m_other;  // another window of the program
    QString m_popUp;  // the last pop-up's name
    QPoint m_pointer; // where the last pop-up should open

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        return coretest::writeAll(path(name), bytes) ? path(name) : QString();
    }
    QPlainTextEdit *description() { return m_app.control<QPlainTextEdit>(u"descriptionEdit"_s); }
    static QList<int> numbers(const QString &arg)
    {
        QList<int> found;
        for (const QString &number : arg.section(u'=', 0, 0).split(u','))
            found << number.toInt();
        return found;
    }

    // Runs inputs given as words: "at:R,C", "shift:R,C" and "dclick:R,C"
    // click a cell, "drag:R,C,R,C" drags over cells, "rows:R,R" over row
    // numbers, "cols:C,C" over column headers; "right:R,C" right-clicks a
    // cell, a column header (R 0), a row number (C 0) or "bar" the scroll
    // bar; "key:SEQ" presses keys and "type:X" types into the focused
    // control, "focus:NAME" and "press:NAME" focus or click a control,
    // "menu:M,I" chooses by access keys from the menu bar; "set:R,C=X" and
    // "huge:R,C,N" write a cell directly, "duct" a duct of 1000 cfm, 12 in,
    // 100 ft in row 1; "other" shows a second window, "closeBox" closes the
    // main one, "openFile:NAME" opens as the command line does, and
    // "stopAfter:N" lets a save write N bytes only. The fake
    // dialogs' answers: "files:NAME", "reply:X" ("-" cancels),
    // "choice:C", and "pick:ITEM" for the next pop-up. Any other word
    // chooses the action of that name.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            const QList<int> n = numbers(arg);
            const QKeyCombination key = QKeySequence(arg)[0];
            QWidget *focused = QApplication::focusWidget();
            QWidget *viewport = m_app.grid->viewport();
            if (verb == u"at" || verb == u"shift") {
                m_app.clickCell(n[0], n[1], verb == u"at" ? Qt::NoModifier : Qt::ShiftModifier);
            } else if (verb == u"dclick") {
                QTest::mouseDClick(viewport, Qt::LeftButton, {}, m_app.cellPoint(n[0], n[1]));
            } else if (verb == u"drag" || verb == u"rows" || verb == u"cols") {
                const bool cells = verb == u"drag", columns = verb == u"cols";
                QWidget *target = cells ? viewport : m_app.header(columns);
                const auto at = [&](int i) {
                    return cells ? m_app.cellPoint(n[2 * i], n[2 * i + 1])
                                 : m_app.headerPoint(columns, n[i]);
                };
                QTest::mousePress(target, Qt::LeftButton, {}, at(0));
                QTest::mouseMove(target, at(1));
                QTest::mouseRelease(target, Qt::LeftButton, {}, at(1));
            } else if (verb == u"right" && arg == u"bar") {
                QWidget *bar = m_app.grid->verticalScrollBar();
                m_pointer = bar->mapToGlobal(bar->rect().center());
                QContextMenuEvent press(QContextMenuEvent::Mouse, bar->rect().center(), m_pointer);
                QApplication::sendEvent(bar, &press);
            } else if (verb == u"right") {
                QWidget *target = n[0] && n[1] ? viewport : m_app.header(n[0] == 0);
                const QPoint at = n[0] && n[1] ? m_app.cellPoint(n[0], n[1])
                                               : m_app.headerPoint(n[0] == 0, n[0] + n[1]);
                m_pointer = target->mapToGlobal(at);
                QTest::mouseClick(target, Qt::RightButton, {}, at);
            } else if (verb == u"key") {
                QTest::keyClick(focused, key.key(), key.keyboardModifiers());
            } else if (verb == u"type") {
                for (const QChar ch : arg)
                    QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, ch, {});
            } else if (verb == u"focus") {
                m_app.control(arg)->setFocus();
            } else if (verb == u"press") {
                QTest::mouseClick(m_app.control(arg), Qt::LeftButton);
            } else if (verb == u"menu") {
                QVERIFY(m_app.chooseFromMenu(Qt::Key(arg[0].unicode()), Qt::Key(arg[2].unicode())));
            } else if (verb == u"set") {
                m_app.setCell(n[0], n[1], arg.section(u'=', 1));
            } else if (verb == u"huge") {
                m_app.setCell(n[0], n[1], QString(n[2], u'7'));
            } else if (verb == u"duct") {
                run(u"set:1,2=1000 set:1,3=12 set:1,4=100"_s);
            } else if (verb == u"other") {
                m_other.show();
                m_app.window->activateWindow();
            } else if (verb == u"closeBox") {
                m_app.window->close();
            } else if (verb == u"openFile") {
                m_app.window->openFile(path(arg));
            } else if (verb == u"files") {
                m_app.dialogs.fileNames << path(arg);
            } else if (verb == u"reply") {
                m_app.dialogs.replies << (arg == u"-" ? std::nullopt : std::optional(arg));
            } else if (verb == u"choice") {
                m_app.dialogs.saveChoices << (arg == u"Save"      ? Choice::Save
                                              : arg == u"Discard" ? Choice::Discard
                                                                  : Choice::Cancel);
            } else if (verb == u"stopAfter") {
                m_app.window->documents().setWriteStep([n](QIODevice &file, QByteArrayView bytes) {
                    return file.write(bytes.data(), qMin(bytes.size(), qint64{n[0]}));
                });
            } else if (verb == u"pick") {
                pick(arg);
            } else {
                if (step == u"print" && !QPrinterInfo::defaultPrinter().isNull())
                    QSKIP("this machine has a default printer; printing on it is left to a person");
                m_app.choose(step + u"Action"_s);
            }
        }
    }

    // The next pop-up is answered with the item named, and noted with where
    // it opened; the keys open it below the current cell.
    void pick(const QString &item)
    {
        const plenix::RouteTable &t = m_app.table();
        m_pointer = m_app.grid->viewport()->mapToGlobal(
            m_app.grid->visualRect(m_app.index(t.currentRow(), t.currentCol())).bottomLeft());
        m_app.guard.expect([this, item](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            m_popUp = menu ? menu->objectName() : u"not a menu"_s;
            const QRect at = shown->geometry();
            if (at.top() != m_pointer.y() || at.left() > m_pointer.x() ||
                at.right() < m_pointer.x())
                m_popUp += u" away from the pointer"_s;
            QAction *action = menu ? menu->findChild<QAction *>(item) : nullptr;
            if (!action)
                return shown->close(), void();
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
    }

    // What the window shows, by name: "cell:R,C" as the view shows it,
    // "look:R,C" its marks, "tip:R,C" its tooltip; "cursor", "calls" (the
    // dialogs asked, in order), "clipboard", "title", "description",
    // "focus", "tooltips" (how many of the three controls have one),
    // "popup", "status" (whether the status bar says why), "saved"
    // (whether saved.txt was written) and "windows" (how many are shown).
    QString probe(const QString &name)
    {
        const QList<int> n = numbers(name.section(u':', 1));
        if (name.startsWith(u"cell:"))
            return m_app.shown(n[0], n[1]);
        if (name.startsWith(u"look:")) {
            const QModelIndex cell = m_app.index(n[0], n[1]);
            const int stale = int(cell.data(Qt::ForegroundRole).isValid()) +
                              int(cell.data(Qt::FontRole).value<QFont>().italic()) +
                              int(!cell.data(Qt::ToolTipRole).toString().isEmpty());
            const bool tinted = cell.data(Qt::BackgroundRole).isValid();
            return tinted ? u"doubtful"_s : stale == 3 ? u"stale"_s : u"plain"_s.repeated(!stale);
        }
        if (name.startsWith(u"tip:")) {
            const QPoint at = m_app.cellPoint(n[0], n[1]);
            QHelpEvent help(QEvent::ToolTip, at, m_app.grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(m_app.grid->viewport(), &help);
            if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }))
                return u"none"_s;
            const QString tip = QToolTip::text();
            if (tip.size() > 100)
                return u"%1 characters: %2"_s.arg(tip.size()).arg(tip.left(4) + tip.right(1));
            return tip == m_app.grid->toolTip() ? u"hint"_s : tip;
        }
        if (name == u"calls") {
            QStringList calls;
            for (const apptest::DialogCall &call : std::as_const(m_app.dialogs.calls)) {
                const QString asked =
                    call.kind.startsWith(u"ask")      ? (call.title + u' ' + call.text).trimmed()
                    : call.kind.endsWith(u"FileName") ? QFileInfo(call.initial).fileName()
                    : call.kind == u"printPreview"    ? call.title
                                                      : QString();
                calls << (call.kind + u' ' + asked).trimmed();
            }
            return calls.join(u',');
        }
        if (name == u"clipboard" || name == u"messages") {
            const QString text = name == u"messages" ? m_app.dialogs.messages().join(u'|')
                                                     : QGuiApplication::clipboard()->text();
            return QString(text)
                .replace(toQString(m_app.table().headerLine()), u"<header>"_s)
                .replace(m_dir->path(), u"<dir>"_s);
        }
        if (name == u"profile") {
            const auto *chart = qobject_cast<const ProfileChart *>(
                m_app.control<QChartView>(u"profileView"_s)->chart());
            const bool shown = m_app.control(u"profilePanel"_s)->isVisible();
            return u"%1, %2 point"_s.arg(shown ? u"shown" : u"hidden")
                       .arg(chart->profile().points.size()) +
                   u", out of date"_s.repeated(chart->isOutOfDate());
        }
        if (name == u"tooltips") {
            const QStringList names{u"routeView"_s, u"calculateButton"_s, u"descriptionEdit"_s};
            const auto shown = std::ranges::count_if(
                names, [this](const QString &c) { return !m_app.control(c)->toolTip().isEmpty(); });
            return u"%1 %2"_s.arg(shown).arg(
                m_app.control<QAction>(u"toolTipsAction"_s)->isChecked() ? u"on" : u"off");
        }
        const QHash<QString, std::function<QString()>> others{
            {u"cursor"_s, [this] { return m_app.cursor(); }},
            {u"title"_s, [this] { return m_app.title(); }},
            {u"description"_s, [this] { return description()->toPlainText(); }},
            {u"focus"_s, [] { return QApplication::focusWidget()->objectName(); }},
            {u"popup"_s, [this] { return m_popUp; }},
            {u"status"_s,
             [this] {
                 return u"said"_s.repeated(!m_app.window->statusBar()->currentMessage().isEmpty());
             }},
            {u"saved"_s,
             [this] { return QFile::exists(path(u"saved.txt"_s)) ? u"yes"_s : u"no"_s; }},
            {u"other"_s,
             [this] {
                 return coretest::readAll(path(u"other.txt"_s)) == OtherBytes ? u"unchanged"_s
                                                                              : u"changed"_s;
             }},
            {u"entries"_s,
             [this] {
                 return QDir(m_dir->path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                     .join(u' ');
             }},
            {u"windows"_s,
             [this] {
                 return QString::number(int(m_app.window->isVisible()) + int(m_other.isVisible()));
             }},
        };
        if (!others.contains(name))
            qFatal("no probe %s", qPrintable(name));
        return others[name]();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings(QSettings::UserScope, u"plenix"_s, u"plenix"_s).clear();
        QVERIFY(!write(u"other.txt"_s, OtherBytes).isEmpty());
        QVERIFY(!write(u"letter.txt"_s, "Dear Sir,\r\nthe ducts\t are\rready.").isEmpty());
        m_popUp = u"none"_s;
        QVERIFY(m_app.open());
        m_app.dialogs.previewPdf = path(u"preview.pdf"_s);
    }
    void cleanup()
    {
        QToolTip::hideText();
        m_other.hide();
        m_app.finish();
    }

    void inputs_reach_their_operations_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected"); // probe=value, joined by ';'
        for (const std::vector<std::string> &c : coretest::caseFile("window-inputs.cases")) {
            QTest::newRow(c.at(0).c_str())
                << QString::fromStdString(c.at(1)) << QString::fromStdString(c.at(2));
        }
    }

    void inputs_reach_their_operations()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        run(steps);
        QStringList seen;
        for (const QString &item : expected.split(u';')) {
            const QString name = item.section(u'=', 0, 0);
            seen << name + u'=' + probe(name);
        }
        QCOMPARE(seen.join(u';'), expected);
    }

    // Every byte value, in a cell and in the description, opens and saves
    // back unchanged through the window's text codec and description box.
    void every_byte_value_opens_and_saves_back()
    {
        QByteArray content;
        for (int byte = 0x81; byte < 256; ++byte)
            content += char(byte);
        content += "\t\t\t\t\t\t\t\t\t\x80";
        for (int byte = 0; byte < 256; ++byte)
            content += byte == '\r' ? "\r\n" : QByteArray(byte == '\n' ? 0 : 1, char(byte));
        QVERIFY(m_app.window->openFile(write(u"bytes.txt"_s, content)));
        m_app.choose(u"saveAction"_s);
        QCOMPARE(probe(u"calls"_s), QString());
        QCOMPARE(coretest::readAll(path(u"bytes.txt"_s)), content);
    }

    // The view hands the core its measured size: Shift+Page Down stretches
    // the selection to the last wholly shown row, and a drag held past the
    // edge goes on scrolling until the button is let go.
    void view_measures_for_the_core()
    {
        QWidget *viewport = m_app.grid->viewport();
        m_app.clickCell(1, 2);
        QTest::keyClick(m_app.grid, Qt::Key_PageDown, Qt::ShiftModifier);
        const int end = m_app.table().selectionRow();
        QVERIFY(viewport->rect().contains(m_app.grid->visualRect(m_app.index(end, 2))));
        QVERIFY(!viewport->rect().contains(m_app.grid->visualRect(m_app.index(end + 1, 2))));
        const QPoint from = m_app.cellPoint(2, 2), past(from.x(), viewport->height() + 5);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, past);
        const int first = m_app.table().topRow();
        QTRY_VERIFY(m_app.table().topRow() >= first + 2);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, past);
        const int stopped = m_app.table().topRow();
        QTest::qWait(200);
        QCOMPARE(m_app.table().topRow(), stopped);
    }

    // Every control where the core's layout puts it, at start and at
    // another size; a client area of no size shrinks them to nothing.
    void layout_follows_the_client_area()
    {
        for (const QSize size : {m_app.window->size(), QSize(333, 222)}) {
            m_app.window->resize(size);
            QTRY_COMPARE(m_app.window->size(), size);
            const QSize client = m_app.window->centralWidget()->size();
            for (const plenix::DesignControl &design : plenix::DesignControls) {
                const plenix::Geometry g = plenix::geometryFromRatios(
                    plenix::ratiosFromGeometry(design.geometry, plenix::DesignClientWidth,
                                               plenix::DesignClientHeight),
                    float(client.width()), float(client.height()));
                const QRect shown = m_app.control(QString::fromLatin1(design.name))->geometry();
                const auto near = [](int pixels, float expected) {
                    return qAbs(pixels - double(expected)) <= 1;
                };
                QVERIFY(near(shown.x(), g.left) && near(shown.y(), g.top) &&
                        near(shown.width(), g.width) && near(shown.height(), g.height));
            }
        }
        m_app.window->layoutTable().apply(QSize(-160, -40));
        QVERIFY(m_app.control(u"routeView"_s)->geometry().isEmpty());
    }

    // Most recent first, eight at most; a missing one is dropped when
    // chosen, with a message; an existing one opens.
    void recent_routes()
    {
        for (int i = 1; i <= 10; ++i)
            QVERIFY(m_app.window->openFile(write(u"r%1.txt"_s.arg(i), "\t500\x80")));
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
        QCOMPARE(probe(u"calls"_s), u"message"_s);
        m_app.choose(u"recentAction7"_s);
        QCOMPARE(m_app.title(), u"Plenix - r3"_s);
        QCOMPARE(captions(), u"&1 r3.txt &2 r10.txt &3 r8.txt &4 r7.txt &5 r6.txt &6 r5.txt "
                             "&7 r4.txt"_s);
    }
};

APPTEST_MAIN(WindowTest)
#include "tst_app_window.moc"
