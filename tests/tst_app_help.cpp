// Help Topics and the help window: no help file, a help file, a help file
// that cannot be shown; which help file a build shows; and the help page the
// program ships with.

#include "apptest.h"
#include "helpconfig.h"
#include "helpwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
// The fake dialogs, installed for one scope.
struct InstalledDialogs final
{
    InstalledDialogs() { Dialogs::setInstance(&fake); }
    ~InstalledDialogs() { Dialogs::setInstance(nullptr); }
    Q_DISABLE_COPY_MOVE(InstalledDialogs)
    apptest::FakeDialogs fake;
    QList<apptest::DialogCall> &calls = fake.calls;
};

const QString NoHelpText =
    u"Unable to display Help Contents. There is no Help associated with this project."_s;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A help page long enough to scroll, with a section far down.
QByteArray longPage()
{
    QByteArray page = "<html><head><title>Test Help</title></head><body>"
                      "<h1>Contents page</h1>";
    for (int i = 0; i < 200; ++i)
        page += "<p>Filler paragraph " + QByteArray::number(i) + "</p>";
    page += "<h2><a name=\"far\"></a>Far section</h2></body></html>";
    return page;
}

HelpWindow *helpWindowOf(const QWidget &owner)
{
    return owner.findChild<HelpWindow *>(QString(), Qt::FindDirectChildrenOnly);
}

QString shippedHelp()
{
    QFile file(QStringLiteral(PLENIX_HELP_SOURCE_COPY));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the shipped help page %s", PLENIX_HELP_SOURCE_COPY);
    return QString::fromUtf8(file.readAll());
}
} // namespace

class TestHelp final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void no_help_file_says_so_titled_with_the_callers_caption();
    void help_file_opens_in_a_window_that_does_not_block_its_owner();
    void help_topics_again_reuses_the_window_and_returns_to_contents();
    void help_file_that_cannot_be_shown_is_reported_data();
    void help_file_that_cannot_be_shown_is_reported();

    void help_file_of_a_build_data();
    void help_file_of_a_build();
    void program_outside_its_build_folder_uses_the_configured_path();

    void shipped_page_loads_and_covers_the_topics_data();
    void shipped_page_loads_and_covers_the_topics();
    void shipped_page_links_lead_to_its_sections();

private:
    QWidget *m_owner = nullptr;
};

void TestHelp::init()
{
    m_owner = new QWidget;
    m_owner->setWindowTitle(u"Plenix - Level 2"_s);
    m_owner->resize(400, 300);
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner));
}

void TestHelp::cleanup()
{
    delete m_owner;
    m_owner = nullptr;
}

void TestHelp::no_help_file_says_so_titled_with_the_callers_caption()
{
    InstalledDialogs dialogs;
    sbHelpContentsShow(m_owner, QString());

    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.constFirst().kind, u"information"_s);
    QCOMPARE(dialogs.calls.constFirst().title, u"Plenix - Level 2"_s);
    QCOMPARE(dialogs.calls.constFirst().text, NoHelpText);
    QCOMPARE(helpWindowOf(*m_owner), nullptr);
}

void TestHelp::help_file_opens_in_a_window_that_does_not_block_its_owner()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"help.html"_s);
    writeFile(path, longPage());

    InstalledDialogs dialogs;
    sbHelpContentsShow(m_owner, path);

    QVERIFY(dialogs.calls.isEmpty());
    HelpWindow *window = helpWindowOf(*m_owner);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->isWindow());
    QCOMPARE(window->parentWidget(), m_owner);
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(m_owner->isEnabled());
    QCOMPARE(window->browser()->source(), QUrl::fromLocalFile(path));
    QVERIFY(window->browser()->toPlainText().startsWith(u"Contents page"_s));

    // The owner keeps taking input while the help is open.
    auto *box = new QTextBrowser(m_owner);
    box->setReadOnly(false);
    box->show();
    box->setFocus();
    m_owner->activateWindow();
    QTest::keyClicks(box, u"typed"_s);
    QCOMPARE(box->toPlainText(), u"typed"_s);
    QVERIFY(window->isVisible());
}

void TestHelp::help_topics_again_reuses_the_window_and_returns_to_contents()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"help.html"_s);
    writeFile(path, longPage());

    InstalledDialogs dialogs;
    sbHelpContentsShow(m_owner, path);
    HelpWindow *window = helpWindowOf(*m_owner);
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTextBrowser *browser = window->browser();
    browser->scrollToAnchor(u"far"_s);
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    window->close();

    sbHelpContentsShow(m_owner, path);
    QCOMPARE(m_owner->findChildren<HelpWindow *>().size(), 1);
    QCOMPARE(helpWindowOf(*m_owner), window);
    QVERIFY(window->isVisible());
    QCOMPARE(browser->verticalScrollBar()->value(), 0);
    QVERIFY(dialogs.calls.isEmpty());
}

