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
constexpr Pattern P2 = Pattern::TwoDecimals, P0 = Pattern::Whole, P1 = Pattern::OneOrTwoDecimals;
constexpr bool Single = true, Double = false;

struct FormatCase
{
    Pattern pattern;
    bool single;
    double value;
    const char *text;
};

// clang-format off
const FormatCase FormatCases[] = {
    // "0.##": the point always, no trailing zeros.
    {P2, Single, 2, "2."}, {P2, Single, 0, "0."}, {P2, Single, 0.5, "0.5"},
    {P2, Single, 1.257, "1.26"}, {P2, Single, 1.999, "2."}, {P2, Single, 0.995, "1."},
    // Halves away from zero, judged on the 7-digit decimal form, so a float
    // held just below the half still rounds up.
    {P2, Single, 0.145, "0.15"}, {P2, Single, 2.675, "2.68"}, {P2, Single, 1.005, "1.01"},
    {P2, Single, -0.145, "-0.15"}, {P2, Single, 0.0049999999, "0.01"}, {P2, Single, 0.00499, "0."},
    // No sign on a value that rounds to zero; seven digits, then zeros.
    {P2, Single, -0.004, "0."}, {P2, Single, -0.0, "0."}, {P2, Single, 123456789, "123456800."},
    // "####": whole numbers, nothing for zero.
    {P0, Single, 1222.6, "1223"}, {P0, Single, 0, ""}, {P0, Single, 0.4, ""},
    {P0, Single, -0.4, ""}, {P0, Single, 0.5, "1"}, {P0, Single, -2.5, "-3"},
    {P0, Single, 9.5, "10"},
    {P0, Single, 2.4999999, "3"}, {P0, Single, 3.6669294e22, "36669290000000000000000"},
    // "0.0#": one or two decimals.
    {P1, Single, 1, "1.0"}, {P1, Single, 0, "0.0"}, {P1, Single, 0.18, "0.18"},
    {P1, Single, 0.1595, "0.16"}, {P1, Single, 0.195, "0.2"}, {P1, Single, 0.995, "1.0"},
    {P1, Single, -0.001, "0.0"}, {P1, Single, -0.25, "-0.25"}, {P1, Single, 12, "12.0"},
    // Doubles go by 15 digits.
    {P2, Double, 0.145, "0.15"}, {P2, Double, 1.005, "1.01"}, {P2, Double, 0.1 + 0.2, "0.3"},
    {P2, Double, 0.0049999999, "0."}, {P2, Double, -0.001, "0."},
    {P2, Double, 123456789, "123456789."},
    {P0, Double, 2.4999999, "2"}, {P0, Double, 16777217, "16777217"}, {P1, Double, 0.445, "0.45"},
    // Ties and near ties, each held to the quick and the exact way alike.
    {P2, Single, 0.125, "0.13"}, {P2, Single, -0.125, "-0.13"}, {P2, Single, 0.005, "0.01"},
    {P2, Single, -0.005, "-0.01"}, {P2, Single, -2.675, "-2.68"}, {P2, Single, -1.005, "-1.01"},
    {P2, Single, 0.015, "0.02"}, {P2, Single, 0.14499993, "0.14"}, {P2, Single, 1272.115, "1272.12"},
    {P2, Single, 1272.125, "1272.13"}, {P2, Single, 1272.1149, "1272.12"},
    {P2, Single, 1272.1144, "1272.11"},
    {P0, Single, 1.5, "2"}, {P0, Single, -0.5, "-1"}, {P0, Single, -1.5, "-2"},
    {P0, Single, 2.5, "3"}, {P0, Single, 1272.5, "1273"}, {P0, Single, 1272.4999, "1273"},
    {P0, Single, 1272.4994, "1272"},
    {P0, Single, 8388607.5, "8388608"},
    {P1, Single, 0.125, "0.13"}, {P1, Single, -0.005, "-0.01"}, {P1, Single, 0.05, "0.05"},
    {P2, Double, 0.125, "0.13"}, {P2, Double, -1.005, "-1.01"}, {P2, Double, -0.145, "-0.15"},
    {P2, Double, 2.675, "2.68"}, {P2, Double, 1272.115, "1272.12"},
    {P2, Double, 0.144999999999999, "0.14"}, {P2, Double, 0.1449999999999999, "0.15"},
    {P0, Double, 2.5, "3"}, {P0, Double, -0.5, "-1"}, {P0, Double, 1272.4999999999, "1272"},
    {P0, Double, 4503599627370495.5, "4503599627370500"}, {P1, Double, -0.005, "-0.01"},
};
// clang-format on

const std::string Zeros(330, '0');

struct ReadCase
{
    std::string text;
    double value;
};

