// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the window tests: the real main window on Qt's offscreen
// platform, its dialogs answered by a fake that records each call, a guard
// that answers or closes modal dialogs and pop-ups so that a test fails
// instead of hanging, and a folder of route files.
#include "coretest.h"

#include "aboutdialog.h"
#include "application.h"
#include "descriptionbox.h"
#include "dialogs.h"
#include "display.h"
#include "documentcommands.h"
#include "helpwindow.h"
#include "layout.h"
#include "mainwindow.h"
#include "profilechart.h"
#include "routeview.h"
#include "textcodec.h"
#include "version.h"
#include "windowprinter.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QGraphicsSimpleTextItem>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <utility>

namespace windowtest {

using namespace Qt::StringLiterals;
using namespace plenix;
using Choice = Dialogs::SaveChoice;
// Records each call as the function's name and what it was asked with (an
// elbow's angle and diameter, the name a file dialog offers, the printed
// route's name), and gives scripted answers, taken in order; none left, or
// nothing, is Cancel.
class FakeDialogs final : public Dialogs
{
public:
    QStringList calls;
    QStringList messages; // the texts of the message boxes
    // To askElbowRadius and the project's questions: a text, "yes", a
    // take-off "ROUTE:ROW", job fields joined by '|', or fan items
    // "NAME=PRESSURE,..." then '|' and the safety factor.
    QList<std::optional<QString>> replies;
    QStringList fileNames;
    QList<SaveChoice> saveChoices;
    QList<DiskChoice> diskChoices;
    QString previewPdf; // the print preview's pages are painted into it

    void information(QWidget *, const QString &, const QString &text) override
    {
        note(u"information"_s, text);
    }
    void message(QWidget *, const QString &, const QString &text) override
    {
        note(u"message"_s, text);
    }
    std::optional<QString> askText(QWidget *, const QString &, const QString &,
                                   const QString &initial) override
    {
        calls << u"askText "_s + initial;
        return reply();
    }
    bool askYesNo(QWidget *, const QString &, const QString &text) override
    {
        note(u"askYesNo"_s, text);
        return reply() == u"yes"_s;
    }
    std::optional<plenix::Takeoff> askTakeoff(QWidget *, const QStringList &routes,
                                              const plenix::Takeoff &) override
    {
        calls << u"askTakeoff "_s + routes.join(u',');
        const std::optional<QString> answer = reply();
        if (!answer)
            return std::nullopt;
        return plenix::Takeoff{answer->section(u':', 0, 0).toStdString(),
                               answer->section(u':', 1).toInt()};
    }
    std::optional<plenix::JobInfo> askJobInfo(QWidget *, const plenix::JobInfo &) override
    {
        calls << u"askJobInfo"_s;
        const std::optional<QString> answer = reply();
        if (!answer)
            return std::nullopt;
        const auto field = [&answer](int i) { return answer->section(u'|', i, i).toStdString(); };
        return plenix::JobInfo{field(0), field(1), field(2), field(3), field(4),
                               field(5), field(6), field(7), field(8)};
    }
    std::optional<FanSide> askFanSide(QWidget *, const FanSide &) override
    {
        calls << u"askFanSide"_s;
        const std::optional<QString> answer = reply();
        if (!answer)
            return std::nullopt;
        FanSide fan{{}, answer->section(u'|', 1)};
        for (const QString &item : answer->section(u'|', 0, 0).split(u',', Qt::SkipEmptyParts))
            fan.items.push_back(
                {item.section(u'=', 0, 0).toStdString(), item.section(u'=', 1).toStdString()});
        return fan;
    }

    // "units=si&method=darcy&material=flex&roughness=0.5&air=site:1500:30
    // (or density:1.1)&route=flex", each part changing what stands.
    std::optional<plenix::ProjectSettingsChoice>
    askProjectSettings(QWidget *, const plenix::ProjectSettingsChoice &current,
                       const QString &routeName) override
    {
        calls << u"askProjectSettings "_s + routeName;
        const std::optional<QString> answer = reply();
        if (!answer)
            return std::nullopt;
        plenix::ProjectSettingsChoice choice = current;
        plenix::method::Settings &settings = choice.settings;
        for (const QString &part : answer->split(u'&')) {
            const QString key = part.section(u'=', 0, 0), value = part.section(u'=', 1);
            const std::string text = value.toStdString();
            if (key == u"units")
                settings.units =
                    value == u"si" ? plenix::units::System::SI : plenix::units::System::InchPound;
            else if (key == u"flow")
                settings.flowUnit = *plenix::units::flowUnitFromKey(text);
            else if (key == u"method")
                settings.friction = *plenix::method::frictionFromKey(text);
            else if (key == u"material")
                settings.material = text, settings.roughness.reset();
            else if (key == u"roughness")
                settings.roughness = value.toDouble();
            else if (key == u"route")
                choice.routeMaterial = text;
            else if (value.startsWith(u"site:"))
                settings.air = {plenix::air::Basis::Site, value.section(u':', 1, 1).toDouble(),
                                value.section(u':', 2).toDouble(), 0};
            else if (value.startsWith(u"density:"))
                settings.air = {plenix::air::Basis::Typed, 0, 0, value.section(u':', 1).toDouble()};
            else
                settings.air = {};
        }
        return choice;
    }

