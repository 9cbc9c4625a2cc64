// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the window tests: a real main window on Qt's offscreen platform,
// its dialogs answered by a fake, and a guard that hands the expected modal
// dialogs and pop-ups to the test and closes (and reports) any other, so
// that a test fails instead of hanging.
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

// Records each call as the function's name and what it was asked with (an
// elbow's angle and diameter, the name a file dialog offers, the printed
// route's name), and gives scripted answers, taken in order; none left, or
// nothing, is Cancel.
class FakeDialogs final : public Dialogs
{
public:
    QStringList calls;
    QStringList messages;                  // the texts of the message boxes
    QList<std::optional<QString>> replies; // to askElbowRadius
    QStringList fileNames;
    QList<SaveChoice> saveChoices;
    QString previewPdf; // the print preview's pages are painted into it

    void information(QWidget *, const QString &, const QString &text) override
    {
        note(u"information"_s, text);
    }
    void message(QWidget *, const QString &, const QString &text) override
    {
        note(u"message"_s, text);
    }
    std::optional<QString> askElbowRadius(QWidget *, const QString &angle, float diameter) override
    {
        calls << u"askElbowRadius %1 %2"_s.arg(angle).arg(diameter);
        return replies.isEmpty() ? std::nullopt : replies.takeFirst();
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &name) override
    {
        return fileName(u"openFileName"_s, name);
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &name) override
    {
        return fileName(u"saveFileName"_s, name);
    }
    void printPreview(QWidget *, QPrinter &printer,
                      const std::function<void(QPrinter &)> &paint) override
    {
        calls << u"printPreview "_s + printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previewPdf);
        paint(printer);
    }
    SaveChoice askSaveChanges(QWidget *, const QString &name) override
    {
        calls << u"askSaveChanges "_s + name;
        return saveChoices.isEmpty() ? SaveChoice::Cancel : saveChoices.takeFirst();
    }

private:
    void note(const QString &kind, const QString &text)
    {
        calls << kind;
        messages << text;
    }
    QString fileName(const QString &kind, const QString &offered)
    {
        calls << (kind + u' ' + offered.section(u'/', -1)).trimmed();
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
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

    // The next modal dialog or pop-up goes to `handler`.
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

    // Current cell and selection end, as "row,col row,col".
    QString cursor()
    {
        const plenix::RouteTable &t = table();
        return u"%1,%2 %3,%4"_s.arg(t.currentRow())
            .arg(t.currentCol())
            .arg(t.selectionRow())
            .arg(t.selectionCol());
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
