// Which file the route belongs to, and the window caption that names it.
#include "document.h"

#include "coretest.h"

#include <QByteArray>

#include <string>

using namespace plenix;

namespace {

std::string bytes(const QByteArray &text)
{
    return std::string(text.constData(), static_cast<std::size_t>(text.size()));
}

} // namespace

class TestDocument final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileNameFromPath_data();
    void fileNameFromPath();
    void startsUntitled();
    void namedShowsTheFileName();
    void untitledForgetsTheFile();
    void captionFollowsPrefix();
};

void TestDocument::fileNameFromPath_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("route file") << QByteArray("/home/ann/Routes/Level 2.txt") << QByteArray("Level 2");
    QTest::newRow("A.txt") << QByteArray("/tmp/A.txt") << QByteArray("A");
    QTest::newRow("upper case extension") << QByteArray("/tmp/A.TXT") << QByteArray("A");
    QTest::newRow("mixed case extension") << QByteArray("/tmp/main.TxT") << QByteArray("main");
    QTest::newRow("no extension") << QByteArray("/home/ann/Routes/Main") << QByteArray("Main");
    QTest::newRow("other extension") << QByteArray("/tmp/route.csv") << QByteArray("route.csv");
    QTest::newRow("txt not last") << QByteArray("/tmp/notes.txt.bak") << QByteArray("notes.txt.bak");
    QTest::newRow("only the final txt") << QByteArray("/tmp/x.txt.txt") << QByteArray("x.txt");
    QTest::newRow("txt without dot") << QByteArray("/tmp/atxt") << QByteArray("atxt");
    QTest::newRow("short extension") << QByteArray("/tmp/a.tx") << QByteArray("a.tx");
    QTest::newRow("txt in folder only") << QByteArray("/data.txt/route") << QByteArray("route");
    QTest::newRow("no folder") << QByteArray("Level 2.txt") << QByteArray("Level 2");
    QTest::newRow("short path") << QByteArray("ab") << QByteArray("ab");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
    QTest::newRow("backslash is part of the name")
        << QByteArray("/tmp/C:\\Routes\\Level 2.txt") << QByteArray("C:\\Routes\\Level 2");
    QTest::newRow("high bytes") << QByteArray("/tmp/Stra\xDF" "e.txt") << QByteArray("Stra\xDF" "e");
}

void TestDocument::fileNameFromPath()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, name);
    QCOMPARE(fnFileNameFromPath(bytes(path)), bytes(name));
}

void TestDocument::startsUntitled()
{
    const DocumentState document;
    QVERIFY(document.isUntitled());
    QCOMPARE(document.DocPath, std::string());
    QCOMPARE(document.DocName, std::string());
    QCOMPARE(document.DocText, std::string());
    QCOMPARE(document.CaptionPrefix, std::string("Plenix - "));
    QCOMPARE(document.caption(), std::string("Plenix - Untitled"));
}

void TestDocument::namedShowsTheFileName()
{
    DocumentState document;
    document.sbNamed("/home/ann/Routes/A.txt");
    QVERIFY(!document.isUntitled());
    QCOMPARE(document.DocPath, std::string("/home/ann/Routes/A.txt"));
    QCOMPARE(document.DocName, std::string("A"));
    QCOMPARE(document.caption(), std::string("Plenix - A"));

    document.sbNamed("/home/ann/Routes/Main");
    QCOMPARE(document.DocName, std::string("Main"));
    QCOMPARE(document.caption(), std::string("Plenix - Main"));
}

void TestDocument::untitledForgetsTheFile()
{
    DocumentState document;
    document.sbNamed("/tmp/Level 2.txt");
    document.sbUntitled();
    QVERIFY(document.isUntitled());
    QCOMPARE(document.DocPath, std::string());
    QCOMPARE(document.DocName, std::string());
    QCOMPARE(document.caption(), std::string("Plenix - Untitled"));
}

void TestDocument::captionFollowsPrefix()
{
    DocumentState document;
    document.CaptionPrefix = "Route - ";
    QCOMPARE(document.caption(), std::string("Route - Untitled"));
    document.sbNamed("/tmp/B.txt");
    QCOMPARE(document.caption(), std::string("Route - B"));
}

QTEST_APPLESS_MAIN(TestDocument)
#include "tst_core_document.moc"