    // "rate:velocity:height:round|rect", a blank part no limit.
    std::optional<plenix::SizingChoice> askSizing(QWidget *,
                                                  const plenix::SizingRequest &request) override
    {
        calls << u"askSizing %1 rows %2-%3, %4 runs"_s.arg(request.flow)
                         .arg(request.firstRow)
                         .arg(request.lastRow)
                         .arg(request.ductRuns) +
                     (request.shapes ? u""_s : u", round only"_s);
        const std::optional<QString> answer = reply();
        if (!answer)
            return std::nullopt;
        const auto limit = [&answer](int i) {
            const QString part = answer->section(u':', i, i);
            return part.isEmpty() ? std::nullopt : std::optional<double>(part.toDouble());
        };
        return plenix::SizingChoice{
            {limit(0), limit(1)}, limit(2), answer->section(u':', 3) == u"rect"};
    }

    // "description|coefficient", the row Insert writes.
    std::optional<plenix::FittingChoice> askFitting(QWidget *,
                                                    const plenix::FittingRequest &request) override
    {
        calls << u"askFitting %1 %2"_s.arg(
            QString::fromStdString(std::string(plenix::units::systemKey(request.units))),
            QString::fromStdString(request.description));
        const std::optional<QString> answer = reply();
        if (!answer)
            return std::nullopt;
        return plenix::FittingChoice{answer->section(u'|', 0, 0).toStdString(),
                                     answer->section(u'|', 1).toStdString()};
    }

    std::optional<QString> askElbowRadius(QWidget *, const QString &angle, float diameter) override
    {
        calls << u"askElbowRadius %1 %2"_s.arg(angle).arg(diameter);
        return reply();
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
    DiskChoice askChangedOnDisk(QWidget *, const QString &name) override
    {
        calls << u"askChangedOnDisk "_s + name;
        return diskChoices.isEmpty() ? DiskChoice::Cancel : diskChoices.takeFirst();
    }

private:
    std::optional<QString> reply()
    {
        return replies.isEmpty() ? std::nullopt : replies.takeFirst();
    }
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
        QWidget *shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                           : QApplication::activeModalWidget();
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

// Every warning Qt gives but the offscreen platform's notes on size hints.
inline QStringList recordedWarnings;
inline QtMessageHandler passOn = nullptr;

inline void recordWarnings(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg &&
        !message.startsWith(u"This plugin does not support"_s))
        recordedWarnings.append(message);
    passOn(type, context, message);
}

inline const QByteArray OtherBytes = "\t500\x80Other";

// A route of every byte value, in a cell and in the description.
inline QByteArray everyByte()
{
    QByteArray bytes;
    for (int byte = 0x81; byte < 256; ++byte)
        bytes += char(byte);
    bytes += "\t\t\t\t\t\t\t\t\t\x80";
    for (int byte = 0; byte < 256; ++byte)
        bytes += byte == '\r' ? "\r\n" : QByteArray(byte == '\n' ? 0 : 1, char(byte));
    return bytes;
}
inline const QByteArray EveryByte = everyByte();

// One main window with the fake dialogs installed, opened by each test's
// init() and closed by its cleanup(); the folder holds other.txt (a route),
// bytes.txt (every byte value) and letter.txt (no route).
class WindowFixture : public QObject
{
protected:
    FakeDialogs m_dialogs;
    ModalGuard m_guard;
    std::unique_ptr<MainWindow> m_window;
    RouteView *m_grid = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
    QWidget m_other;      // another window of the program
    QString m_popUp;      // the last pop-up's name
    QPoint m_pointer;     // where the last pop-up should open
    QString m_sessionEnd; // what the end of the session did

    template <typename T = QWidget> T *control(const QString &name) const
    {
        return child<T>(*m_window, name);
    }
    void choose(const QString &action) { control<QAction>(action)->trigger(); }

