// SPDX-License-Identifier: GPL-3.0-or-later
// Cell text formats and the BASIC-style number reader.
#include "numbertext.h"

#include "coretest.h"

using namespace plenix;
using namespace coretest;

class TestNumberText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formats_data() { caseRows("number-formats.cases"); }

    void formats()
    {
        QFETCH(Case, c);
        const Pattern pattern = c.at(0) == "0.##"   ? Pattern::TwoDecimals
                                : c.at(0) == "####" ? Pattern::Whole
                                                    : Pattern::OneOrTwoDecimals;
        const double value = std::strtod(c.at(3).c_str(), nullptr);
        const bool single = c.at(1) == "single";
        const auto asSingle = static_cast<float>(value);
        QCOMPARE(single ? formatNumber(asSingle, pattern) : formatNumber(value, pattern), c.at(2));
        QCOMPARE(single ? formatNumberExactly(asSingle, pattern)
                        : formatNumberExactly(value, pattern),
                 c.at(2));
    }

    void readsNumbers_data() { caseRows("number-reads.cases"); }

    // Exactly: the reader must round as correctly as the C library does.
    void readsNumbers()
    {
        QFETCH(Case, c);
        const double actual = numberFromText(c.at(0));
        QVERIFY2(actual == std::strtod(c.at(1).c_str(), nullptr),
                 qPrintable(QString::number(actual, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_core_numbertext.moc"
