// The About dialog: its labels, how it closes, and the System Info button
// with stand-in system-information programs on the PATH.

#include "apptest.h"
#include "frmabout.h"
#include "version.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

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

template <typename T> T *control(const QWidget &dialog, const QString &name)
{
    T *widget = dialog.findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

// An executable shell script named `name` in `dir`.
QString writeScript(const QString &dir, const QString &name, const QByteArray &body)
{
    const QString path = dir + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A stand-in system-information program: started, it leaves `marker`. It may
// use shell built-ins only, since the PATH it inherits holds nothing else.
QString writeStandIn(const QString &dir, const QString &name, const QString &marker)
{
    return writeScript(dir, name, "#!/bin/sh\necho started > '" + marker.toLocal8Bit() + "'\n");
}

const QString UnavailableText = u"System Information Is Unavailable At This Time"_s;
} // namespace

class TestAbout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void shows_title_version_and_description();
    void shows_the_program_icon();
    void draws_an_etched_separator_and_the_buttons();
    void closes_on_ok_enter_and_escape_data();
    void closes_on_ok_enter_and_escape();

    void system_info_starts_the_tool_found_on_the_path();
    void system_info_takes_the_first_program_in_its_order();
    void system_info_without_a_tool_says_so_and_stays_open();
    void system_info_tool_that_cannot_start_says_so();
    void key_value_is_the_programs_full_path();

private:
    QByteArray m_savedPath;
};

void TestAbout::init()
{
    m_savedPath = qgetenv("PATH");
}

void TestAbout::cleanup()
{
    qputenv("PATH", m_savedPath);
}

void TestAbout::shows_title_version_and_description()
{
    frmAbout dialog;
    QCOMPARE(dialog.windowTitle(), u"About Plenix"_s);
    QCOMPARE(control<QLabel>(dialog, u"lblTitle"_s)->text(), u"Plenix"_s);
    // The build's own version, set once in the top-level CMakeLists.txt.
    QCOMPARE(control<QLabel>(dialog, u"lblVersion"_s)->text(),
             u"Version "_s + QStringLiteral(PLENIX_VERSION_STRING));

    // An empty first line, the description, an empty line, the web-site line
    // and the e-mail line.
    const QStringList lines = control<QLabel>(dialog, u"lblDescription"_s)->text().split(u'\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QString());
    QCOMPARE(lines.at(1), u"Airflow in Ducts"_s);
    QCOMPARE(lines.at(2), QString());
    QVERIFY(lines.at(3).startsWith(u"Web site:"_s));
    QVERIFY(lines.at(4).startsWith(u"E-mail:"_s));
    // The project has neither a web site nor a support address: none may be
    // made up.
    for (const QString &line : {lines.at(3), lines.at(4)}) {
        QVERIFY2(!line.contains(u'@') && !line.contains(u"http"_s) && !line.contains(u"www"_s),
                 qPrintable(line));
    }

    const QString notice = control<QLabel>(dialog, u"lblDisclaimer"_s)->text();
    QVERIFY(notice.contains(u"qualified engineer"_s));
    QVERIFY(notice.contains(u"warranty"_s));
}

void TestAbout::shows_the_program_icon()
{
    frmAbout dialog;
    const QLabel *picIcon = control<QLabel>(dialog, u"picIcon"_s);
    const QPixmap pixmap = picIcon->pixmap();
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), QSize(32, 32));
    QCOMPARE(picIcon->size(), QSize(32, 32));

    // A white disc with a black outline on a transparent background.
    const QImage image = pixmap.toImage()
                             .convertToFormat(QImage::Format_ARGB32)
                             .scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE(image.pixelColor(16, 16), QColor(Qt::white));
    QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(image.pixelColor(31, 31).alpha(), 0);
    const QColor rim = image.pixelColor(16, 1);
    QVERIFY2(rim.alpha() > 200 && rim.value() < 60, qPrintable(rim.name(QColor::HexArgb)));
}

void TestAbout::draws_an_etched_separator_and_the_buttons()
{
    frmAbout dialog;
    const QFrame *line = control<QFrame>(dialog, u"Line1"_s);
    QCOMPARE(line->frameShape(), QFrame::HLine);
    QCOMPARE(line->frameShadow(), QFrame::Sunken);

    const QPushButton *ok = control<QPushButton>(dialog, u"cmdOK"_s);
    QCOMPARE(ok->text(), u"OK"_s);
    QVERIFY(ok->isDefault());
    QCOMPARE(control<QPushButton>(dialog, u"cmdSysInfo"_s)->text(), u"&System Info..."_s);
}

