// New, Open, Save and Save As on real files in a temporary folder: what
// reaches the disk, what comes back, and that a failure leaves both the file
// and the window as they were.
#include "apptest.h"
#include "coretest.h"

#include "documentcommands.h"
#include "routefileio.h"

#include "calculation.h"
#include "document.h"
#include "routetable.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <vector>

using plenix::RouteTable;

namespace {
// The parts of the main window the document commands work on.
struct DocumentWindow
{
    DocumentWindow()
    {
        table.sbGridSetup();
        window.setWindowTitle(fnCaptionText(state));
    }

    QWidget window;
    QPlainTextEdit *description = new QPlainTextEdit(&window);
    RouteTable table;
    plenix::DocumentState state;
    DocumentCommands commands{table, *description, state, window};
};

// Everything a failed command must leave alone.
struct Snapshot
{
    std::vector<std::string> cells;
    QString description;
    QString caption;
    std::string docPath;
    std::string docName;

    explicit Snapshot(const DocumentWindow &w)
        : description(w.description->toPlainText()), caption(w.window.windowTitle()),
          docPath(w.state.DocPath), docName(w.state.DocName)
    {
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col <= RouteTable::DataCols; ++col)
                cells.push_back(w.table.CellText(row, col));
        }
    }
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A small route with a gap row, a fitting and a text row, calculated.
void fillCalculatedRoute(RouteTable &table)
{
    table.setCellText(1, RouteTable::ColQty, "1");
    table.setCellText(1, RouteTable::ColFlow, "1000");
    table.setCellText(1, RouteTable::ColDiameter, "12");
    table.setCellText(1, RouteTable::ColLength, "100");
    table.setCellText(2, RouteTable::ColDescription, "Elbow 90 deg 18 in clr");
    table.setCellText(2, RouteTable::ColLossCoef, "0.39");
    table.setCellText(3, RouteTable::ColDescription, "Caf\xE9 branch");
    table.setCellText(5, RouteTable::ColLength, "20");
    QVERIFY(!plenix::sbCalculate(table).stopped);
    QVERIFY(!table.CellText(5, RouteTable::ColRouteSP).empty());
}
} // namespace

using namespace Qt::StringLiterals;

class DocumentsTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<apptest::FakeDialogs> m_dialogs;
    std::unique_ptr<DocumentWindow> m_w;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    // The texts of the message boxes shown so far.
    QStringList messages() const
    {
        QStringList texts;
        for (const apptest::DialogCall &call : std::as_const(m_dialogs->calls)) {
            if (call.kind == u"message" || call.kind == u"information")
                texts.append(call.text);
        }
        return texts;
    }

    // A window that has opened a small route file, the usual starting point
    // of the failure cases.
    QString openSample()
    {
        const QString sample = path(QStringLiteral("sample.txt"));
        writeAll(sample,
                 QByteArrayLiteral("1\t500\t8\t\t\t\t\t\t\t\r\t\t\t20\t\t\t\t\t\t\x80Main\r\nrun"));
        if (!m_w->commands.fnOpenPath(sample))
            return {};
        return sample;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = std::make_unique<apptest::FakeDialogs>();
        Dialogs::setInstance(m_dialogs.get());
        m_w = std::make_unique<DocumentWindow>();
    }

    void cleanup()
    {
        m_w.reset();
        Dialogs::setInstance(nullptr);
        m_dialogs.reset();
        m_dir.reset();
    }

    void calculatedRoute_savedClearedAndOpened_comesBackWhole()
    {
        fillCalculatedRoute(m_w->table);
        m_w->description->setPlainText(QStringLiteral("Supply to level 2\nCaf\u00E9 wing"));
        const Snapshot before(*m_w);
        const QString file = path(QStringLiteral("Level 2.txt"));

        m_dialogs->fileNames = {file};
        m_w->commands.sbSaveAs();
        QCOMPARE(m_w->window.windowTitle(), QStringLiteral("Plenix - Level 2"));
        QCOMPARE(QString::fromStdString(m_w->state.DocPath), file);

        // The file: the used rows as TAB and CR separated cells, the
        // separator, the description with CR LF.
        const QByteArray saved = readAll(file);
        const qsizetype separator = saved.indexOf('\x80');
        QVERIFY(separator > 0);
        QCOMPARE(saved.mid(separator + 1), QByteArray("Supply to level 2\r\nCaf\xE9 wing"));
        const QList<QByteArray> rows = saved.left(separator).split('\r');
        QCOMPARE(rows.size(), 5);
        for (int row = 1; row <= 5; ++row) {
            const QList<QByteArray> fields = rows.at(row - 1).split('\t');
            QCOMPARE(fields.size(), int{RouteTable::DataCols});
            for (int col = 1; col <= RouteTable::DataCols; ++col)
                QCOMPARE(fields.at(col - 1).toStdString(), m_w->table.CellText(row, col));
        }

        m_w->commands.sbNew();
        QCOMPARE(m_w->window.windowTitle(), QStringLiteral("Plenix - Untitled"));
        QVERIFY(m_w->state.DocPath.empty());
        QVERIFY(m_w->description->toPlainText().isEmpty());
        QCOMPARE(m_w->table.CellText(1, RouteTable::ColFlow), std::string());
        QCOMPARE(m_w->table.CellText(0, RouteTable::ColFlow), std::string("Flow, cfm"));

        m_dialogs->fileNames = {file};
        m_w->commands.sbOpen();
        QVERIFY(messages().isEmpty());
        const Snapshot reopened(*m_w);
        QCOMPARE(reopened.cells, before.cells);
        QCOMPARE(reopened.description, before.description);
        QCOMPARE(reopened.caption, QStringLiteral("Plenix - Level 2"));

        // Saved again without a change: the same bytes, written in place.
        const qsizetype dialogsShown = m_dialogs->calls.size();
        m_w->commands.sbSave();
        QCOMPARE(m_dialogs->calls.size(), dialogsShown);
        QCOMPARE(readAll(file), saved);
    }

    void everyByteValue_opensAndSavesBackIdentical()
    {
        // Cells take every byte but TAB, CR and the separator, which divide the
        // text; the description takes all 256, its line break as CR LF.
        QList<QByteArray> cells;
        QByteArray cell;
        for (int byte = 0; byte < 256; ++byte) {
            if (byte == '\t' || byte == '\r' || byte == 0x80)
                continue;
            cell.append(static_cast<char>(byte));
            if (cell.size() == 7) {
                cells.append(cell);
                cell.clear();
            }
        }
        cells.append(cell);
        while (cells.size() % RouteTable::DataCols != 0)
            cells.append(QByteArray());
        QByteArray grid;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                grid += (i % RouteTable::DataCols == 0) ? '\r' : '\t';
            grid += cells.at(i);
        }
        QByteArray description;
        for (int byte = 0; byte < 256; ++byte) {
            if (byte == '\n')
                continue;
            description.append(static_cast<char>(byte));
            if (byte == '\r')
                description.append('\n');
        }
        const QByteArray content = grid + '\x80' + description;
        const QString file = path(QStringLiteral("bytes.txt"));
        writeAll(file, content);

        QVERIFY(m_w->commands.fnOpenPath(file));
        QVERIFY(messages().isEmpty());
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const int row = static_cast<int>(i / RouteTable::DataCols) + 1;
            const int col = static_cast<int>(i % RouteTable::DataCols) + 1;
            QCOMPARE(m_w->table.CellText(row, col), cells.at(i).toStdString());
        }
        // The unassigned bytes show as the control characters of their code.
        const QString shown = m_w->description->toPlainText();
        for (const char16_t unassigned : {u'\x81', u'\x8D', u'\x8F', u'\x90', u'\x9D'})
            QVERIFY(shown.contains(QChar(unassigned)));
        QVERIFY(shown.contains(QChar(0x20AC))); // 0x80, the euro sign

        m_w->commands.sbSave();
        QVERIFY(messages().isEmpty());
        QCOMPARE(readAll(file), content);
    }

    void loneLineBreaksInDescription_comeBackAsCrLf()
    {
        const QString file = path(QStringLiteral("breaks.txt"));
        writeAll(file, QByteArrayLiteral("\t1\t\t\t\t\t\t\t\t\x80one\rtwo\nthree\r\n"));
        QVERIFY(m_w->commands.fnOpenPath(file));
        QCOMPARE(m_w->description->toPlainText(), QStringLiteral("one\ntwo\nthree\n"));
        m_w->commands.sbSave();
        QCOMPARE(readAll(file), QByteArray("\t1\t\t\t\t\t\t\t\t\x80one\r\ntwo\r\nthree\r\n"));
    }

    void saveAfterOpen_writesInPlaceWithoutDialog()
    {
        const QString file = openSample();
        QVERIFY(!file.isEmpty());
        const QString caption = m_w->window.windowTitle();
        QCOMPARE(caption, QStringLiteral("Plenix - sample"));
        m_w->table.setCellText(2, RouteTable::ColFlow, "750");
        m_w->description->setPlainText(QStringLiteral("Main run"));

        m_w->commands.sbSave();

        QVERIFY(m_dialogs->calls.isEmpty());
        QCOMPARE(m_w->window.windowTitle(), caption);
        QCOMPARE(readAll(file),
                 QByteArray("1\t500\t8\t\t\t\t\t\t\t\r\t750\t\t20\t\t\t\t\t\t\x80Main run"));
    }

    void saveWhileUntitled_asksForName_data()
    {
        QTest::addColumn<bool>("openFirst");
        QTest::newRow("at start-up") << false;
        QTest::newRow("after New following an Open") << true;
    }

    void saveWhileUntitled_asksForName()
    {
        QFETCH(bool, openFirst);
        if (openFirst) {
            QVERIFY(!openSample().isEmpty());
            m_w->commands.sbNew();
        }
        m_dialogs->calls.clear();
        const QString file = path(QStringLiteral("A.txt"));
        m_dialogs->fileNames = {file};

        m_w->commands.sbSave();

        QCOMPARE(m_dialogs->calls.size(), 1);
        QCOMPARE(m_dialogs->calls.at(0).kind, QStringLiteral("saveFileName"));
        QCOMPARE(m_dialogs->calls.at(0).title, QStringLiteral("Save As"));
        QCOMPARE(m_dialogs->calls.at(0).text, QStringLiteral("Text Files (*.txt)"));
        QCOMPARE(readAll(file), QByteArray("\x80"));
        QCOMPARE(m_w->window.windowTitle(), QStringLiteral("Plenix - A"));
    }

    void saveAs_captionShowsTheFileName_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("shown");
        QTest::newRow("route extension dropped") << u"Level 2.txt"_s << u"Plenix - Level 2"_s;
        QTest::newRow("in any letter case") << u"Main.TXT"_s << u"Plenix - Main"_s;
        QTest::newRow("no extension kept whole") << u"Main"_s << u"Plenix - Main"_s;
        QTest::newRow("other extension kept") << u"route.csv"_s << u"Plenix - route.csv"_s;
        // Qt's title placeholder must not eat part of a file's name.
        QTest::newRow("title placeholder") << u"plan[*].txt"_s << u"Plenix - plan[*]"_s;
    }

    void saveAs_captionShowsTheFileName()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, shown);
        m_dialogs->fileNames = {path(fileName)};

        m_w->commands.sbSaveAs();

        m_w->window.winId();
        QCOMPARE(m_w->window.windowHandle()->title(), shown);
    }

    void fileDialogs_offerLastChosenName_andCancelChangesNothing()
    {
        const QString sample = openSample();
        QVERIFY(!sample.isEmpty());
        const QString other = path(QStringLiteral("other.txt"));

        // Cancelled Save As: nothing written, nothing changed.
        const Snapshot before(*m_w);
        m_w->commands.sbSaveAs();
        QVERIFY(Snapshot(*m_w) == before);
        QVERIFY(!QFile::exists(other));

        m_dialogs->fileNames = {other};
        m_w->commands.sbSaveAs();
        m_dialogs->fileNames = {QString()};
        m_w->commands.sbOpen();
        QCOMPARE(m_w->state.DocPath, other.toStdString());

        QCOMPARE(m_dialogs->calls.size(), 3);
        QCOMPARE(m_dialogs->calls.at(0).initial, QString());
        QCOMPARE(m_dialogs->calls.at(1).initial, QString());
        QCOMPARE(m_dialogs->calls.at(2).kind, QStringLiteral("openFileName"));
        QCOMPARE(m_dialogs->calls.at(2).title, QStringLiteral("Open"));
        QCOMPARE(m_dialogs->calls.at(2).text, QStringLiteral("Text Files (*.txt)"));
        QCOMPARE(m_dialogs->calls.at(2).initial, other);

        // A name chosen in Open is offered by the next Save As, even when the
        // Open failed.
        const QString missing = path(QStringLiteral("missing.txt"));
        m_dialogs->fileNames = {missing};
        m_w->commands.sbOpen();
        m_w->commands.sbSaveAs();
        QCOMPARE(m_dialogs->calls.last().kind, QStringLiteral("saveFileName"));
        QCOMPARE(m_dialogs->calls.last().initial, missing);
        QVERIFY(messages().size() == 1);
    }

    void failedOpen_changesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file")
            << QStringLiteral("missing.txt") << QStringLiteral("Error: No such file or directory");
        QTest::newRow("directory")
            << QStringLiteral("folder.txt") << QStringLiteral("Error: Is a directory");
        QTest::newRow("no separator")
            << QStringLiteral("letter.txt")
            << QStringLiteral("Error: the file is not a route file (no separator byte found)");
        QTest::newRow("larger than 64 MiB")
            << QStringLiteral("huge.txt") << QStringLiteral("Error: File too large");
    }

    void failedOpen_changesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.txt")));
        writeAll(path(QStringLiteral("letter.txt")), "Dear Sir,\r\nthe ducts\t are\rready.");
        {
            QFile huge(path(QStringLiteral("huge.txt")));
            QVERIFY(huge.open(QIODevice::WriteOnly));
            QVERIFY(huge.write("\t1\x80") == 3);
            QVERIFY(huge.resize(MaxRouteFileBytes + 1));
        }
        QVERIFY(!openSample().isEmpty());
        m_w->description->setPlainText(QStringLiteral("edited, not saved"));
        const Snapshot before(*m_w);
        const std::string docText = m_w->state.DocText;

        m_dialogs->fileNames = {path(name)};
        m_w->commands.sbOpen();

        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(m_dialogs->calls.last().title, QStringLiteral("plenix"));
        QVERIFY(Snapshot(*m_w) == before);
        QCOMPARE(m_w->state.DocText, docText);
    }

    void failedSave_leavesFileAndWindowAsTheyWere_data()
    {
        QTest::addColumn<QString>("target"); // empty: Save in place
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("stopAfter"); // bytes the writer takes, -1: all
        QTest::addColumn<QString>("message");

        const QString sampleText = QStringLiteral("Main\nrun");
        QTest::newRow("parent is a file") << QStringLiteral("sample.txt/route.txt") << sampleText
                                          << -1 << QStringLiteral("Error: Not a directory");
        QTest::newRow("target is a directory") << QStringLiteral("folder") << sampleText << -1
                                               << QStringLiteral("Error: Is a directory");
        QTest::newRow("write stops half way")
            << QString() << sampleText << 30
            << QStringLiteral("Error: only 30 of 50 bytes could be written");
        QTest::newRow("write takes nothing")
            << QString() << sampleText << 0
            << QStringLiteral("Error: only 0 of 50 bytes could be written");
        QTest::newRow("arrow in description")
            << QString() << QStringLiteral("to \u2192 branch") << -1
            << QStringLiteral("Error: the description holds the character \"\u2192\" (U+2192), "
                              "which a route file cannot store");
        QTest::newRow("CJK character, Save As")
            << QStringLiteral("new.txt") << QStringLiteral("duct \u6C34") << -1
            << QStringLiteral("Error: the description holds the character \"\u6C34\" (U+6C34), "
                              "which a route file cannot store");
        QTest::newRow("character beyond the BMP")
            << QString() << QStringLiteral("ok \U0001F600") << -1
            << QStringLiteral("Error: the description holds the character \"\U0001F600\" "
                              "(U+1F600), which a route file cannot store");
    }

    void failedSave_leavesFileAndWindowAsTheyWere()
    {
        QFETCH(QString, target);
        QFETCH(QString, description);
        QFETCH(int, stopAfter);
        QFETCH(QString, message);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        const QString sample = openSample();
        QVERIFY(!sample.isEmpty());
        const QByteArray sampleBytes = readAll(sample);
        m_w->table.setCellText(3, RouteTable::ColFlow, "1250");
        m_w->description->setPlainText(description);
        if (stopAfter >= 0) {
            m_w->commands.setWriteStep([stopAfter](QIODevice &file, QByteArrayView bytes) {
                return file.write(bytes.data(), qMin(bytes.size(), qint64{stopAfter}));
            });
        }
        const Snapshot before(*m_w);
        const QStringList filesBefore =
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden);

        if (target.isEmpty()) {
            m_w->commands.sbSave();
        } else {
            m_dialogs->fileNames = {path(target)};
            m_w->commands.sbSaveAs();
        }

        QCOMPARE(messages(), QStringList{message});
        QCOMPARE(m_dialogs->calls.last().title, QStringLiteral("plenix"));
        QCOMPARE(readAll(sample), sampleBytes);
        QVERIFY(Snapshot(*m_w) == before);
        // No temporary file left behind, no new file made.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden), filesBefore);
    }

    void save_keepsFilePermissions()
    {
        const QString sample = openSample();
        QVERIFY(!sample.isEmpty());
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(sample, permissions));
        m_w->description->setPlainText(QStringLiteral("changed"));

        m_w->commands.sbSave();

        QVERIFY(messages().isEmpty());
        QVERIFY(readAll(sample).endsWith("\x80"
                                         "changed"));
        QCOMPARE(QFile::permissions(sample) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
    }

    void newAndClose_emptyTheDocument_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("New") << false;
        QTest::newRow("Close") << true;
    }

    void newAndClose_emptyTheDocument()
    {
        QFETCH(bool, close);
        QVERIFY(!openSample().isEmpty());
        m_w->table.setCurrentCell(2, 4);
        if (close)
            m_w->commands.sbClose();
        else
            m_w->commands.sbNew();

        QCOMPARE(m_w->window.windowTitle(), QStringLiteral("Plenix - Untitled"));
        QVERIFY(m_w->state.DocPath.empty());
        QVERIFY(m_w->state.DocName.empty());
        QVERIFY(m_w->description->toPlainText().isEmpty());
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col <= RouteTable::DataCols; ++col)
                QVERIFY(m_w->table.CellText(row, col).empty());
        }
        QCOMPARE(m_w->table.CellText(2, 0), std::string(" 2"));
        QCOMPARE(m_w->table.currentRow(), plenix::Int16{1});
        QCOMPARE(m_w->table.currentCol(), plenix::Int16{1});
        QVERIFY(m_dialogs->calls.isEmpty());
    }

    // The real Qt file dialog, typed into as a person would: Save As onto an
    // existing file replaces it without a question, then Open reads it back.
    void realFileDialog_savesAndOpens()
    {
        Dialogs::setInstance(nullptr);
        const QString file = path(QStringLiteral("typed.txt"));
        writeAll(file, "old contents");
        m_w->window.show();
        m_w->table.setCellText(1, RouteTable::ColFlow, "640");
        m_w->description->setPlainText(QStringLiteral("typed in the dialog"));

        apptest::ModalGuard guard;
        QStringList seen;
        const auto typeName = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QFileDialog *>(shown);
            auto *name = shown->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            if (!dialog || !name) {
                seen.append(QStringLiteral("not a file dialog"));
                shown->close();
                return;
            }
            seen.append(dialog->windowTitle() + u'|' + dialog->nameFilters().join(u';'));
            // Set rather than typed key by key: typing opens the name
            // completer's pop-up whenever the folder listing arrives.
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        };

        guard.expect(typeName);
        m_w->commands.sbSaveAs();
        QCOMPARE(readAll(file), QByteArray("\t640\t\t\t\t\t\t\t\t\x80typed in the dialog"));
        m_w->commands.sbNew();
        guard.expect(typeName);
        m_w->commands.sbOpen();

        QCOMPARE(seen, (QStringList{QStringLiteral("Save As|Text Files (*.txt)"),
                                    QStringLiteral("Open|Text Files (*.txt)")}));
        QVERIFY2(guard.unexpected.isEmpty(), qPrintable(guard.unexpected.join(u'|')));
        QVERIFY(!guard.waiting());
        QCOMPARE(m_w->table.CellText(1, RouteTable::ColFlow), std::string("640"));
        QCOMPARE(m_w->description->toPlainText(), QStringLiteral("typed in the dialog"));
        QCOMPARE(m_w->window.windowTitle(), QStringLiteral("Plenix - typed"));
    }
};

APPTEST_MAIN(DocumentsTest)
#include "tst_app_documents.moc"
