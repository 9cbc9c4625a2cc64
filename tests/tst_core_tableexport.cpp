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
    void fields_data() { caseRows("exports.cases"); }

    void fields()
    {
        QFETCH(Case, c);
        QCOMPARE(utf8FromStored(c.at(1)), c.at(2));
        QCOMPARE(csvRecord({c.at(2), "x"}), c.at(3) + ",x\r\n");
    }

    void csvLineEndAndByteOrderMark()
    {
        const TextRows rows{{"a", "b"}, {"1", ""}};
        QCOMPARE(csvText(rows), "a,b\r\n1,\r\n"s);
        QCOMPARE(csvText(rows, {"\n", true}), "\xEF\xBB\xBF"
                                              "a,b\n1,\n"s);
    }
};

QTEST_APPLESS_MAIN(TestTableExport)
#include "tst_core_tableexport.moc"
