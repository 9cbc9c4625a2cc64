// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the window tests. They drive a real main window on Qt's
// offscreen platform with synthetic keys and mouse events. Dialogs go
// through a fake that records each call and gives scripted answers; a guard
// polls for modal dialogs and pop-up menus, hands the expected ones to the
// test and closes (and reports) any other, so that a test fails instead of
// hanging.
#include "dialogs.h"
#include "mainwindow.h"
#include "routeview.h"
#include "textcodec.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPrinter>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace apptest {

using namespace Qt::StringLiterals;

// Which Dialogs function was called (its name as kind) and with what; an
// elbow's angle is its title and the diameter its text.
struct DialogCall
{
    QString kind, title, text, initial;
};

class FakeDialogs final : public Dialogs
{
public:
    QList<DialogCall> calls;
    // Scripted answers, taken in order; none left, or nothing, is Cancel.
    QList<std::optional<QString>> replies; // to askElbowRadius
    QStringList fileNames;
    QList<SaveChoice> saveChoices;
    QString previewPdf; // the print preview's pages are painted into it

    // clang-format off
    void information(QWidget *, const QString &title, const QString &text) override
    { calls.append({u"information"_s, title, text, {}}); }
    void message(QWidget *, const QString &title, const QString &text) override
    { calls.append({u"message"_s, title, text, {}}); }
    std::optional<QString> askElbowRadius(QWidget *, const QString &angle, float diameter) override
    { calls.append({u"askElbowRadius"_s, angle, QString::number(diameter), {}}); return next(replies); }
    QString openFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &initialName) override
    { calls.append({u"openFileName"_s, title, filter, initialName}); return next(fileNames); }
    QString saveFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &initialName) override
    { calls.append({u"saveFileName"_s, title, filter, initialName}); return next(fileNames); }
    void printPreview(QWidget *, QPrinter &printer,
                      const std::function<void(QPrinter &)> &paint) override
    {
        calls.append({u"printPreview"_s, printer.docName(), {}, {}});
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previewPdf);
        paint(printer);
    }
    SaveChoice askSaveChanges(QWidget *, const QString &name) override
    { calls.append({u"askSaveChanges"_s, {}, name, {}}); return next(saveChoices, SaveChoice::Cancel); }
    // clang-format on
    template <typename T> static T next(QList<T> &answers, T none = T())
    {
        return answers.isEmpty() ? none : answers.takeFirst();
    }
    // The texts of the message boxes, in order.
    QStringList messages() const
    {
        QStringList texts;
        for (const DialogCall &call : calls) {
            if (call.kind == u"message" || call.kind == u"information")
                texts.append(call.text);
        }
        return texts;
    }
};

// Watches for modal dialogs and pop-up menus.
class ModalGuard final
{
public:
    using Handler = std::function<void(QWidget *)>;

    ModalGuard()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start();
    }
    Q_DISABLE_COPY_MOVE(ModalGuard)

    // The next modal dialog or pop-up goes to `handler`, which answers it.
    void expect(Handler handler)
    {
        m_handler = std::move(handler);
        m_busy = nullptr;
    }
    bool waiting() const { return bool(m_handler); }

    QStringList unexpected; // what appeared without being expected; each was closed

private:
    void poll()
    {
        if (const QWidget *busy = m_busy.data(); busy && !busy->isVisible())
            m_busy = nullptr;
        QWidget *shown = QApplication::activePopupWidget();
        if (!shown)
            shown = QApplication::activeModalWidget();
        if (!shown || !shown->isVisible() || shown == m_busy)
            return;
        if (m_handler) {
            // Answered from a fresh timer, so that a dialog the answer opens
            // in turn is seen by this poll again.
            m_busy = shown;
            QTimer::singleShot(0, shown,
                               [handler = std::exchange(m_handler, {}), shown] { handler(shown); });
            return;
        }
        unexpected.append(QString::fromLatin1(shown->metaObject()->className()) + u" \""_s +
                          shown->windowTitle() + u'"');
        if (auto *dialog = qobject_cast<QDialog *>(shown))
            dialog->reject();
        else
            shown->close();
    }

    QTimer m_timer;
    Handler m_handler;
    QPointer<QWidget> m_busy;
};

