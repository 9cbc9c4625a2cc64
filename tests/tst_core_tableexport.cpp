// SPDX-License-Identifier: GPL-3.0-or-later
// The route list as UTF-8 text for other programs: the character set and the
// CSV's quoting and line-end choices. The TSV and JSON of whole routes are
// read back by real parsers in the plenix-calc test (tests/cli).
#include "tableexport.h"

#include "coretest.h"

using namespace plenix;
using namespace coretest;

class TestTableExport final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void utf8FromWindows1252_data()
    {
        QTest::addColumn<std::string>("stored");
        QTest::addColumn<std::string>("utf8");
        QTest::newRow("ASCII unchanged") << "Elbow 90, R/D 1.5"s << "Elbow 90, R/D 1.5"s;
        QTest::newRow("euro sign of 0x80") << "\x80"s << "\xE2\x82\xAC"s;
        QTest::newRow("Latin-1 letter") << "caf\xE9"s << "caf\xC3\xA9"s;
        QTest::newRow("unassigned 0x81 kept") << "\x81"s << "\xC2\x81"s;
        QTest::newRow("y diaeresis of 0x9F") << "\x9F"s << "\xC5\xB8"s;
    }
    void utf8FromWindows1252()
    {
        QFETCH(std::string, stored);
        QFETCH(std::string, utf8);
        QCOMPARE(utf8FromStored(stored), utf8);
    }

    void csvQuotesOnlyWhatNeedsIt_data()
    {
        QTest::addColumn<std::string>("field");
        QTest::addColumn<std::string>("written");
        QTest::newRow("plain") << "0.21"s << "0.21"s;
        QTest::newRow("empty") << ""s << ""s;
        QTest::newRow("blank kept bare") << " "s << " "s;
        QTest::newRow("comma") << "Flow, cfm"s << "\"Flow, cfm\""s;
        QTest::newRow("quote doubled") << "12\" duct"s << "\"12\"\" duct\""s;
        QTest::newRow("line feed") << "\n5"s << "\"\n5\""s;
        QTest::newRow("carriage return") << "a\rb"s << "\"a\rb\""s;
    }
    void csvQuotesOnlyWhatNeedsIt()
    {
        QFETCH(std::string, field);
        QFETCH(std::string, written);
        QCOMPARE(csvRecord({field, "x"}), written + ",x\r\n");
    }

    void csvLineEndAndByteOrderMark()
    {
        const TextRows rows{{"a", "b"}, {"1", ""}};
        QCOMPARE(csvText(rows), "a,b\r\n1,\r\n"s);
        QCOMPARE(csvText(rows, {"\n", true}), "\xEF\xBB\xBF" "a,b\n1,\n"s);
    }
};

QTEST_APPLESS_MAIN(TestTableExport)
#include "tst_core_tableexport.moc"
