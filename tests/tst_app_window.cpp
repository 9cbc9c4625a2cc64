// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on Qt's offscreen platform: each menu command, key and
// mouse action reaches its operation, whose cases the core tests check, its
// dialogs answered by a fake; Qt's own dialogs, each driven once, the About
// box, the help window and printing.
#include "windowtest.h"

#include "filesystem.h"
#include "routefileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace windowtest;

// The headings keep a unit whole with a word joiner after its slash, which
// no one sees.
constexpr QChar Joiner(0x2060);

class WindowTest final : public WindowFixture
{
    Q_OBJECT

    // Runs the inputs of a row of window-inputs.cases, which lists the words.
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString verb = step.section(u':', 0, 0), arg = step.section(u':', 1);
            const QList<int> n = numbers(arg);
            const QKeyCombination key = QKeySequence(arg)[0];
            QWidget *focused = QApplication::focusWidget();
            QWidget *viewport = m_grid->viewport();
            if (verb == u"at" || verb == u"shift") {
                clickCell(n[0], n[1], verb == u"at" ? Qt::NoModifier : Qt::ShiftModifier);
            } else if (verb == u"dclick") {
                QTest::mouseDClick(viewport, Qt::LeftButton, {}, cellPoint(n[0], n[1]));
            } else if (verb == u"drag" || verb == u"rows" || verb == u"cols") {
                const bool cells = verb == u"drag", columns = verb == u"cols";
                QWidget *target = cells ? viewport : header(columns);
                const auto at = [&](int i) {
                    return cells ? cellPoint(n[2 * i], n[2 * i + 1]) : headerPoint(columns, n[i]);
                };
                QTest::mousePress(target, Qt::LeftButton, {}, at(0));
                QTest::mouseMove(target, at(1));
                QTest::mouseRelease(target, Qt::LeftButton, {}, at(1));
            } else if (verb == u"border") {
                // A drag from the right border of column N's header.
                QHeaderView *columns = m_grid->horizontalHeader();
                const int edge =
                    columns->sectionViewportPosition(n[0] - 1) + columns->sectionSize(n[0] - 1) - 1;
                const QPoint from(edge, columns->height() / 2), to(edge + n[1], from.y());
                QTest::mousePress(columns->viewport(), Qt::LeftButton, {}, from);
                QTest::mouseMove(columns->viewport(), to);
                QTest::mouseRelease(columns->viewport(), Qt::LeftButton, {}, to);
            } else if (verb == u"wide") {
                m_window->resize(n[0], m_window->height());
                QTest::qWait(0);
            } else if (verb == u"split") {
                control<QSplitter>(u"split"_s)->setSizes({n[0], n[1]});
            } else if (verb == u"reopen" || verb == u"startWithProfile") {
                // The next start of the program, with the settings this one
                // left, or with only the profile's shown.
                if (verb == u"reopen")
                    m_window->close();
                else
                    QSettings(QSettings::UserScope, u"plenix"_s, u"plenix"_s)
                        .setValue(u"window/profile"_s, true);
                m_window = std::make_unique<MainWindow>();
                m_window->show();
                QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
                m_grid = m_window->findChild<RouteView *>(u"routeView"_s);
            } else if (verb == u"shiftRow" || verb == u"shiftCol") {
                const bool columns = verb == u"shiftCol";
                QTest::mouseClick(header(columns), Qt::LeftButton, Qt::ShiftModifier,
                                  headerPoint(columns, n[0]));
            } else if (verb == u"right" && arg == u"bar") {
                QWidget *bar = m_grid->verticalScrollBar();
                m_pointer = bar->mapToGlobal(bar->rect().center());
                QContextMenuEvent press(QContextMenuEvent::Mouse, bar->rect().center(), m_pointer);
                QApplication::sendEvent(bar, &press);
            } else if (verb == u"right") {
                QWidget *target = n[0] && n[1] ? viewport : header(n[0] == 0);
                const QPoint at =
                    n[0] && n[1] ? cellPoint(n[0], n[1]) : headerPoint(n[0] == 0, n[0] + n[1]);
                m_pointer = target->mapToGlobal(at);
                QTest::mouseClick(target, Qt::RightButton, {}, at);
            } else if (verb == u"key") {
                QTest::keyClick(focused, key.key(), key.keyboardModifiers());
            } else if (verb == u"type") {
                for (const QChar ch : arg)
                    QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, ch, {});
            } else if (verb == u"focus") {
                control(arg)->setFocus();
            } else if (verb == u"press") {
                QTest::mouseClick(control(arg), Qt::LeftButton);
            } else if (verb == u"set") {
                setCell(n[0], n[1], arg.section(u'=', 1));
            } else if (verb == u"huge") {
                setCell(n[0], n[1], QString(n[2], u'7'));
            } else if (verb == u"sessionEnd") {
                struct Session
                {
                    bool interaction;
                    QString &outcome;
                    bool allowsInteraction() { return interaction; }
                    void release() { outcome += u"released"_s; }
                    void cancel() { outcome += u",cancelled"_s; }
                } session{arg == u"ask", m_sessionEnd};
                plenix::askAtSessionEnd(session, m_window->documents());
            } else if (verb == u"locale") {
                QLocale::setDefault(QLocale(arg));
            } else if (verb == u"mkdir") {
                QVERIFY(QDir(m_dir->path()).mkdir(arg));
            } else if (verb == u"clip") {
                QGuiApplication::clipboard()->setText(arg);
            } else if (verb == u"bigRoute") {
                const QByteArray line = "A line of a long description, broken where it ends.\r\n";
                write(u"big.txt"_s, "\t500\x80" + line.repeated(n[0] / line.size()));
            } else if (verb == u"chartMove" || verb == u"chartClick") {
                // A place on the chart, in its own figures: "3,0.01" is
                // row 3 (or 3 ft) at 0.01 in wg.
                auto *view = control<QChartView>(u"profileView"_s);
                QChart *chart = view->chart();
                const QPointF value(arg.section(u',', 0, 0).toDouble(),
                                    arg.section(u',', 1).toDouble());
                const QPoint at = view->mapFromScene(
                    chart->mapToScene(chart->mapToPosition(value, chart->series().constLast())));
                QTest::mouseMove(view->viewport(), at);
                if (verb == u"chartClick")
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
            } else if (verb == u"closeBox") {
                m_window->close();
            } else if (verb == u"project") {
                QFile::copy(
                    QStringLiteral(PLENIX_TESTS_DIR "/data/projects/trunk-two-branches.plenix"),
                    path(arg));
            } else if (verb == u"route") {
                auto *list = control<QTreeWidget>(u"routeList"_s);
                const QRect item = list->visualItemRect(list->topLevelItem(n[0] - 1));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
            } else if (verb == u"openFile") {
                m_window->openFile(path(arg));
            } else if (verb == u"latin1" || verb == u"openLatin1") {
                // A name whose bytes are not UTF-8.
                const QByteArray name = QFile::encodeName(m_dir->path()) + '/' + arg.toLatin1();
                if (verb == u"latin1") {
                    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
                    QVERIFY(fd >= 0 && ::write(fd, "\t500\x80", 5) == 5 && ::close(fd) == 0);
                } else {
                    m_window->openFile(plenix::fileio::pathFromNative(name));
                }
            } else if (verb == u"files") {
                m_dialogs.fileNames << path(arg);
            } else if (verb == u"reply") {
                // "~" stands for a blank, which would end the step.
                m_dialogs.replies << (arg == u"-"
                                          ? std::nullopt
                                          : std::optional(QString(arg).replace(u'~', u' ')));
            } else if (verb == u"choice") {
                m_dialogs.saveChoices
                    << Choice(QStringList{u"Save"_s, u"Discard"_s, u"Cancel"_s}.indexOf(arg));
            } else if (verb == u"disk") {
                m_dialogs.diskChoices << Dialogs::DiskChoice(
                    QStringList{u"Overwrite"_s, u"Reload"_s, u"Cancel"_s}.indexOf(arg));
            } else if (verb == u"interrupted") {
                // A save in place (the file has a second name) killed half way.
                const QByteArray name = QFile::encodeName(path(arg));
                QVERIFY(::link(name.constData(), name + ".link") == 0);
                const pid_t child = ::fork();
                if (child == 0) {
                    writeRouteFile(path(arg), "\t1\x80",
                                   [](QIODevice &, QByteArrayView) -> qint64 { ::_exit(9); });
                    ::_exit(0);
                }
                QVERIFY(::waitpid(child, nullptr, 0) == child);
            } else if (verb == u"leftCopy") {
                // What a Plenix that died left of its unsaved work on this file.
                const pid_t gone = ::fork();
                if (gone == 0)
                    ::_exit(0);
                QVERIFY(::waitpid(gone, nullptr, 0) == gone);
                const QString base = RecoveryCopy::folder() + u"/%1-1"_s.arg(gone);
                QVERIFY(QDir().mkpath(RecoveryCopy::folder()));
                const bool project = arg.endsWith(u".plenix"_s);
                const QByteArray work =
                    project ? coretest::readAll(QStringLiteral(
                                  PLENIX_TESTS_DIR "/data/projects/trunk-two-branches.plenix"))
                            : QByteArray("\t900\x80recovered");
                const QString copy = base + (project ? u".plenix"_s : u".txt"_s);
                QVERIFY(writeRouteFile(copy, work) == std::nullopt);
                QVERIFY(writeRouteFile(base + u".path"_s, path(arg).toUtf8()) == std::nullopt);
                // Each copy a minute newer than the one left before it.
                QFile written(copy);
                QVERIFY(
                    written.open(QIODevice::ReadWrite) &&
                    written.setFileTime(QDateTime::currentDateTime().addSecs(
                                            60 * (int(QDir(RecoveryCopy::folder()).count()) - 100)),
                                        QFileDevice::FileModificationTime));
            } else if (verb == u"offerRecovery") {
                m_window->offerRecovery();
            } else if (verb == u"keepWork") {
                m_window->documents().keepUnsavedWork();
            } else if (verb == u"undoBudget") {
                m_window->documents().history().setMemoryBudget(arg.toULongLong());
            } else if (verb == u"outOfMemory") {
                m_window->documents().setWriteStep(
                    [](QIODevice &, QByteArrayView) -> qint64 { throw std::bad_alloc(); });
            } else if (verb == u"printTo") {
                m_dialogs.previewPdf = path(arg);
            } else if (verb == u"fifo") {
                QVERIFY(::mkfifo(QFile::encodeName(path(arg)).constData(), 0600) == 0);
            } else if (verb == u"outside") {
                // Another program's save, and the window's watch telling of it.
                QSignalSpy told(m_window->documents().findChild<QFileSystemWatcher *>(),
                                &QFileSystemWatcher::fileChanged);
                write(arg, "\t700\x80");
                QVERIFY(told.wait());
            } else if (verb == u"stopAfter") {
                m_window->documents().setWriteStep([n](QIODevice &file, QByteArrayView bytes) {
                    return file.write(bytes.data(), qMin(bytes.size(), qint64{n[0]}));
                });
            } else if (verb == u"routes") {
                for (int i = 1; i <= n[0]; ++i)
                    m_window->openFile(write(u"r%1.txt"_s.arg(i), "\t500\x80"));
            } else if (verb == u"gone") {
                QFile::remove(path(arg));
            } else if (verb == u"recent") {
                choose(u"recentAction"_s + arg);
            } else if (verb == u"pick") {
                answerPopUp(arg);
            } else {
                if (step == u"print" && !QPrinterInfo::defaultPrinter().isNull())
                    QSKIP("this machine has a default printer; printing on it is left to a person");
                choose(step + u"Action"_s);
            }
        }
    }

    // The next pop-up is answered with the item named, and noted with where
    // it opened; the keys open it below the current cell.
    void answerPopUp(const QString &item)
    {
        const plenix::RouteTable &t = table();
        m_pointer = m_grid->viewport()->mapToGlobal(
            m_grid->visualRect(index(t.currentRow(), t.currentCol())).bottomLeft());
        m_guard.expect([this, item](QWidget *shown) {
            auto *menu = qobject_cast<QMenu *>(shown);
            m_popUp = menu ? menu->objectName() : u"not a menu"_s;
            if (shown->geometry().top() != m_pointer.y() || !shown->geometry().contains(m_pointer))
                m_popUp += u" away from the pointer"_s;
            QAction *action = menu ? menu->findChild<QAction *>(item) : nullptr;
            if (!action)
                return shown->close(), void();
            menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
    }

    // A long text as its length, start and end.
    static QString brief(const QString &text)
    {
        return text.size() <= 100
                   ? text
                   : u"%1 characters: %2"_s.arg(text.size()).arg(text.left(4) + text.right(1));
    }

    // What the window shows, by the probe's name (the case file lists them).
    QString probe(const QString &name)
    {
        const QList<int> n = numbers(name.section(u':', 1));
        if (name.startsWith(u"cell:"))
            return brief(shown(n[0], n[1]));
        if (name.startsWith(u"heading:"))
            return m_grid->model()->headerData(n[0] - 1, Qt::Horizontal).toString().remove(Joiner);
        if (name.startsWith(u"look:")) {
            const QModelIndex cell = index(n[0], n[1]);
            const int stale = int(cell.data(Qt::ForegroundRole).isValid()) +
                              int(cell.data(Qt::FontRole).value<QFont>().italic()) +
                              int(!cell.data(Qt::ToolTipRole).toString().isEmpty());
            const bool tinted = cell.data(Qt::BackgroundRole).isValid();
            return tinted ? u"doubtful"_s : stale == 3 ? u"stale"_s : u"plain"_s.repeated(!stale);
        }
        if (name.startsWith(u"tip:")) {
            const QPoint at = cellPoint(n[0], n[1]);
            QHelpEvent help(QEvent::ToolTip, at, m_grid->viewport()->mapToGlobal(at));
            QApplication::sendEvent(m_grid->viewport(), &help);
            if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }))
                return u"none"_s;
            return QToolTip::text() == m_grid->toolTip() ? u"hint"_s : brief(QToolTip::text());
        }
        if (name == u"clipboard" || name == u"messages") {
            const QString text = name == u"messages" ? m_dialogs.messages.join(u'|')
                                                     : QGuiApplication::clipboard()->text();
            return QString(text)
                .replace(toQString(table().headerLine()), u"<header>"_s)
                .replace(m_dir->path(), u"<dir>"_s);
        }
        if (name == u"routes") {
            // ">" before the route shown, "*" after the critical one, its
            // whole row in bold.
            QStringList routes;
            const auto *list = control<QTreeWidget>(u"routeList"_s);
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem *item = list->topLevelItem(i);
                routes << (item == list->currentItem() ? u">"_s : QString()) + item->text(0) +
                              (item->font(0).bold() && item->font(2).bold() ? u"*"_s : QString()) +
                              u' ' + item->text(2);
            }
            return list->isVisible() ? routes.join(u'|') : u"hidden"_s;
        }
        if (name.startsWith(u"grey:")) {
            // The texts a PDF prints in the grey of figures out of date, read back
            // with poppler.
            QProcess reader;
            reader.start(u"pdftohtml"_s, {u"-xml"_s, u"-i"_s, u"-stdout"_s, path(name.mid(5))});
            if (!reader.waitForFinished())
                return u"no pdftohtml"_s;
            const QString xml = QString::fromUtf8(reader.readAllStandardOutput());
            QSet<QString> greyFonts;
            static const QRegularExpression fontSpec(
                u"<fontspec id=\"(\\d+)\"[^>]*color=\"#808080"_s);
            for (const auto &match : fontSpec.globalMatch(xml))
                greyFonts << match.captured(1);
            QStringList texts;
            static const QRegularExpression text(
                u"<text [^>]*font=\"(\\d+)\">(?:<[^>]+>)*([^<]*)"_s);
            for (const auto &match : text.globalMatch(xml))
                if (greyFonts.contains(match.captured(1)))
                    texts << match.captured(2);
            return texts.join(u' ');
        }
        if (name.startsWith(u"text:")) {
            // A file the window wrote, its line ends shown as "/".
            return QString::fromUtf8(coretest::readAll(path(name.mid(5))))
                .replace(QChar(0xFEFF), u"<BOM>"_s)
                .replace(u"\r\n"_s, u"/"_s)
                .replace(u'\n', u'/');
        }
        if (name.startsWith(u"pdfHas:")) {
            // "pdfHas:report.pdf|Row": whether the PDF's text holds that.
            QProcess reader;
            reader.start(u"pdftotext"_s, {path(name.mid(7).section(u'|', 0, 0)), u"-"_s});
            if (!reader.waitForFinished())
                return u"no pdftotext"_s;
            const bool has =
                QString::fromUtf8(reader.readAllStandardOutput()).contains(name.section(u'|', 1));
            return has ? u"yes"_s : u"no"_s;
        }
        if (name.startsWith(u"paper:")) {
            QProcess info;
            info.start(u"pdfinfo"_s, {path(name.mid(6))});
            if (!info.waitForFinished())
                return u"no pdfinfo"_s;
            static const QRegularExpression size(u"Page size: *(.*)"_s);
            return size.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1);
        }
        if (name.startsWith(u"shaded:") || name.startsWith(u"ruled:")) {
            // The texts of a PDF's first page that stand on a shaded band:
            // the page drawn by poppler at the resolution its text positions
            // are given in, and the pixel just left of each text looked at.
            const QString pdf = path(name.section(u':', 1));
            QProcess reader, drawer;
            reader.start(u"pdftohtml"_s,
                         {u"-xml"_s, u"-i"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-stdout"_s, pdf});
            drawer.start(u"pdftoppm"_s,
                         {u"-r"_s, u"108"_s, u"-gray"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, pdf});
            if (!reader.waitForFinished() || !drawer.waitForFinished())
                return u"no poppler"_s;
            const QImage page = QImage::fromData(drawer.readAllStandardOutput());
            // "ruled:FILE": whether a rule closes the table, in the gap
            // between its last row's text and the route's total.
            const bool rules = name.startsWith(u"ruled:");
            const QString xml = QString::fromUtf8(reader.readAllStandardOutput());
            static const QRegularExpression total(
                u"<text top=\"(\\d+)\"[^>]*>(?:<[^>]+>)*Route total"_s);
            const int routeTotal = total.match(xml).captured(1).toInt();
            int tableEnd = 0;
            QStringList texts;
            static const QRegularExpression text(
                u"<text top=\"(\\d+)\" left=\"(\\d+)\" width=\"\\d+\" height=\"(\\d+)\"[^>]*>"
                "(?:<[^>]+>)*([^<]*)"_s);
            for (const auto &match : text.globalMatch(xml)) {
                // The route table's rows only, not the chart below it.
                const int top = match.captured(1).toInt();
                if (match.captured(4).startsWith(u"Route total")) {
                    if (!rules)
                        break;
                    for (int y = tableEnd + 1; y < top; ++y)
                        if (qGray(page.pixel(page.width() / 2, y)) < 250)
                            return u"ruled"_s;
                    return u"open"_s;
                }
                if (top < routeTotal)
                    tableEnd = std::max(tableEnd, top + match.captured(3).toInt());
                const QPoint beside(match.captured(2).toInt() - 2,
                                    match.captured(1).toInt() + match.captured(3).toInt() / 2);
                if (page.valid(beside) && qGray(page.pixel(beside)) < 250)
                    texts << match.captured(4);
            }
            return texts.join(u' ');
        }
        if (name == u"recovery") {
            // The copies of unsaved work: each file's kind, and the document
            // it is of.
            QStringList copies;
            const QDir folder(RecoveryCopy::folder());
            for (const QFileInfo &file : folder.entryInfoList(QDir::Files, QDir::Name)) {
                QFile text(file.filePath());
                copies << file.suffix() + u'=' +
                              (text.open(QIODevice::ReadOnly) ? QString::fromLatin1(text.readAll())
                                                              : QString())
                                  .replace(m_dir->path(), u"<dir>"_s)
                                  .replace(u'\x80', u'|')
                                  .replace(u'\t', u',')
                                  .replace(u'\r', u'/');
            }
            return copies.join(u' ');
        }
        if (name == u"pointer")
            return QToolTip::isVisible() ? QToolTip::text().replace(u'\n', u'/') : u"none"_s;
        if (name == u"undo" || name == u"redo")
            return control<QAction>(name + u"Action"_s)->text();
        if (name == u"split") {
            const QList<int> sizes = control<QSplitter>(u"split"_s)->sizes();
            return u"%1 wide, controls %2 high, profile %3"_s.arg(m_window->width())
                .arg(sizes.value(0))
                .arg(sizes.value(1));
        }
        if (name == u"widths") {
            // Columns 1 to 10 in twips, as the grid's navigation goes by them.
            QStringList widths;
            for (int col = 1; col <= plenix::RouteTable::DataCols; ++col)
                widths << QString::number(table().colWidthTwips(col));
            return widths.join(u',');
        }
        if (name == u"system")
            return control<QTableWidget>(u"systemTable"_s)->isVisible() ? u"shown"_s : u"hidden"_s;
        if (name.startsWith(u"systemRow:")) {
            const auto *system = control<QTableWidget>(u"systemTable"_s);
            QStringList cells;
            for (int col = 0; col < system->columnCount(); ++col)
                cells << (system->item(n[0], col) ? system->item(n[0], col)->text() : QString());
            return cells.join(u'|');
        }
        if (name == u"legend") {
            // Laid out, as showing the window does, so that the markers are
            // placed.
            auto *view = control<QChartView>(u"profileView"_s);
            QCoreApplication::sendPostedEvents();
            view->grab();
            QStringList entries;
            for (const QLegendMarker *marker : view->chart()->legend()->markers()) {
                if (marker->isVisible())
                    entries << marker->label();
            }
            return entries.join(u'|');
        }
        if (name == u"profile") {
            const auto *chart =
                qobject_cast<const ProfileChart *>(control<QChartView>(u"profileView"_s)->chart());
            const bool shown = control(u"profilePanel"_s)->isVisible();
            return u"%1, %2 point"_s.arg(shown ? u"shown" : u"hidden")
                       .arg(chart->profile().points.size()) +
                   u", out of date"_s.repeated(chart->isOutOfDate()) +
                   u", by distance"_s.repeated(chart->axis() == plenix::ProfileAxis::Distance);
        }
        const QWidget *focused = QApplication::focusWidget();
        const QDir dir(m_dir->path());
        QStringList recent;
        for (const QAction *item : control<QMenu>(u"recentMenu"_s)->actions())
            recent << item->text();
        const QHash<QString, QString> others{
            {u"cursor"_s, cursor()},
            {u"calls"_s, m_dialogs.calls.join(u',')},
            {u"title"_s, title()},
            {u"description"_s, control<QPlainTextEdit>(u"descriptionEdit"_s)->toPlainText()},
            {u"tooltips"_s,
             QString::number(!m_grid->toolTip().isEmpty() +
                             !control(u"calculateButton"_s)->toolTip().isEmpty() +
                             !control(u"descriptionEdit"_s)->toolTip().isEmpty()) +
                 u" on"_s.repeated(control<QAction>(u"toolTipsAction"_s)->isChecked())},
            {u"focus"_s, focused ? focused->objectName() : QString()},
            {u"popup"_s, m_popUp},
            {u"session"_s, m_sessionEnd},
            {u"status"_s, m_window->statusBar()->currentMessage()},
            {u"bytes"_s,
             coretest::readAll(path(u"bytes.txt"_s)) == EveryByte ? u"unchanged"_s : u"changed"_s},
            {u"recent"_s, u"(greyed) "_s.repeated(!control(u"recentMenu"_s)->isEnabled()) +
                              recent.join(u' ').replace(m_dir->path(), u"<dir>"_s)},
            {u"other"_s,
             coretest::readAll(path(u"other.txt"_s)) == OtherBytes ? u"unchanged"_s : u"changed"_s},
            {u"entries"_s,
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(u' ')},
            {u"windows"_s, QString::number(int(m_window->isVisible()) + int(m_other.isVisible()))},
        };
        if (!others.contains(name))
            qFatal("no probe %s", qPrintable(name));
        return others[name];
    }

    // A snapshot compared whole with its golden file under data/;
    // PLENIX_GOLDEN_WRITE=1 rewrites the file instead, for a reviewed diff.
    static void compareSnapshot(const QStringList &lines, const QString &name)
    {
        const QString snapshot = lines.join(u'\n') + u'\n';
        const QString golden = QStringLiteral(PLENIX_TESTS_DIR "/data/") + name;
        if (qEnvironmentVariableIsSet("PLENIX_GOLDEN_WRITE"))
            QVERIFY(coretest::writeAll(golden, snapshot.toUtf8()));
        QCOMPARE(snapshot, QString::fromUtf8(coretest::readAll(golden)));
    }

private Q_SLOTS:
    void initTestCase() { passOn = qInstallMessageHandler(recordWarnings); }
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

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

    void long_description_lines_save_what_the_box_shows_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        for (const std::vector<std::string> &c : coretest::caseFile("long-lines.cases")) {
            QTest::newRow(c.at(0).c_str())
                << QString::fromStdString(c.at(1)) << QString::fromStdString(c.at(2))
                << std::stoi(c.at(3)) << QString::fromStdString(c.at(4));
        }
    }

    void long_description_lines_save_what_the_box_shows()
    {
        QFETCH(QString, steps);
        QFETCH(QString, at);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        // "C", "2C", "C+N" and "C-N" count from the length of a paragraph.
        const auto number = [](QStringView text) {
            const qsizetype c = text.indexOf(u'C');
            return c < 0 ? text.toInt()
                         : (c > 0 ? text.first(c).toInt() : 1) * DescriptionEdit::ChunkChars +
                               (c + 1 < text.size() ? text.sliced(c + 1).toInt() : 0);
        };
        std::string line;
        for (int i = 0; i < 2 * DescriptionEdit::ChunkChars + 100; ++i)
            line += char('0' + i % 10);
        std::string stored = line + "\r\nend\r\n\r\nlast\r\n" + line;
        for (int i = 0; i < 800; ++i)
            stored += "\r\n" + std::string(80, 'q');
        const QString file = write(u"long.txt"_s, QByteArray::fromStdString("\x80" + stored));
        m_window->openFile(file);
        auto &box = *control<DescriptionEdit>(u"descriptionEdit"_s);
        QClipboard &clipboard = *QGuiApplication::clipboard();
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString arg = step.section(u':', 1);
            QTextCursor cursor = box.textCursor();
            if (step.startsWith(u"at:")) {
                cursor.setPosition(number(arg));
                box.setTextCursor(cursor);
            } else if (step.startsWith(u"select:")) {
                cursor.setPosition(number(arg.section(u',', 0, 0)));
                cursor.setPosition(number(arg.section(u',', 1)), QTextCursor::KeepAnchor);
                box.setTextCursor(cursor);
            } else if (step.startsWith(u"type:")) {
                QTest::keyClicks(&box, arg);
            } else if (step == u"copy") {
                box.copy();
            } else if (step.startsWith(u"paste")) {
                if (step == u"paste-long")
                    clipboard.setText(QString(2 * DescriptionEdit::ChunkChars + 5, u'p'));
                box.paste();
            } else {
                QTest::keyClick(&box, step == u"enter"    ? Qt::Key_Return
                                      : step == u"delete" ? Qt::Key_Delete
                                                          : Qt::Key_Backspace);
            }
        }
        std::string added;
        for (const QString &part : inserted.split(u'|')) {
            added += part.startsWith(u"p*") ? std::string(size_t(number(part.sliced(2))), 'p')
                                            : part.toStdString();
        }
        stored.replace(size_t(number(at)), size_t(removed), added);
        choose(u"saveAction"_s);
        QCOMPARE(coretest::readAll(file), QByteArray::fromStdString("\x80" + stored));
        QCOMPARE(descriptionBoxText(box),
                 QString::fromStdString(stored).replace(u"\r\n"_s, u"\n"_s));
    }

    // The view hands the core its measured size: Shift+Page Down stretches
    // the selection to the last wholly shown row, and a drag held past the
    // edge goes on scrolling until the button is let go.
    void view_measures_for_the_core()
    {
        QWidget *viewport = m_grid->viewport();
        clickCell(1, 2);
        QTest::keyClick(m_grid, Qt::Key_PageDown, Qt::ShiftModifier);
        const int end = table().selectionRow();
        // A row is wholly shown with the grid line below it.
        const auto bottom = [this](int row) {
            return m_grid->rowViewportPosition(row - 1) + m_grid->rowHeight(row - 1);
        };
        QVERIFY(bottom(end) <= viewport->height() && bottom(end + 1) > viewport->height());
        const QPoint from = cellPoint(2, 2), past(from.x(), viewport->height() + 5);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, past);
        const int first = table().topRow();
        QTRY_VERIFY(table().topRow() >= first + 2);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, past);
        const int stopped = table().topRow();
        QTest::qWait(200);
        QCOMPARE(table().topRow(), stopped);
    }

    // On the screen and at the scale factor this run was started with, every
    // label, the button, the menu titles and the grid's headings show in
    // full: each gets at least its size hint, inside the window. A picture
    // of the window is left beside the test for a reviewer's eye.
    void controls_show_in_full()
    {
        QVERIFY(m_window->screen()->availableGeometry().contains(m_window->frameGeometry()));
        QWidget *client = control(u"client"_s);
        // The labels and the button get their size hints; the two boxes
        // scroll, so they need only their own room.
        QRegion taken;
        for (const char *name : {"descriptionLabel", "itemsLabel", "calculateButton",
                                 "descriptionEdit", "routeView"}) {
            const QWidget *shown = control(QString::fromLatin1(name));
            const QSize hint =
                qobject_cast<const QAbstractScrollArea *>(shown) ? QSize(1, 1) : shown->sizeHint();
            QVERIFY2(shown->width() >= hint.width() && shown->height() >= hint.height() &&
                         client->rect().contains(shown->geometry()) &&
                         !taken.intersects(shown->geometry()),
                     name);
            taken += shown->geometry();
        }
        // The description box shows four lines at least.
        const auto *box = control<QPlainTextEdit>(u"descriptionEdit"_s);
        QVERIFY(box->viewport()->height() >= 4 * box->fontMetrics().lineSpacing());
        const QMenuBar *bar = m_window->menuBar();
        for (QAction *menu : bar->actions())
            QVERIFY2(bar->rect().contains(bar->actionGeometry(menu)), qPrintable(menu->text()));
        // A heading wraps at its spaces; no word of it, and no line, is cut.
        QHeaderView *top = m_grid->horizontalHeader();
        const int margin = top->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, top);
        for (int col = 0; col < top->count(); ++col) {
            const QString text = m_grid->model()->headerData(col, Qt::Horizontal).toString();
            const int room = top->sectionSize(col) - 2 * margin;
            const QRect needs = top->fontMetrics().boundingRect(QRect(0, 0, room, top->height()),
                                                                Qt::TextWordWrap, text);
            QVERIFY2(text.isEmpty() || (needs.width() <= room && needs.height() <= top->height()),
                     qPrintable(text));
        }
        const QHeaderView *side = m_grid->verticalHeader();
        QVERIFY(side->fontMetrics().horizontalAdvance(u"60"_s) + 2 * margin <= side->width());
        const QString shots = qEnvironmentVariable("PLENIX_SHOTS_DIR");
        if (!shots.isEmpty() && QDir().mkpath(shots))
            m_window->grab().save(
                shots + u'/' +
                u"window-at-%1x%2-scale-%3.png"_s.arg(m_window->screen()->size().width())
                    .arg(m_window->screen()->size().height())
                    .arg(qEnvironmentVariable("QT_SCALE_FACTOR", u"1"_s)));
    }

    // The chart's labels stand clear of the route line, whatever its width
    // and however many rows share it: each label's box meets none of the
    // line's steps.
    void profile_labels_keep_off_the_line()
    {
        run(u"profile set:1,2=1000 set:1,3=12 set:1,4=100 set:1,5=Main-duct-run set:2,6=0.5 "
            "set:2,5=Elbow-ninety set:3,4=10 set:3,5=Short-stub set:4,6=2 "
            "set:4,5=Damper-half-shut set:5,4=200 set:5,5=Long-run-to-the-end key:Return"_s);
        QChart *chart = control<QChartView>(u"profileView"_s)->chart();
        int labelled = 0;
        // Five rows, then sixty, whose slots get narrower than a label.
        for (const int width : {700, 1400, 560, 640, 1800}) {
            if (width == 560) {
                run(u"choice:Discard"_s);
                QVERIFY(
                    m_window->openFile(QStringLiteral(PLENIX_TESTS_DIR "/report/sixty-rows.txt")));
            }
            QTest::keyClick(m_grid, Qt::Key_Return);
            m_window->resize(width, 700);
            QTRY_COMPARE(m_window->width(), width);
            QApplication::processEvents();
            QList<QRectF> steps;
            for (QAbstractSeries *series : chart->series()) {
                auto *line = qobject_cast<QLineSeries *>(series);
                for (int i = 1; line && i < line->count(); ++i) {
                    const QPointF a = chart->mapToPosition(line->at(i - 1), line);
                    const QPointF b = chart->mapToPosition(line->at(i), line);
                    steps << QRectF(a, b).normalized().adjusted(-1, -1, 1, 1);
                }
            }
            for (QGraphicsItem *item : chart->childItems()) {
                const auto *label = dynamic_cast<QGraphicsSimpleTextItem *>(item);
                if (!label || label->zValue() != 10)
                    continue;
                ++labelled;
                const QRectF box = chart->mapRectFromScene(label->sceneBoundingRect());
                for (const QRectF &step : steps)
                    QVERIFY2(!box.intersects(step), qPrintable(label->text()));
            }
        }
        QVERIFY(labelled >= 20);
    }

    // A pass that stops says why in an information box; the question before
    // New offers Save, Discard and Cancel, and Discard goes on.
    void message_box_and_question()
    {
        setCell(1, 4, u"100"_s);
        setCell(1, 6, u"0.5"_s);
        QString seen;
        const auto read = [&seen](QWidget *shown) {
            auto *box = qobject_cast<QMessageBox *>(shown);
            if (!box)
                return shown->close(), void();
            seen = u"%1|%2|%3|%4|%5"_s.arg(box->windowTitle(), box->text())
                       .arg(box->icon())
                       .arg(box->standardButtons().toInt(), 0, 16)
                       .arg(box->defaultButton() ? box->defaultButton()->text() : QString());
            box->button(box->button(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Discard)
                ->click();
        };
        withQtDialogs(read, [this] { QTest::keyClick(m_grid, Qt::Key_Return); });
        QCOMPARE(seen, u"Plenix|Length and Loss Coef. entries should be on separate rows.\n"
                       "Inspect row: 1|1|400|"_s);
        withQtDialogs(read, [this] { choose(u"newAction"_s); });
        QCOMPARE(seen, u"plenix|Save changes to Untitled before closing?|2|c00800|Save"_s);
        QCOMPARE(cell(1, 4), QString());
    }

    // The radius prompt under a duct of diameter 12 shows the diameter and,
    // as 18 is typed, the ratio and the coefficient.
    void radius_prompt()
    {
        setCell(1, 3, u"12"_s);
        clickCell(2, 6);
        QStringList seen;
        const auto answer = [&](QWidget *prompt) {
            auto *reply = child<QLineEdit>(*prompt, u"replyEdit"_s);
            seen << prompt->windowTitle() << reply->text()
                 << child<QLabel>(*prompt, u"diameterLabel"_s)->text();
            QTest::keyClicks(reply, u"18"_s); // over the default, which is selected
            seen << child<QLabel>(*prompt, u"previewLabel"_s)->text();
            qobject_cast<QDialog *>(prompt)->accept();
        };
        withQtDialogs(answer, [this] { choose(u"elbow90Action"_s); });
        QCOMPARE(seen, (QStringList{u"plenix"_s, u"0"_s, u"Diameter in force: 12 in"_s,
                                    u"R/D = 1.5, coefficient 0.39"_s}));
        QCOMPARE(cell(2, 5), u"Elbow 90 deg 18 in clr"_s);
    }

    // The project's dialogs as Qt shows them: a route's new name, its
    // take-off, the job information, the fan side and the question before
    // a route with branches goes.
    void project_dialogs()
    {
        run(u"project:p.plenix openFile:p.plenix route:2"_s);
        const plenix::Project &project = m_window->documents().session().project();
        const auto typeInto = [](QWidget *dialog, const QString &name, const QString &text) {
            auto *edit = dialog->findChildren<QLineEdit *>().value(name.toInt());
            edit->selectAll();
            QTest::keyClicks(edit, text);
        };
        withQtDialogs(
            [&](QWidget *d) {
                typeInto(d, u"0"_s, u"East"_s), qobject_cast<QDialog *>(d)->accept();
            },
            [this] { choose(u"renameRouteAction"_s); });
        withQtDialogs(
            [](QWidget *d) {
                child<QComboBox>(*d, u"routeBox"_s)->setCurrentText(u"Branch B"_s);
                child<QSpinBox>(*d, u"rowBox"_s)->setValue(60);
                qobject_cast<QDialog *>(d)->accept();
            },
            [this] { choose(u"takeoffAction"_s); });
        // Opened again, it shows the take-off as it stands: OK changes nothing.
        withQtDialogs([](QWidget *d) { qobject_cast<QDialog *>(d)->accept(); },
                      [this] { choose(u"takeoffAction"_s); });
        withQtDialogs(
            [&](QWidget *d) {
                typeInto(d, u"1"_s, u"J-7"_s);
                typeInto(d, u"4"_s, u"AE"_s);
                typeInto(d, u"5"_s, u"BC"_s);
                typeInto(d, u"7"_s, u"C2"_s);
                qobject_cast<QDialog *>(d)->accept();
            },
            [this] { choose(u"projectPropertiesAction"_s); });
        withQtDialogs(
            [&](QWidget *d) {
                QTest::mouseClick(child<QPushButton>(*d, u"addItemButton"_s), Qt::LeftButton);
                auto *items = child<QTableWidget>(*d, u"itemTable"_s);
                // An item may be a name alone, its pressure to come.
                items->setItem(2, 0, new QTableWidgetItem(u"Coil"_s));
                typeInto(d, u"0"_s, u"10"_s);
                qobject_cast<QDialog *>(d)->accept();
            },
            [this] { QTest::mouseClick(control(u"fanSideButton"_s), Qt::LeftButton); });
        // Size Ducts on a classic route proposes the round size alone: the
        // route's size cells take no rectangle.
        QString classicRows;
        withQtDialogs(
            [&](QWidget *d) {
                auto *table = child<QTableWidget>(*d, u"proposalTable"_s);
                classicRows = u"%1 %2"_s.arg(table->isRowHidden(0)).arg(table->isRowHidden(1));
                qobject_cast<QDialog *>(d)->reject();
            },
            [this] { choose(u"sizeDuctsAction"_s); });
        QCOMPARE(classicRows, u"0 1"_s);
        // Project Settings: SI in the classic method is held back, with the
        // switch to the method that takes it offered.
        QString heldBack, airFields, chosenFlowUnit;
        withQtDialogs(
            [&](QWidget *d) {
                // Each way of giving the air opens its own fields only.
                for (int basis = 0; basis < 3; ++basis) {
                    child<QComboBox>(*d, u"airBox"_s)->setCurrentIndex(basis);
                    for (const QString &field : {u"elevationEdit"_s, u"densityEdit"_s})
                        airFields += child<QLineEdit>(*d, field)->isEnabled() ? u'+' : u'-';
                }
                // The site typed in feet and F is carried into metres and C.
                child<QComboBox>(*d, u"airBox"_s)->setCurrentIndex(1);
                typeInto(d, u"1"_s, u"5000"_s); // the elevation, after the roughness
                auto *flowUnit = child<QComboBox>(*d, u"flowUnitBox"_s);
                airFields += flowUnit->isEnabled() ? u'+' : u'-';
                child<QComboBox>(*d, u"unitsBox"_s)->setCurrentIndex(1);
                airFields += flowUnit->isEnabled() ? u'+' : u'-';
                flowUnit->setCurrentIndex(1);
                chosenFlowUnit = flowUnit->currentText();
                auto *ok = child<QDialogButtonBox>(*d, u"buttons"_s)->button(QDialogButtonBox::Ok);
                heldBack = child<QLabel>(*d, u"problemLabel"_s)->text() +
                           (ok->isEnabled() ? u" OK"_s : u" no OK"_s);
                QTest::mouseClick(child<QPushButton>(*d, u"switchMethodButton"_s), Qt::LeftButton);
                child<QComboBox>(*d, u"routeMaterialBox"_s)->setCurrentIndex(7);
                ok->click();
            },
            [this] { choose(u"projectSettingsAction"_s); });
        QCOMPARE(heldBack, u"SI units need the Darcy-Colebrook method. no OK"_s);
        // The flows' unit waits for SI.
        QCOMPARE(airFields, u"--+--+-+"_s);
        QVERIFY(project.settings.units == plenix::units::System::SI &&
                !project.settings.isClassic());
        QVERIFY(project.settings.air.basis == plenix::air::Basis::Site &&
                project.settings.air.elevation == 1524 &&
                std::abs(project.settings.air.temperature - 190.0 / 9) < 1e-6);
        QCOMPARE(project.routes[1].material, "flex");
        QCOMPARE(project.routes[0].document->table().cellText(1, 3), "508"); // 20 in
        // 4000 cfm in m3/h, by 1 cfm = 1.69901079552 m3/h exactly.
        // The unit chosen by its name is the one the project takes.
        QCOMPARE(chosenFlowUnit, u"m\u00b3/h"_s);
        QVERIFY(project.settings.flowUnit == plenix::units::FlowUnit::CubicMetresPerHour);
        QCOMPARE(project.routes[0].document->table().cellText(1, 2), "6796.04318208");
        // Size Ducts on the route shown, now in SI: its proposals for the flow
        // in force, and the rectangle applied to the selected run.
        clickCell(1, 2);
        QString proposed;
        withQtDialogs(
            [&](QWidget *d) {
                typeInto(d, u"1"_s, u"1"_s); // the friction rate, Pa/m
                proposed = child<QTableWidget>(*d, u"proposalTable"_s)->item(1, 1)->text();
                child<QComboBox>(*d, u"shapeBox"_s)->setCurrentIndex(1);
                qobject_cast<QDialog *>(d)->accept();
            },
            [this] { choose(u"sizeDuctsAction"_s); });
        QVERIFY(proposed.contains(u'x'));
        QCOMPARE(cell(1, 3), proposed);
        QCOMPARE(project.routes[1].name, "East");
        QCOMPARE(project.routes[1].takeoff->route, "Branch B");
        QCOMPARE(project.routes[1].takeoff->row, 60);
        QVERIFY(project.job.number == "J-7" && project.job.designer == "AE" &&
                project.job.checker == "BC" && project.job.revision == "C2");
        QVERIFY(project.fanItems.size() == 3 && project.fanItems[2].name == "Coil" &&
                project.fanItems[2].pressure.empty() && project.safetyFactor == "10");
        choose(u"addRouteAction"_s);
        run(u"route:2"_s);
        // Enter on the question is No: nothing goes by a slip of the key.
        withQtDialogs([](QWidget *d) { QTest::keyClick(d, Qt::Key_Return); },
                      [this] { choose(u"deleteRouteAction"_s); });
        QCOMPARE(project.routes.size(), std::size_t{4});
        withQtDialogs(
            [](QWidget *d) { qobject_cast<QMessageBox *>(d)->button(QMessageBox::Yes)->click(); },
            [this] { choose(u"deleteRouteAction"_s); });
        QCOMPARE(project.routes.size(), std::size_t{2});
    }

    // The fitting library as Qt shows it, by keyboard alone: a search, Down
    // into the list, Tab to the parameter, a value and Return. The row is
    // one step of the history.
    void fitting_library_dialog()
    {
        run(u"project:p.plenix openFile:p.plenix at:2,6"_s);
        QStringList seen;
        withQtDialogs(
            [&](QWidget *d) {
                QTest::keyClicks(QApplication::focusWidget(), u"bellmouth"_s);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(QApplication::focusWidget(), u"0.05"_s);
                seen << child<QLabel>(*d, u"nameLabel"_s)->text()
                     << child<QLabel>(*d, u"coefficientLabel"_s)->text();
                QVERIFY(!child<QLabel>(*d, u"drawingLabel"_s)->pixmap().isNull());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            },
            [this] { choose(u"fittingLibraryAction"_s); });
        QCOMPARE(seen,
                 (QStringList{u"Entry, bellmouth, without end wall"_s,
                              u"C 0.4 on the velocity pressure of the fitting's own section"_s}));
        QCOMPARE(cell(2, 5), u"Entry, bellmouth, without end wall, r/D 0.05"_s);
        QCOMPARE(cell(2, 6), u"0.4"_s);
        choose(u"undoAction"_s);
        QCOMPARE(cell(2, 5), u"Elbow R/D 1.5"_s);
        QCOMPARE(cell(2, 6), u"0.22"_s);
        // The values the route gives are left to it: Return in the search
        // box inserts the tee with none written. Its fields end in one line
        // though their ranges ("0 to 1", "0.1 to 1") differ in length.
        QList<int> fieldEnds;
        withQtDialogs(
            [&fieldEnds](QWidget *d) {
                QTest::keyClicks(QApplication::focusWidget(), u"diverging branch"_s);
                d->layout()->activate();
                for (const QString &name : {u"parameterEdit0"_s, u"parameterEdit1"_s})
                    fieldEnds << child<QLineEdit>(*d, name)->geometry().right();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            },
            [this] { choose(u"fittingLibraryAction"_s); });
        QCOMPARE(cell(2, 5), u"Tee, 90 deg, diverging, branch"_s);
        QCOMPARE(fieldEnds.size(), 2);
        QCOMPARE(fieldEnds.first(), fieldEnds.last());
    }

    // Save As onto an existing file replaces it without a question, then
    // Open reads it back.
    void file_dialogs()
    {
        QString file = write(u"typed.txt"_s, "old contents");
        setCell(1, 2, u"640"_s);
        QString offered;
        const auto typeName = [&](QWidget *shown) {
            if (!qobject_cast<QFileDialog *>(shown))
                return shown->close(), void();
            // Set rather than typed: typing opens the completer's pop-up
            // whenever the folder listing arrives.
            auto *name = child<QLineEdit>(*shown, u"fileNameEdit"_s);
            offered = name->text();
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        };
        withQtDialogs(typeName, [this] { choose(u"saveAsAction"_s); });
        choose(u"newAction"_s);
        withQtDialogs(typeName, [this] { choose(u"openAction"_s); });
        QCOMPARE(cell(1, 2), u"640"_s);
        QCOMPARE(title(), u"Plenix - typed"_s);
        // Open offered the file last saved.
        QCOMPARE(offered, u"typed.txt"_s);
    }

    // Save As gives a name typed without an extension the chosen format's,
    // and leaves one with any extension as typed.
    void save_as_names_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter"); // "" for the one offered first
        QTest::addColumn<QString>("saved");
        QTest::newRow("bare") << u"bare"_s << QString() << u"bare.txt"_s;
        QTest::newRow("with a space") << u"Level 2"_s << QString() << u"Level 2.txt"_s;
        QTest::newRow("capitals") << u"PLAN.TXT"_s << QString() << u"PLAN.TXT"_s;
        QTest::newRow("another extension") << u"riser.v2"_s << QString() << u"riser.v2"_s;
        QTest::newRow("ending in a dot") << u"east."_s << QString() << u"east."_s;
        QTest::newRow("the project format")
            << u"system"_s << u"Plenix Projects (*.plenix)"_s << u"system.plenix"_s;
        QTest::newRow("a route named as a project")
            << u"west.txt"_s << u"Plenix Projects (*.plenix)"_s << u"west.txt"_s;
    }

    void save_as_names()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QFETCH(QString, saved);
        setCell(1, 2, u"640"_s);
        const auto typeName = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QFileDialog *>(shown);
            if (!dialog)
                return shown->close(), void();
            if (!filter.isEmpty())
                dialog->selectNameFilter(filter), Q_EMIT dialog->filterSelected(filter);
            auto *name = child<QLineEdit>(*shown, u"fileNameEdit"_s);
            name->setText(path(typed));
            QTest::keyClick(name, Qt::Key_Return);
        };
        withQtDialogs(typeName, [this] { choose(u"saveAsAction"_s); });
        QCOMPARE(QDir(m_dir->path()).entryList({u"*"_s + typed.left(3) + u'*'}, QDir::Files),
                 QStringList{saved});
    }

    // The preview shows the report's pages. With a printer named in
    // PLENIX_REPORT_PRINTER (the default printer of the spooler the report
    // test starts), the report is printed from it.
    void preview_shows_and_prints_the_report()
    {
        QVERIFY(m_window->openFile(QStringLiteral(PLENIX_TESTS_DIR "/report/sixty-rows.txt")));
        QTest::keyClick(m_grid, Qt::Key_Return);
        const QString printer = qEnvironmentVariable("PLENIX_REPORT_PRINTER");
        int pages = 0;
        const auto look = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QPrintPreviewDialog *>(shown);
            auto *preview = shown->findChild<QPrintPreviewWidget *>();
            if (!dialog || !preview)
                return shown->close(), void();
            pages = preview->pageCount();
            if (!printer.isEmpty() && dialog->printer()->printerName() == printer)
                preview->print();
            dialog->reject();
        };
        withQtDialogs(look, [this] { choose(u"printReportAction"_s); });
        QVERIFY2(pages >= 2 && pages <= 3, qPrintable(QString::number(pages)));
        // Export PDF too, on the paper it chooses by itself.
        if (const QString exported = qEnvironmentVariable("PLENIX_REPORT_EXPORT");
            !exported.isEmpty()) {
            m_dialogs.fileNames << exported;
            choose(u"exportPdfAction"_s);
            QVERIFY(QFileInfo(exported).size() > 0);
        }
    }

    // Every text the window shows after a short session, whole: title,
    // menus, labels, the headers as the view shows them (row numbers too),
    // the first rows, the status bar, the tooltips of a few cells, and the
    // list Tools > Send List to Clipboard gives.
    // PLENIX_GOLDEN_WRITE=1 rewrites the golden file; read the diff.
    void visible_text_snapshot()
    {
        run(u"at:1,2 type:1000 at:1,3 type:12 at:1,4 type:100 at:2,5 type:Elbow at:2,6 "
            "type:0.28 at:3,5 type:Supply press:calculateButton at:1,4 type:5 "
            "focus:descriptionEdit type:East"_s);
        QStringList lines{u"title: "_s + title()};
        for (const QAction *top : m_window->menuBar()->actions()) {
            lines << u"menu: "_s + top->text();
            for (const QAction *item : top->menu()->actions())
                lines << u"  "_s + (item->isSeparator() ? u"----"_s : item->text()) +
                             (item->shortcut().isEmpty()
                                  ? QString()
                                  : u"  ["_s + item->shortcut().toString() + u']');
        }
        for (const QWidget *widget : m_window->centralWidget()->findChildren<QWidget *>()) {
            if (const auto *label = qobject_cast<const QLabel *>(widget);
                label && label->isVisible())
                lines << u"label: "_s + label->text();
            if (const auto *button = qobject_cast<const QPushButton *>(widget))
                lines << u"button: "_s + button->text();
        }
        const QAbstractItemModel *model = m_grid->model();
        QStringList columns;
        for (int col = 0; col < model->columnCount(); ++col) {
            if (!m_grid->isColumnHidden(col))
                columns << model->headerData(col, Qt::Horizontal).toString().remove(Joiner);
        }
        lines << u"columns: "_s + columns.join(u" | "_s);
        const QHeaderView *rows = m_grid->verticalHeader();
        const int first = rows->logicalIndexAt(0), last = rows->logicalIndexAt(rows->height() - 1);
        lines << u"row numbers shown: %1 to %2"_s.arg(
            model->headerData(first, Qt::Vertical).toString(),
            model->headerData(last, Qt::Vertical).toString());
        for (int row = first; row < first + 4; ++row) {
            QStringList cells{model->headerData(row, Qt::Vertical).toString()};
            for (int col = 1; col <= 10; ++col)
                cells << shown(row + 1, col);
            lines << u"row: "_s + cells.join(u" | "_s);
        }
        lines << u"grid tooltip: "_s + m_grid->toolTip();
        lines << u"status: "_s + m_window->statusBar()->currentMessage();
        for (const char *tip : {"tip:1,4", "tip:1,10", "tip:2,6", "tip:5,5"})
            lines << QString::fromLatin1(tip) + u": "_s + probe(QString::fromLatin1(tip));
        choose(u"copyListAction"_s);
        lines << u"list on the clipboard:"_s
              << QGuiApplication::clipboard()->text().replace(u'\t', u" | "_s).split(u'\r');
        compareSnapshot(lines, u"window-snapshot.txt"_s);
    }

    // The same for a project, with its route shown second: the title, the
    // panels' titles, the route list and the System panel whole, their
    // buttons, and the first rows of the route shown.
    void project_text_snapshot()
    {
        run(u"project:p.plenix openFile:p.plenix route:2"_s);
        QStringList lines{u"title: "_s + title()};
        for (const QDockWidget *dock : m_window->findChildren<QDockWidget *>()) {
            lines << u"panel: "_s + dock->windowTitle() +
                         (dock->isVisible() ? QString() : u" (hidden)"_s);
            for (const auto *button : dock->findChildren<QPushButton *>())
                lines << u"  button: "_s + button->text() + u" / "_s + button->toolTip();
            for (const auto *tree : dock->findChildren<QTreeWidget *>()) {
                QStringList header;
                for (int col = 0; col < tree->columnCount(); ++col)
                    header << tree->headerItem()->text(col);
                lines << u"  columns: "_s + header.join(u" | "_s);
                for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                    QStringList cells;
                    for (int col = 0; col < tree->columnCount(); ++col)
                        cells << tree->topLevelItem(i)->text(col);
                    lines << u"  item: "_s + cells.join(u" | "_s) + u" / "_s +
                                 tree->topLevelItem(i)->toolTip(0);
                }
            }
            for (const auto *table : dock->findChildren<QTableWidget *>()) {
                QStringList header;
                for (int col = 0; col < table->columnCount(); ++col)
                    header << (table->horizontalHeaderItem(col)
                                   ? table->horizontalHeaderItem(col)->text()
                                   : QString());
                lines << u"  columns: "_s + header.join(u" | "_s);
                for (int row = 0; row < table->rowCount(); ++row)
                    lines << u"  row: "_s + probe(u"systemRow:%1"_s.arg(row));
            }
        }
        for (int row = 1; row <= 3; ++row) {
            QStringList cells;
            for (int col = 1; col <= 10; ++col)
                cells << shown(row, col);
            lines << u"route row: "_s + cells.join(u" | "_s);
        }
        lines << u"status: "_s + m_window->statusBar()->currentMessage();
        compareSnapshot(lines, u"project-window-snapshot.txt"_s);
    }

    // An access key two items of one menu share only moves between them.
    void access_keys_are_unique_in_each_menu()
    {
        QList<QWidget *> menus{m_window->menuBar()};
        for (QMenu *menu : m_window->findChildren<QMenu *>())
            menus << menu;
        for (const QWidget *menu : std::as_const(menus)) {
            QStringList keys;
            for (const QAction *action : menu->actions()) {
                const QString key = QKeySequence::mnemonic(action->text()).toString();
                QVERIFY2(key.isEmpty() || !keys.contains(key), qPrintable(action->text()));
                keys << key;
            }
        }
    }

    // Help > About: modal over the main window, which takes no input
    // meanwhile, showing this build's version; OK, Enter and Escape close it.
    void about_box()
    {
        setCell(1, 4, u"100"_s);
        for (const int key : {0, int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
            QPointer<QWidget> seen;
            QString version;
            const auto answer = [&](QWidget *shown) {
                seen = shown;
                version = child<QLabel>(*shown, u"versionLabel"_s)->text();
                QTest::keyClick(m_window->windowHandle(), Qt::Key_Return);
                if (key)
                    QTest::keyClick(shown, Qt::Key(key));
                else
                    QTest::mouseClick(child<QPushButton>(*shown, u"okButton"_s), Qt::LeftButton);
            };
            m_guard.expect(answer);
            choose(u"aboutAction"_s);
            QVERIFY(seen.isNull() && version.endsWith(QStringLiteral(" " PLENIX_VERSION_STRING)));
        }
        QCOMPARE(cell(1, 10), QString());
        QVERIFY(m_dialogs.calls.isEmpty());
    }

    // A program of the list found on the PATH starts detached and the
    // dialog stays open; with none, a message says so.
    void system_info()
    {
        const QStringList order = AboutDialog::systemInfoPrograms();
        const QByteArray savedPath = qgetenv("PATH");
        AboutDialog dialog;
        dialog.show();
        const auto press = [&dialog](const QString &path) {
            qputenv("PATH", QFile::encodeName(path));
            QTest::mouseClick(child<QPushButton>(dialog, u"systemInfoButton"_s), Qt::LeftButton);
        };
        press(QString());
        const QString started = path(u"started"_s);
        const QString program =
            write(order.constLast(), "#!/bin/sh\necho > '" + QFile::encodeName(started) + "'\n");
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        press(m_dir->path());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(started), 10000);
        qputenv("PATH", savedPath);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QVERIFY(dialog.isVisible());
    }

    // The window starts under X11, under Wayland, or on a platform named;
    // with none of them it says there is no display.
    void display_is_found_data()
    {
        QTest::addColumn<QStringList>("set"); // of DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
        QTest::addColumn<bool>("found");
        QTest::newRow("X11") << QStringList{u"DISPLAY"_s} << true;
        QTest::newRow("Wayland") << QStringList{u"WAYLAND_DISPLAY"_s} << true;
        QTest::newRow("a platform named") << QStringList{u"QT_QPA_PLATFORM"_s} << true;
        QTest::newRow("none") << QStringList{} << false;
    }

    void display_is_found()
    {
        QFETCH(QStringList, set);
        QFETCH(bool, found);
        const QList<QByteArray> names{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        QList<QByteArray> saved;
        for (const QByteArray &name : names) {
            saved << qgetenv(name.constData());
            qunsetenv(name.constData());
            if (set.contains(QString::fromLatin1(name)))
                qputenv(name.constData(), "x");
        }
        const bool seen = plenix::isDisplayAvailable();
        for (qsizetype i = 0; i < names.size(); ++i)
            saved[i].isNull() ? qunsetenv(names[i].constData())
                              : qputenv(names[i].constData(), saved[i]);
        QCOMPARE(seen, found);
    }

    // Help Topics shows the help file this build was made with, or says it
    // is missing. The help window does not block its owner, and shown again
    // it is the same window, back at the contents. A file that cannot be
    // shown is reported, no file at all in an information box.
    void help_window()
    {
        choose(u"helpTopicsAction"_s);
        const bool helpThere = QFileInfo(helpFilePath()).isFile();
        QCOMPARE(m_window->findChildren<HelpWindow *>().size(), int(helpThere));
        m_dialogs = FakeDialogs();
        delete m_window->findChild<HelpWindow *>();
        const QString file =
            write(u"help.html"_s, "<h1>Contents</h1>" + QByteArray("<p>Filler</p>").repeated(200) +
                                      "<h2><a name=\"far\"></a>Far</h2>");
        showHelpContents(m_window.get(), file);
        auto *help = m_window->findChild<HelpWindow *>();
        QVERIFY(help && QTest::qWaitForWindowExposed(help) && !QApplication::activeModalWidget());
        // A link followed can be gone back on.
        QVERIFY(!child<QPushButton>(*help, u"helpBack"_s)->isEnabled());
        help->browser()->setSource(QUrl(u"#far"_s));
        QVERIFY(child<QPushButton>(*help, u"helpBack"_s)->isEnabled());
        help->close();
        showHelpContents(m_window.get(), file);
        QCOMPARE(m_window->findChildren<HelpWindow *>().size(), 1);
        QVERIFY(help->isVisible() && help->browser()->toPlainText().startsWith(u"Contents"_s));
        QCOMPARE(help->browser()->verticalScrollBar()->value(), 0);
        // The contents again start a new history.
        QVERIFY(!child<QPushButton>(*help, u"helpBack"_s)->isEnabled());
        showHelpContents(m_window.get(), path(u"missing.html"_s));
        showHelpContents(m_window.get(), QString());
        QCOMPARE(m_dialogs.calls, (QStringList{u"message"_s, u"information"_s}));
        QVERIFY(m_dialogs.messages[0].contains(u"missing.html"_s));
        // Run from its build folder, the program shows the source's copy;
        // installed anywhere else, the file it was configured with.
        const QString build = m_dir->path(), installed = QDir::tempPath();
        QCOMPARE(helpFilePath(u"/usr/h.html"_s, u"/src/h.html"_s, build, build), u"/src/h.html"_s);
        QCOMPARE(helpFilePath(u"/usr/h.html"_s, u"/src/h.html"_s, build, installed),
                 u"/usr/h.html"_s);
    }

    // A wide red widget with a blue lower right quarter, printed as the menu
    // prints the window: one landscape page, the widget scaled to fit with
    // its proportions kept.
    void window_image_on_one_page()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(u"pdftoppm"_s);
        if (pdftoppm.isEmpty())
            QSKIP("poppler-utils (pdftoppm) is not installed");
        QWidget widget;
        widget.resize(600, 300);
        widget.setStyleSheet(u"background: red"_s);
        QWidget block(&widget);
        block.setGeometry(300, 150, 300, 150);
        block.setStyleSheet(u"background: blue"_s);
        {
            QPdfWriter writer(path(u"window.pdf"_s));
            QVERIFY(paintWidgetPage(widget, writer));
        }
        const QStringList arguments{u"-r"_s, u"30"_s, u"-png"_s, path(u"window.pdf"_s),
                                    path(u"page"_s)};
        QCOMPARE(QProcess::execute(pdftoppm, arguments), 0);
        QVERIFY(!QFile::exists(path(u"page-2.png"_s)));
        const QImage page(path(u"page-1.png"_s));
        QRect painted; // where the page is not white
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 200)
                    painted |= QRect(x, y, 1, 1);
            }
        }
        const auto at = [&](int x, int y) {
            const QRgb pixel = page.pixel(painted.x() + painted.width() * x / 4,
                                          painted.y() + painted.height() * y / 4);
            return qRed(pixel) > qBlue(pixel) ? "r" : "b";
        };
        QVERIFY(page.width() > page.height() && painted.width() > page.width() * 7 / 10);
        QVERIFY(qAbs(painted.width() - 2 * painted.height()) <= 3);
        QCOMPARE(QByteArray(at(1, 1)) + at(3, 1) + at(1, 3) + at(3, 3), "rrrb");
    }
};

WINDOWTEST_MAIN(WindowTest)
#include "tst_app_window.moc"
