#pragma once

// Shared by the window tests. They drive a real main window on Qt's
// offscreen platform with synthetic keys and mouse events. Dialogs go
// through a fake that records each call and gives scripted answers; a guard
// polls for modal dialogs and pop-up menus, hands the expected ones to the
// test and closes (and reports) any other, so that a test fails instead of
// hanging.
#include "dialogs.h"
#include "frmmain.h"
#include "routegrid.h"
#include "textcodec.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace apptest {

using namespace Qt::StringLiterals;

struct DialogCall
{
    QString kind; // "information", "message", "askText", "openFileName", "saveFileName"
    QString title;
    QString text;    // the message, the prompt or the file filter
    QString initial; // the pre-filled reply or file name
};

class FakeDialogs final : public Dialogs
{
public:
    QList<DialogCall> calls;
    // Replies of askText, in order; nothing stands for Cancel. A prompt with
    // no reply left is cancelled and counted in `unscripted`.
    QList<std::optional<QString>> replies;
    QStringList fileNames;
    int unscripted = 0;

    void information(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({u"information"_s, title, text, {}});
    }
    void message(QWidget *, const QString &title, const QString &text) override
    {
        calls.append({u"message"_s, title, text, {}});
    }
    std::optional<QString> askText(QWidget *, const QString &title, const QString &label,
                                   const QString &initial) override
    {
        calls.append({u"askText"_s, title, label, initial});
        if (replies.isEmpty()) {
            ++unscripted;
            return std::nullopt;
        }
        return replies.takeFirst();
    }
    QString openFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &initialName) override
    {
        calls.append({u"openFileName"_s, title, filter, initialName});
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &title, const QString &filter,
                         const QString &initialName) override
    {
        calls.append({u"saveFileName"_s, title, filter, initialName});
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

    // The next modal dialog or pop-up goes to `handler`, which answers it.
    void expect(Handler handler)
    {
        m_handler = std::move(handler);
        m_busy = nullptr;
    }
    bool waiting() const { return bool(m_handler); }

    // What appeared without being expected; each was closed.
    QStringList unexpected;

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
        unexpected.append(describe(shown));
        if (auto *dialog = qobject_cast<QDialog *>(shown))
            dialog->reject();
        else
            shown->close();
    }

    static QString describe(const QWidget *widget)
    {
        return QString::fromLatin1(widget->metaObject()->className()) + u" \""_s +
               widget->windowTitle() + u"\" "_s + widget->objectName();
    }

    QTimer m_timer;
    Handler m_handler;
    QPointer<QWidget> m_busy;
};

// The offscreen platform warns each time a window's size hints change; that
// says nothing about the program.
inline QtMessageHandler previousMessageHandler = nullptr;
inline void quietMessageHandler(QtMsgType type, const QMessageLogContext &context,
                                const QString &message)
{
    if (type == QtWarningMsg && (message.startsWith(u"This plugin does not support"_s)))
        return;
    if (previousMessageHandler)
        previousMessageHandler(type, context, message);
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
    std::unique_ptr<frmMain> window;
    RouteGrid *grid = nullptr;

    bool open()
    {
        // Installed once Qt Test has installed its own, which it passes on to.
        static const bool quiet = [] {
            previousMessageHandler = qInstallMessageHandler(quietMessageHandler);
            return true;
        }();
        Q_UNUSED(quiet)
        dialogs = FakeDialogs();
        guard.unexpected.clear();
        Dialogs::setInstance(&dialogs);
        window = std::make_unique<frmMain>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        QApplication::setActiveWindow(window.get());
        grid = window->findChild<RouteGrid *>(u"grdList"_s);
        return grid && QTest::qWaitFor([this] { return grid->hasFocus(); }, 2000);
    }

    void close()
    {
        grid = nullptr;
        window.reset();
        Dialogs::setInstance(nullptr);
    }

    plenix::RouteTable &table() { return window->routeTable(); }
    QString cell(int row, int col) { return toQString(table().CellText(row, col)); }
    void setCell(int row, int col, const QString &text)
    {
        table().setCellText(row, col, fromQString(text).value());
    }
    QModelIndex index(int row, int col) const { return grid->routeModel()->cellIndex(row, col); }

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
    // Makes a cell current with the mouse and types into it.
    void typeAt(int row, int col, const QString &text)
    {
        clickCell(row, col);
        QTest::keyClicks(grid, text);
    }
    // The middle of a column header (col 1..11) or a row number (row 1..60).
    QPoint columnHeaderPoint(int col) const
    {
        const QHeaderView *header = grid->horizontalHeader();
        return {header->sectionViewportPosition(col - 1) + header->sectionSize(col - 1) / 2,
                header->height() / 2};
    }
    QPoint rowHeaderPoint(int row) const
    {
        const QHeaderView *header = grid->verticalHeader();
        return {header->width() / 2,
                header->sectionViewportPosition(row - 1) + header->sectionSize(row - 1) / 2};
    }

    // Current cell and selection end, as "row,col row,col", for readable comparisons.
    QString cursor()
    {
        const plenix::RouteTable &t = table();
        return u"%1,%2 %3,%4"_s.arg(t.currentRow())
            .arg(t.currentCol())
            .arg(t.selectionRow())
            .arg(t.selectionCol());
    }

    // The cells the view shows as selected, as "top,left bottom,right".
    QString viewSelection() const
    {
        const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
        if (selected.isEmpty())
            return u"none"_s;
        int top = 1000, left = 1000, bottom = -1, right = -1;
        for (const QModelIndex &i : selected) {
            top = qMin(top, i.row() + 1);
            left = qMin(left, i.column() + 1);
            bottom = qMax(bottom, i.row() + 1);
            right = qMax(right, i.column() + 1);
        }
        // A rectangle holds exactly its own cells.
        const auto count = (bottom - top + 1) * (right - left + 1);
        if (count != selected.size())
            return u"not a rectangle"_s;
        return u"%1,%2 %3,%4"_s.arg(top).arg(left).arg(bottom).arg(right);
    }
};

inline void choosePlatform()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace apptest

// QTEST_MAIN, with the offscreen platform chosen before the application
// starts and Qt's own dialogs instead of a platform's.
#define APPTEST_MAIN(TestClass)                                                                    \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        apptest::choosePlatform();                                                                 \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);                                   \
        QApplication app(argc, argv);                                                              \
        QApplication::setApplicationName(QStringLiteral("plenix"));                                \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