// clang-format off
const ReadCase ReadCases[] = {
    {"", 0}, {"35", 35}, {"0.1", 0.1}, {".5", 0.5}, {"5.", 5}, {".", 0},
    // Blanks, TABs and line feeds vanish wherever they stand; CR does not.
    {"3 5", 35}, {"\t1\n2", 12}, {"\n500", 500}, {" 1 . 5 ", 1.5}, {"- 7", -7},
    {"- 1 e - 2", -0.01}, {"\r5", 0}, {"5\r5", 5},
    // Signs, points and exponents, E or D.
    {"+7", 7}, {"-.5", -0.5}, {"--7", 0}, {"-", 0}, {"1.5.3", 1.5}, {"1E3", 1000}, {"1D3", 1000},
    {"2.5d-1", 0.25}, {"2.5E-2", 0.025}, {"1E+2", 100}, {"1E", 1}, {"1E-", 1}, {"E5", 0},
    {"1E2.5", 100}, {"1e5e5", 100000}, {"1E-400", 0}, {"1E400", Inf}, {"-1E400", -Inf},
    {"5E99999999999999999999", Inf}, {std::string(400, '9'), Inf},
    {"123456789012345678901234567890", 123456789012345678901234567890.0},
    // Out of range by where the first significant digit stands, not by the
    // sign of the written exponent; a blank sends the text the long way.
    {"0." + Zeros + "1", 0}, {"1" + Zeros + "E-5", Inf}, {"-1" + Zeros + "D-5", -Inf},
    {"0." + Zeros + "1E400", 1e69}, {"0 ." + Zeros + "1E400", 1e69}, {"1 " + Zeros + "E-5", Inf},
    {" 1E-310", 1e-310}, {"1 E-310", 1e-310}, {"0 E999999999999999999999", 0},
    // Correctly rounded however many digits: the 2^53 + 1 tie and just past it.
    {"9007199254740993", 0x1p53}, {"9007199254740993 .00000000000000000001", 0x1.0000000000001p53},
    // Radix prefixes.
    {"&H1F", 31}, {"&h1f", 31}, {"&H1G", 1}, {"&H", 0}, {"&H 1F", 31}, {"&O17", 15},
    {"&O178", 15}, {"&O8", 0}, {"&HFFFF", 0xFFFF}, {"&H00000000000000000000001", 1},
    // Long ones rounded once: to even at a tie, up when a later digit breaks it.
    {"&H3FDCFA416AC4C91", 0x3FDCFA416AC4C91p0}, {"&H20000000000001", 0x20000000000001p0},
    {"&H2000000000000100001", 0x2000000000000100001p0}, {"&O" + std::string(25, '7'), 0x1p75},
    {"&H" + std::string(300, 'F'), Inf},
    // Reading stops at the first character that cannot continue.
    {"12 in", 12}, {"1,200", 1}, {"1-2", 1}, {"abc", 0}, {"Route SP, in wg", 0}, {"#NUM!", 0},
    {"7\xB0", 7}, {"7\0"s "8", 7}, {"0x10", 0}, {"inf", 0}, {"nan", 0},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(FormatCase)
Q_DECLARE_METATYPE(ReadCase)

class TestNumberText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formats_data()
    {
        QTest::addColumn<FormatCase>("format");
        for (const FormatCase &c : FormatCases) {
            const char *pattern = c.pattern == P2 ? "0.##" : c.pattern == P0 ? "####" : "0.0#";
            QTest::addRow("%s of %s %.10g", pattern, c.single ? "single" : "double", c.value) << c;
        }
    }

    void formats()
    {
        QFETCH(FormatCase, format);
        const auto single = static_cast<float>(format.value);
        const std::string text = format.single ? formatNumber(single, format.pattern)
                                               : formatNumber(format.value, format.pattern);
        const std::string exactly = format.single
                                        ? formatNumberExactly(single, format.pattern)
                                        : formatNumberExactly(format.value, format.pattern);
        QCOMPARE(text, std::string(format.text));
        QCOMPARE(exactly, std::string(format.text));
    }

    void nonFiniteValuesShowNumMarker()
    {
        for (const Pattern pattern : {P2, P0, P1}) {
            for (const double value : {Inf, -Inf, std::numeric_limits<double>::quiet_NaN()}) {
                QCOMPARE(formatNumber(value, pattern), "#NUM!"s);
                QCOMPARE(formatNumber(static_cast<float>(value), pattern), "#NUM!"s);
            }
        }
        QVERIFY(isMarker("#NUM!") && isMarker("#DIV/0!"));
        QVERIFY(!isMarker("#NUM") && !isMarker("#num!") && !isMarker(""));
    }

    void writesShortestDecimal()
    {
        QCOMPARE(decimalText(0.1595f), "0.1595"s);
        QCOMPARE(decimalText(1.0f / 3.0f), "0.3333333"s);
        // Whatever form a large or small value takes, the reader gets it back.
        for (const float value : {1e20f, -3.5e-7f, 3e38f})
            QCOMPARE(toSingle(numberFromText(decimalText(value))), value);
    }

    void readsNumbers_data()
    {
        QTest::addColumn<ReadCase>("read");
        for (const ReadCase &c : ReadCases) {
            const std::unique_ptr<char[]> tag(QTest::toString(c.text));
            QTest::newRow(tag.get()) << c;
        }
    }

    void readsNumbers()
    {
        QFETCH(ReadCase, read);
        // Exactly: the reader must round as correctly as the compiler does.
        const double actual = numberFromText(read.text);
        QVERIFY2(actual == read.value, qPrintable(QString::number(actual, 'g', 17)));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_core_numbertext.moc"
