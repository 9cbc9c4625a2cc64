// SPDX-License-Identifier: GPL-3.0-or-later
// New, Open, Save and Save As on real files in a temporary folder: what
// reaches the disk, what comes back, and that a failure leaves both the file
// and the window as they were.
#include "apptest.h"
#include "coretest.h"

#include "descriptionbox.h"
#include "documentcommands.h"

#include "routedocument.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <vector>

using plenix::RouteTable;
using namespace Qt::StringLiterals;
using coretest::readAll;
using coretest::writeAll;

namespace {
// The parts of the main window the document commands work on.
struct DocumentWindow
{
    DocumentWindow() { window.setWindowTitle(captionText(document)); }
    QWidget window;
    DescriptionEdit *description = new DescriptionEdit(&window);
    plenix::RouteDocument document;
    RouteTable &table = document.table();
    DocumentCommands commands{document, *description, window};
};

// Everything a failed command must leave alone.
struct Snapshot
{
    std::vector<std::string> cells;
    QString description, caption;
    std::string docPath, docName, docDescription;
    bool modified;

    explicit Snapshot(const DocumentWindow &w)
        : description(w.description->toPlainText()), caption(w.window.windowTitle()),
          docPath(w.document.path()), docName(w.document.name()),
          docDescription(w.document.description()), modified(w.document.isModified())
    {
        for (int row = 1; row <= RouteTable::DataRows; ++row) {
            for (int col = 1; col <= RouteTable::DataCols; ++col)
                cells.push_back(w.table.cellText(row, col));
        }
    }
    friend bool operator==(const Snapshot &, const Snapshot &) = default;
};

const QByteArray SampleBytes = "1\t500\t8\t\t\t\t\t\t\t\r\t\t\t20\t\t\t\t\t\t\x80Main\r\nrun";
} // namespace

class DocumentsTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    apptest::FakeDialogs m_dialogs;
    std::unique_ptr<DocumentWindow> m_w;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QList<apptest::DialogCall> &calls() { return m_dialogs.calls; }
    // The caption as the title bar shows it.
    QString title() const
    {
        m_w->window.winId();
        return m_w->window.windowHandle()->title();
    }
    QStringList messages() const { return m_dialogs.messages(); }
    // The usual starting point: a window that has opened a small route file.
    QString openSample()
    {
        const QString sample = path(u"sample.txt"_s);
        return writeAll(sample, SampleBytes) && m_w->commands.openPath(sample) ? sample : QString();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = apptest::FakeDialogs();
        Dialogs::setInstance(&m_dialogs);
        m_w = std::make_unique<DocumentWindow>();
    }
    void cleanup()
    {
        m_w.reset();
        Dialogs::setInstance(nullptr);
        m_dir.reset();
    }

    // Through the window's text codec and the description box: a cell of
    // high bytes and a description of all 256, its line break as CR LF, come
    // back unchanged, the unassigned bytes shown as the controls of their code.
    void every_byte_value_opens_and_saves_back_identical()
    {
        QByteArray content;
        for (int byte = 0x81; byte < 256; ++byte)
            content += char(byte);
        content += "\t\t\t\t\t\t\t\t\t\x80";
        for (int byte = 0; byte < 256; ++byte)
            content += byte == '\n'   ? QByteArray()
                       : byte == '\r' ? "\r\n"
                                      : QByteArray(1, char(byte));
        const QString file = path(u"bytes.txt"_s);
        QVERIFY(writeAll(file, content));
        QVERIFY(m_w->commands.openPath(file));
        QCOMPARE(m_w->table.cellText(1, 1), content.first(127).toStdString());
        const QString shown = m_w->description->toPlainText();
        for (const char16_t ch : {u'\x81', u'\x8D', u'\x8F', u'\x90', u'\x9D', u'\u20AC'})
            QVERIFY(shown.contains(QChar(ch)));
        m_w->commands.save();
        QVERIFY(messages().isEmpty());
        QCOMPARE(readAll(file), content);
    }

    void save_while_untitled_asks_for_a_name()
    {
        QVERIFY(!openSample().isEmpty());
        m_w->commands.newDocument();
        // Qt's title placeholder must not eat part of a file's name.
        const QString file = path(u"plan[*].txt"_s);
        m_dialogs.fileNames = {file};
        m_w->commands.save();
        QCOMPARE(calls().size(), 1);
        QCOMPARE(calls()[0].kind, u"saveFileName"_s);
        QCOMPARE(readAll(file), QByteArray("\x80"));
        QCOMPARE(title(), u"Plenix - plan[*]"_s);
    }

    // Cancel changes nothing; the name last chosen in either dialog, even
    // for an Open that failed, is offered by the next one.
    void file_dialogs_offer_the_last_chosen_name()
    {
        QVERIFY(!openSample().isEmpty());
        const QString other = path(u"other.txt"_s);
        const Snapshot before(*m_w);
        m_w->commands.saveAs();
        QVERIFY(Snapshot(*m_w) == before);
        QVERIFY(!QFile::exists(other));

        m_dialogs.fileNames = {other};
        m_w->commands.saveAs();
        m_w->commands.open(); // cancelled
        QCOMPARE(m_w->document.path(), other.toStdString());
        QCOMPARE(calls().size(), 3);
        QCOMPARE(calls()[1].initial, QString());
        QCOMPARE(calls()[2].kind, u"openFileName"_s);
        QCOMPARE(calls()[2].initial, other);

        const QString missing = path(u"missing.txt"_s);
        m_dialogs.fileNames = {missing};
        m_w->commands.open();
        m_w->commands.saveAs();
        QCOMPARE(calls().last().kind, u"saveFileName"_s);
        QCOMPARE(calls().last().initial, missing);
    }

    void failed_open_changes_nothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // <file>: the path chosen
        // clang-format off
        QTest::newRow("missing file") << u"missing.txt"_s << u"Error: \"<file>\": No such file or directory"_s;
        QTest::newRow("no separator") << u"letter.txt"_s << u"Error: \"<file>\": the file is not a route file (no separator byte found)"_s;
        // clang-format on
    }

    void failed_open_changes_nothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        QVERIFY(writeAll(path(u"letter.txt"_s), "Dear Sir,\r\nthe ducts\t are\rready."));
        QVERIFY(!openSample().isEmpty());
        m_w->description->setPlainText(u"edited, not saved"_s);
        const Snapshot before(*m_w);

        m_dialogs.fileNames = {path(name)};
        m_dialogs.saveChoices = {Dialogs::SaveChoice::Discard};
        m_w->commands.open();

        QCOMPARE(messages(), QStringList{message.replace(u"<file>"_s, path(name))});
        QCOMPARE(calls().last().title, u"plenix"_s);
        QVERIFY(Snapshot(*m_w) == before);
    }

    void failed_save_leaves_file_and_window_as_they_were_data()
    {
        QTest::addColumn<QString>("target"); // empty: Save in place
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("stopAfter");   // bytes the writer takes, -1: all
        QTest::addColumn<QString>("message"); // <file>: the path written
        for (const std::vector<std::string> &c : coretest::caseFile("failed-saves.cases")) {
            QTest::newRow(c.at(0).c_str())
                << QString::fromStdString(c.at(1)) << QString::fromStdString(c.at(2))
                << std::stoi(c.at(3)) << QString::fromStdString(c.at(4));
        }
    }

    void failed_save_leaves_file_and_window_as_they_were()
    {
        QFETCH(QString, target);
        QFETCH(QString, description);
        QFETCH(int, stopAfter);
        QFETCH(QString, message);
        const QString sample = openSample();
        QVERIFY(!sample.isEmpty());
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

        m_dialogs.fileNames = {path(target)};
        target.isEmpty() ? m_w->commands.save() : m_w->commands.saveAs();

        QCOMPARE(messages(), QStringList{message.replace(
                                 u"<file>"_s, target.isEmpty() ? sample : path(target))});
        QCOMPARE(calls().last().title, u"plenix"_s);
        QCOMPARE(readAll(sample), SampleBytes);
        QVERIFY(Snapshot(*m_w) == before);
        // No temporary file left behind, no new file made.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden), filesBefore);
    }

    void new_and_close_empty_the_document_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("New") << false;
        QTest::newRow("Close") << true;
    }

    void new_and_close_empty_the_document()
    {
        QFETCH(bool, close);
        QVERIFY(!openSample().isEmpty());
        m_w->table.setCurrentCell(2, 4);
        close ? m_w->commands.closeDocument() : m_w->commands.newDocument();
        DocumentWindow fresh;
        QVERIFY(Snapshot(*m_w) == Snapshot(fresh));
        QCOMPARE(m_w->table.currentRow() * 100 + m_w->table.currentCol(), 101);
        QVERIFY(calls().isEmpty());
    }

    // A line longer than the box's paragraphs, of the digits 0 to 9 over and
    // over, then a short one. Positions are the box's ("C" the paragraph
    // length, so C+1 is the start of the second paragraph and the same place
    // in the line as C); the expected change is to the line as stored: an
    // offset, bytes removed and the text inserted ("p*N" for N letters p).
    void long_line_edits_save_what_the_box_shows_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("inserted");
        QTest::newRow("opened and saved") << u""_s << u"0"_s << 0 << u""_s;
        QTest::newRow("type before mark") << u"at:C type:x"_s << u"C"_s << 0 << u"x"_s;
        QTest::newRow("type after mark") << u"at:C+1 type:x"_s << u"C"_s << 0 << u"x"_s;
        QTest::newRow("Enter at mark") << u"at:C+1 enter"_s << u"C"_s << 0 << u"\r\n"_s;
        QTest::newRow("Backspace at mark") << u"at:C+1 backspace"_s << u"C-1"_s << 1 << u""_s;
        QTest::newRow("Delete at mark") << u"at:C delete"_s << u"C"_s << 1 << u""_s;
        QTest::newRow("copy across mark")
            << u"select:C-2,C+3 copy at:0 paste"_s << u"0"_s << 0 << u"4567"_s;
        QTest::newRow("paste long line")
            << u"at:0 paste-long at:C+1 type:x"_s << u"0"_s << 0 << u"p*C|x|p*C+5"_s;
    }

    void long_line_edits_save_what_the_box_shows()
    {
        QFETCH(QString, steps);
        QFETCH(QString, at);
        QFETCH(int, removed);
        QFETCH(QString, inserted);
        const auto number = [](QStringView text) {
            const qsizetype c = text.indexOf(u'C');
            return c < 0 ? text.toInt()
                         : DescriptionEdit::ChunkChars +
                               (c + 1 < text.size() ? text.sliced(c + 1).toInt() : 0);
        };
        const auto size = [&number](QStringView text) {
            return static_cast<std::size_t>(number(text));
        };
        std::string line;
        for (int i = 0; i < 2 * DescriptionEdit::ChunkChars + 100; ++i)
            line += char('0' + i % 10);
        const QString file = path(u"long.txt"_s);
        QVERIFY(writeAll(file, QByteArray::fromStdString("\x80" + line + "\r\nend")));
        QVERIFY(m_w->commands.openPath(file));
        DescriptionEdit &box = *m_w->description;
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const QString arg = step.section(u':', 1);
            QTextCursor cursor = box.textCursor();
            if (step.startsWith(u"at:"))
                cursor.setPosition(number(arg));
            else if (step.startsWith(u"select:"))
                cursor.setPosition(number(arg.section(u',', 0, 0))),
                    cursor.setPosition(number(arg.section(u',', 1)), QTextCursor::KeepAnchor);
            else if (step.startsWith(u"type:"))
                QTest::keyClicks(&box, arg);
            else if (step == u"copy")
                box.copy();
            else if (step.startsWith(u"paste"))
                QGuiApplication::clipboard()->setText(
                    step == u"paste" ? QGuiApplication::clipboard()->text()
                                     : QString(2 * DescriptionEdit::ChunkChars + 5, u'p')),
                    box.paste();
            else
                QTest::keyClick(&box, step == u"enter"    ? Qt::Key_Return
                                      : step == u"delete" ? Qt::Key_Delete
                                                          : Qt::Key_Backspace);
            if (step.startsWith(u"at:") || step.startsWith(u"select:"))
                box.setTextCursor(cursor);
        }
        std::string added;
        for (const QString &part : inserted.split(u'|'))
            added += part.startsWith(u"p*") ? std::string(size(part.sliced(2)), 'p')
                                            : part.toStdString();
        line.replace(size(at), static_cast<std::size_t>(removed), added);
        m_w->commands.save();
        QCOMPARE(readAll(file), QByteArray::fromStdString("\x80" + line + "\r\nend"));
        QCOMPARE(descriptionBoxText(box),
                 QString::fromStdString(line + "\nend").replace(u"\r\n"_s, u"\n"_s));
    }

    // The real Qt file dialog: Save As onto an existing file replaces it
    // without a question, then Open reads it back.
    void real_file_dialog_saves_and_opens()
    {
        Dialogs::setInstance(nullptr);
        const QString file = path(u"typed.txt"_s);
        QVERIFY(writeAll(file, "old contents"));
        m_w->window.show();
        m_w->table.setCellText(1, RouteTable::ColFlow, "640");
        m_w->description->setPlainText(u"typed in the dialog"_s);
        apptest::ModalGuard guard;
        QStringList seen;
        const auto typeName = [&](QWidget *shown) {
            auto *dialog = qobject_cast<QFileDialog *>(shown);
            auto *name = shown->findChild<QLineEdit *>(u"fileNameEdit"_s);
            if (!dialog || !name)
                return seen.append(u"not a file dialog"_s), shown->close(), void();
            seen.append(dialog->windowTitle() + u'|' + dialog->nameFilters().join(u';'));
            // Set rather than typed: typing opens the completer's pop-up
            // whenever the folder listing arrives.
            name->setText(file);
            QTest::keyClick(name, Qt::Key_Return);
        };
        guard.expect(typeName);
        m_w->commands.saveAs();
        QCOMPARE(readAll(file), QByteArray("\t640\t\t\t\t\t\t\t\t\x80typed in the dialog"));
        m_w->commands.newDocument();
        guard.expect(typeName);
        m_w->commands.open();
        QCOMPARE(seen,
                 (QStringList{u"Save As|Text Files (*.txt)"_s, u"Open|Text Files (*.txt)"_s}));
        QVERIFY2(guard.unexpected.isEmpty(), qPrintable(guard.unexpected.join(u'|')));
        QCOMPARE(m_w->table.cellText(1, RouteTable::ColFlow), std::string("640"));
        QCOMPARE(title(), u"Plenix - typed"_s);
    }
};

APPTEST_MAIN(DocumentsTest)
#include "tst_app_documents.moc"
