// SPDX-License-Identifier: GPL-3.0-or-later
// Cell text formats and the BASIC-style number reader.
#include "numbertext.h"

#include "coretest.h"

#include <cmath>
#include <limits>
#include <memory>

using namespace plenix;
using namespace coretest;

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
} // namespace

class TestNumberText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formats_data()
    {
        QTest::addColumn<std::vector<std::string>>("format");
        for (const std::vector<std::string> &c : caseFile("number-formats.cases"))
            QTest::addRow("%s of %s %s", c.at(0).c_str(), c.at(1).c_str(), c.at(3).c_str()) << c;
    }

    void formats()
    {
        QFETCH(std::vector<std::string>, format);
        const Pattern pattern = format[0] == "0.##"   ? Pattern::TwoDecimals
                                : format[0] == "####" ? Pattern::Whole
                                                      : Pattern::OneOrTwoDecimals;
        const double value = std::strtod(format[3].c_str(), nullptr);
        const bool single = format[1] == "single";
        const auto asSingle = static_cast<float>(value);
        QCOMPARE(single ? formatNumber(asSingle, pattern) : formatNumber(value, pattern),
                 format[2]);
        QCOMPARE(single ? formatNumberExactly(asSingle, pattern)
                        : formatNumberExactly(value, pattern),
                 format[2]);
    }

    void nonFiniteValuesAndDecimalText()
    {
        for (const Pattern pattern :
             {Pattern::TwoDecimals, Pattern::Whole, Pattern::OneOrTwoDecimals}) {
            for (const double value : {Inf, -Inf, std::numeric_limits<double>::quiet_NaN()}) {
                QCOMPARE(formatNumber(value, pattern), "#NUM!"s);
                QCOMPARE(formatNumber(static_cast<float>(value), pattern), "#NUM!"s);
            }
        }
        QVERIFY(isMarker("#DIV/0!") && !isMarker("#NUM") && !isMarker(""));
        QCOMPARE(decimalText(1.0f / 3.0f), "0.3333333"s);
        // Whatever form a large or small value takes, the reader gets it back.
        for (const float value : {0.1595f, 1e20f, -3.5e-7f, 3e38f})
            QCOMPARE(toSingle(numberFromText(decimalText(value))), value);
    }

    void readsNumbers_data()
    {
        QTest::addColumn<std::vector<std::string>>("read");
        for (const std::vector<std::string> &c : caseFile("number-reads.cases")) {
            const std::unique_ptr<char[]> tag(QTest::toString(c.at(0)));
            QTest::newRow(tag.get()) << c;
        }
    }

    // Exactly: the reader must round as correctly as the C library does.
    void readsNumbers()
    {
        QFETCH(std::vector<std::string>, read);
        const double actual = numberFromText(read.at(0));
        QVERIFY2(actual == std::strtod(read.at(1).c_str(), nullptr),
                 qPrintable(QString::number(actual, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_core_numbertext.moc"