// A named child widget or action; a misspelt name ends the run.
template <typename T> T *child(const QObject &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// One main window with the fake dialogs installed.
class WindowFixture final
{
public:
    WindowFixture() = default;
    Q_DISABLE_COPY_MOVE(WindowFixture)
    ~WindowFixture() { close(); }

    FakeDialogs dialogs;
    ModalGuard guard;
    std::unique_ptr<MainWindow> window;
    RouteView *grid = nullptr;

    bool open()
    {
        dialogs = FakeDialogs();
        guard.unexpected.clear();
        Dialogs::setInstance(&dialogs);
        window = std::make_unique<MainWindow>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        QApplication::setActiveWindow(window.get());
        grid = window->findChild<RouteView *>(u"routeView"_s);
        return grid && QTest::qWaitFor([this] { return grid->hasFocus(); }, 2000);
    }

    // Fails the test if anything unexpected popped up, then closes.
    void finish()
    {
        const QStringList seen = std::exchange(guard.unexpected, {});
        close();
        QVERIFY2(seen.isEmpty(), qPrintable(seen.join(u"; "_s)));
    }

    void close()
    {
        grid = nullptr;
        window.reset();
        Dialogs::setInstance(nullptr);
    }

    template <typename T = QWidget> T *control(const QString &name) const
    {
        return child<T>(*window, name);
    }
    void choose(const QString &action) { control<QAction>(action)->trigger(); }

    plenix::RouteTable &table() { return window->routeTable(); }
    // The caption as the title bar shows it, unsaved-changes mark included.
    QString title() const { return window->windowHandle()->title(); }
    QString cell(int row, int col) { return toQString(table().cellText(row, col)); }
    void setCell(int row, int col, const QString &text)
    {
        table().setCellText(row, col, fromQString(text).value());
    }
    QModelIndex index(int row, int col) const { return grid->routeModel()->cellIndex(row, col); }
    QString shown(int row, int col) const { return index(row, col).data().toString(); }

    // The centre of a cell, scrolled into view first.
    QPoint cellPoint(int row, int col)
    {
        grid->scrollTo(index(row, col));
        return grid->visualRect(index(row, col)).center();
    }
    void clickCell(int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cellPoint(row, col));
    }
    // The middle of a column header (col 1..11) or a row number (row 1..60).
    QPoint headerPoint(bool columns, int section) const
    {
        const QHeaderView *header = columns ? grid->horizontalHeader() : grid->verticalHeader();
        const int middle =
            header->sectionViewportPosition(section - 1) + header->sectionSize(section - 1) / 2;
        return columns ? QPoint(middle, header->height() / 2) : QPoint(header->width() / 2, middle);
    }
    QWidget *header(bool columns) const
    {
        return (columns ? grid->horizontalHeader() : grid->verticalHeader())->viewport();
    }

    static QString rc(int row, int col) { return u"%1,%2"_s.arg(row).arg(col); }
    // Current cell and selection end, as "row,col row,col".
    QString cursor()
    {
        const plenix::RouteTable &t = table();
        return rc(t.currentRow(), t.currentCol()) + u' ' + rc(t.selectionRow(), t.selectionCol());
    }

    // Opens a menu of the menu bar with Alt and its access key and presses an
    // item's access key in it, as a user does. A dialog the item opens goes
    // to `answer`.
    bool chooseFromMenu(Qt::Key menuKey, Qt::Key itemKey, ModalGuard::Handler answer = {})
    {
        guard.expect([this, itemKey, answer](QWidget *menu) {
            if (answer)
                guard.expect(answer);
            QTest::keyClick(menu, itemKey);
        });
        QTest::keyClick(window.get(), menuKey, Qt::AltModifier);
        return QTest::qWaitFor(
            [this] { return !guard.waiting() && !QApplication::activePopupWidget(); });
    }
};

} // namespace apptest

// QTEST_MAIN, with the offscreen platform chosen before the application
// starts and Qt's own dialogs instead of a platform's.
#define APPTEST_MAIN(TestClass)                                                                    \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))                                         \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);                                   \
        /* Settings go to a test folder, never the user's. */                                      \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QApplication app(argc, argv);                                                              \
        QApplication::setApplicationName(QStringLiteral("plenix"));                                \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
