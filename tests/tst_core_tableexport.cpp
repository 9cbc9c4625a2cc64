// SPDX-License-Identifier: GPL-3.0-or-later
// The route list as UTF-8 text for other programs: TSV, CSV with its
// quoting and line-end choices, and JSON read back by a real parser.
#include "tableexport.h"

#include "coretest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

    void tsvKeepsOneLinePerRow()
    {
        QCOMPARE(tsvText({{"Item Qty", "Flow, cfm"}, {"\n2", "a\tb"}}),
                 "Item Qty\tFlow, cfm\n 2\ta b\n"s);
    }

    void listRowsRunToLastUsedRow()
    {
        RouteTable table;
        table.setUp();
        table.setCellText(3, 2, "500");
        const TextRows rows = listRows(table);
        QCOMPARE(rows.size(), std::size_t{4});
        QCOMPARE(rows[0][9], "Route SP, in wg"s);
        QCOMPARE(rows[1], std::vector<std::string>(10));
        QCOMPARE(rows[3][1], "500"s);
    }

    void jsonReadsBackThroughAParser_data()
    {
        QTest::addColumn<std::string>("text");
        QTest::newRow("plain") << "Supply"s;
        QTest::newRow("quotes and backslash") << "12\" \\ duct"s;
        QTest::newRow("control characters") << "a\r\nb\tc\x01\x1F"s;
        QTest::newRow("non-ASCII") << "\xE2\x82\xAC \xC3\xA9"s;
    }
    void jsonReadsBackThroughAParser()
    {
        QFETCH(std::string, text);
        const QString expected = QString::fromStdString(text);
        const TextRows rows{{"Description", "Loss Coef."}, {text, "0.28"}, {"", ""}};
        for (const std::string &message : {""s, text}) {
            QJsonParseError error{};
            const QJsonObject route = QJsonDocument::fromJson(
                QByteArray::fromStdString(jsonRoute(text, text, rows, message)), &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(route.value(u"file").toString(), expected);
            QCOMPARE(route.value(u"description").toString(), expected);
            const QJsonArray list = route.value(u"rows").toArray();
            QCOMPARE(list.size(), 2);
            QCOMPARE(list[0].toObject().value(u"Description").toString(), expected);
            QCOMPARE(list[0].toObject().value(u"Loss Coef.").toString(), u"0.28");
            QCOMPARE(route.contains(u"message"), !message.empty());
        }
    }
};

QTEST_APPLESS_MAIN(TestTableExport)
#include "tst_core_tableexport.moc"