    plenix::RouteTable &table() { return m_window->routeTable(); }
    // The caption as the title bar shows it, unsaved-changes mark included.
    QString title() const { return m_window->windowHandle()->title(); }
    QString cell(int row, int col) { return toQString(table().cellText(row, col)); }
    void setCell(int row, int col, const QString &text)
    {
        table().setCellText(row, col, fromQString(text).value());
    }
    QModelIndex index(int row, int col) const { return m_grid->routeModel()->cellIndex(row, col); }
    QString shown(int row, int col) const { return index(row, col).data().toString(); }

    // The centre of a cell, scrolled into view first.
    QPoint cellPoint(int row, int col)
    {
        m_grid->scrollTo(index(row, col));
        return m_grid->visualRect(index(row, col)).center();
    }
    void clickCell(int row, int col, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, modifiers, cellPoint(row, col));
    }
    // The middle of a column header (col 1..11) or a row number (row 1..60).
    QPoint headerPoint(bool columns, int section) const
    {
        const QHeaderView *header = columns ? m_grid->horizontalHeader() : m_grid->verticalHeader();
        const int middle =
            header->sectionViewportPosition(section - 1) + header->sectionSize(section - 1) / 2;
        return columns ? QPoint(middle, header->height() / 2) : QPoint(header->width() / 2, middle);
    }
    QWidget *header(bool columns) const
    {
        return (columns ? m_grid->horizontalHeader() : m_grid->verticalHeader())->viewport();
    }

    // Current cell and selection end, as "row,col row,col".
    QString cursor()
    {
        const plenix::RouteTable &t = table();
        return QString::asprintf("%d,%d %d,%d", t.currentRow(), t.currentCol(), t.selectionRow(),
                                 t.selectionCol());
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        return coretest::writeAll(path(name), bytes) ? path(name) : QString();
    }
    static QList<int> numbers(const QString &arg)
    {
        QList<int> found;
        for (const QString &number : arg.section(u'=', 0, 0).split(u','))
            found << number.toInt();
        return found;
    }

    // Runs `command` with Qt's own dialogs; the one it opens goes to `answer`.
    void withQtDialogs(const ModalGuard::Handler &answer, const std::function<void()> &command)
    {
        Dialogs::setInstance(nullptr);
        m_guard.expect(answer);
        command();
        Dialogs::setInstance(&m_dialogs);
        QVERIFY(!m_guard.waiting());
    }

    void openWindow()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QSettings(QSettings::UserScope, u"plenix"_s, u"plenix"_s).clear();
        QDir(RecoveryCopy::folder()).removeRecursively();
        QVERIFY(!write(u"other.txt"_s, OtherBytes).isEmpty());
        QVERIFY(!write(u"bytes.txt"_s, EveryByte).isEmpty());
        QVERIFY(!write(u"letter.txt"_s, "Dear Sir,\r\nthe ducts\t are\rready.").isEmpty());
        m_popUp = u"none"_s;
        QLocale::setDefault(QLocale::system());
        m_sessionEnd.clear();
        m_other.show();
        // One main window with the fake dialogs installed, its grid focused.
        m_dialogs = FakeDialogs();
        m_dialogs.previewPdf = path(u"preview.pdf"_s);
        Dialogs::setInstance(&m_dialogs);
        m_window = std::make_unique<MainWindow>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QApplication::setActiveWindow(m_window.get());
        m_grid = m_window->findChild<RouteView *>(u"routeView"_s);
        QVERIFY(m_grid && QTest::qWaitFor([this] { return m_grid->hasFocus(); }, 2000));
    }

    void closeWindow()
    {
        QToolTip::hideText();
        m_other.hide();
        const QStringList unexpected = std::exchange(m_guard.unexpected, {});
        m_grid = nullptr;
        m_window.reset();
        Dialogs::setInstance(nullptr);
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(u"; "_s)));
    }
};

} // namespace windowtest

// QTEST_MAIN, with the offscreen platform chosen before the application
// starts, Qt's own dialogs instead of a platform's, and settings in a folder
// of this run's own: never the user's, and never shared with a window test
// running beside it, whose recent routes would otherwise show up in this
// one's.
#define WINDOWTEST_MAIN(TestClass)                                                                 \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))                                         \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);                                   \
        /* Settings and data (the recovery copies) of this run alone. */                           \
        const QTemporaryDir settings;                                                              \
        qputenv("XDG_DATA_HOME", QFile::encodeName(settings.path()));                              \
        plenix::Application app(argc, argv);                                                       \
        QApplication::setApplicationName(QStringLiteral("plenix"));                                \
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})     \
            QSettings::setPath(format, QSettings::UserScope, settings.path());                     \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