void TestHelp::help_file_that_cannot_be_shown_is_reported_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << u"missing.html"_s << u"No such file or directory"_s;
    QTest::newRow("a folder") << u"folder"_s << u"folder"_s;
}

void TestHelp::help_file_that_cannot_be_shown_is_reported()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
    const QString path = dir.filePath(name);

    InstalledDialogs dialogs;
    sbHelpContentsShow(m_owner, path);

    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.constFirst().kind, u"message"_s);
    QCOMPARE(dialogs.calls.constFirst().title, u"plenix"_s);
    const QString text = dialogs.calls.constFirst().text;
    QVERIFY2(text.contains(path) && text.contains(reason), qPrintable(text));
    // No empty help window is left behind.
    QCOMPARE(helpWindowOf(*m_owner), nullptr);
    QVERIFY(m_owner->isEnabled());
}

void TestHelp::help_file_of_a_build_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("buildDir");
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("sourceCopy");

    const QString build = QDir::tempPath();
    const QString installed = u"/usr/share/plenix/plenix-help.html"_s;
    QTest::newRow("installed program") << installed << build << u"/usr/bin"_s << false;
    QTest::newRow("program in its build folder") << installed << build << build << true;
    QTest::newRow("build folder spelled otherwise")
        << installed << build << build + u"/./"_s << true;
    QTest::newRow("no help, even in the build folder") << QString() << build << build << false;
    QTest::newRow("no build folder known") << installed << QString() << QString() << false;
}

void TestHelp::help_file_of_a_build()
{
    QFETCH(QString, configured);
    QFETCH(QString, buildDir);
    QFETCH(QString, programDir);
    QFETCH(bool, sourceCopy);
    const QString source = u"/src/plenix/docs/help/plenix-help.html"_s;

    QCOMPARE(fnHelpFile(configured, source, buildDir, programDir),
             sourceCopy ? source : configured);
}

void TestHelp::program_outside_its_build_folder_uses_the_configured_path()
{
    // The tests run from their own folder, not the program's.
    QCOMPARE(fnHelpFile(), QStringLiteral(PLENIX_HELP_FILE));
}

void TestHelp::shipped_page_loads_and_covers_the_topics_data()
{
    QTest::addColumn<QString>("needle");
    // Units, the formulas' constants, the fitting tables, the markers, the
    // keys, the file format and the clipboard.
    const char *const needles[] = {"cfm",
                                   "fpm",
                                   "in wg",
                                   "3.141593",
                                   "4005",
                                   "0.00109136",
                                   "1.9",
                                   "5.02",
                                   "Branch Entry 90 deg",
                                   "0.44",
                                   "0.18",
                                   "1.25",
                                   "0.55",
                                   "0.39",
                                   "0.32",
                                   "0.27",
                                   "0.22",
                                   "0.29",
                                   "0.67",
                                   "#DIV/0!",
                                   "#NUM!",
                                   "-32768",
                                   "32767",
                                   "Backspace",
                                   "Delete",
                                   "Enter",
                                   "right mouse button",
                                   "0x80",
                                   "Windows-1252",
                                   "Send List to Clipboard",
                                   "Send FileName to Clipboard",
                                   "not a general fitting database",
                                   "qualified engineer"};
    for (const char *needle : needles)
        QTest::newRow(needle) << QString::fromUtf8(needle);
}

void TestHelp::shipped_page_loads_and_covers_the_topics()
{
    QFETCH(QString, needle);
    InstalledDialogs dialogs;
    sbHelpContentsShow(m_owner, QStringLiteral(PLENIX_HELP_SOURCE_COPY));
    QVERIFY(dialogs.calls.isEmpty());
    HelpWindow *window = helpWindowOf(*m_owner);
    QVERIFY(window);
    // As the reader sees it, not as the markup spells it.
    const QString text = window->browser()->toPlainText().simplified();
    QVERIFY2(text.contains(needle), qPrintable(needle));
}

void TestHelp::shipped_page_links_lead_to_its_sections()
{
    const QString page = shippedHelp();
    QSet<QString> anchors;
    static const QRegularExpression anchor(u"<a name=\"([^\"]+)\""_s);
    for (const QRegularExpressionMatch &m : anchor.globalMatch(page))
        anchors.insert(m.captured(1));
    static const QRegularExpression link(u"<a href=\"([^\"]*)\""_s);
    int links = 0;
    for (const QRegularExpressionMatch &m : link.globalMatch(page)) {
        const QString target = m.captured(1);
        // One page, no addresses outside it.
        QVERIFY2(target.startsWith(u'#'), qPrintable(target));
        QVERIFY2(anchors.contains(target.mid(1)), qPrintable(target));
        ++links;
    }
    QVERIFY(links >= 11);
}

APPTEST_MAIN(TestHelp)
#include "tst_app_help.moc"