void TestAbout::closes_on_ok_enter_and_escape_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("click");
    QTest::newRow("OK clicked") << 0 << true;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << false;
    QTest::newRow("Return") << int(Qt::Key_Return) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
}

void TestAbout::closes_on_ok_enter_and_escape()
{
    QFETCH(int, key);
    QFETCH(bool, click);
    InstalledDialogs dialogs;
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    if (click)
        QTest::mouseClick(control<QPushButton>(dialog, u"cmdOK"_s), Qt::LeftButton);
    else
        QTest::keyClick(&dialog, Qt::Key(key));
    QVERIFY(!dialog.isVisible());
    // Closing does nothing else: no System Info, no message.
    QVERIFY(dialogs.calls.isEmpty());
}

void TestAbout::system_info_starts_the_tool_found_on_the_path()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString marker = dir.filePath(u"started"_s);
    writeStandIn(dir.path(), u"hardinfo"_s, marker);
    qputenv("PATH", QFile::encodeName(dir.path()));

    InstalledDialogs dialogs;
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(control<QPushButton>(dialog, u"cmdSysInfo"_s), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QVERIFY(dialogs.calls.isEmpty());
    QVERIFY(dialog.isVisible());
}

void TestAbout::system_info_takes_the_first_program_in_its_order()
{
    // Two desktops' programs are installed; the one earlier in the order is
    // started, whatever the order of the folders on the PATH.
    const QStringList order = frmAbout::sysInfoPrograms();
    QVERIFY(order.size() >= 2);
    QTemporaryDir early;
    QTemporaryDir late;
    QVERIFY(early.isValid() && late.isValid());
    const QString earlyMarker = early.filePath(u"started"_s);
    const QString lateMarker = late.filePath(u"started"_s);
    writeStandIn(early.path(), order.at(order.size() - 2), earlyMarker);
    writeStandIn(late.path(), order.constLast(), lateMarker);
    qputenv("PATH", QFile::encodeName(late.path() + u':' + early.path()));

    InstalledDialogs dialogs;
    frmAbout dialog;
    dialog.StartSysInfo();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(earlyMarker), 10000);
    QVERIFY(!QFile::exists(lateMarker));
    QVERIFY(dialogs.calls.isEmpty());
}

void TestAbout::system_info_without_a_tool_says_so_and_stays_open()
{
    qputenv("PATH", QByteArray());

    InstalledDialogs dialogs;
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(control<QPushButton>(dialog, u"cmdSysInfo"_s), Qt::LeftButton);

    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.constFirst().kind, u"message"_s);
    QCOMPARE(dialogs.calls.constFirst().title, u"plenix"_s);
    QCOMPARE(dialogs.calls.constFirst().text, UnavailableText);
    QVERIFY(dialog.isVisible());
}

void TestAbout::system_info_tool_that_cannot_start_says_so()
{
    // Found on the PATH, but its interpreter is missing, so it cannot start.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeScript(dir.path(), frmAbout::sysInfoPrograms().constFirst(),
                "#!/nonexistent/interpreter\n");
    qputenv("PATH", QFile::encodeName(dir.path()));

    InstalledDialogs dialogs;
    frmAbout dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.StartSysInfo();

    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.constFirst().title, u"plenix"_s);
    QCOMPARE(dialogs.calls.constFirst().text, UnavailableText);
    QVERIFY(dialog.isVisible());
}

void TestAbout::key_value_is_the_programs_full_path()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString script = writeStandIn(dir.path(), u"kinfocenter"_s, dir.filePath(u"x"_s));
    qputenv("PATH", QFile::encodeName(u"/nonexistent:"_s + dir.path()));

    QString value = u"left over"_s;
    QVERIFY(frmAbout::GetKeyValue(u"kinfocenter"_s, value));
    QCOMPARE(QFileInfo(value).canonicalFilePath(), QFileInfo(script).canonicalFilePath());

    value = u"left over"_s;
    QVERIFY(!frmAbout::GetKeyValue(u"hardinfo"_s, value));
    QCOMPARE(value, QString());
}

APPTEST_MAIN(TestAbout)
#include "tst_app_about.moc"
