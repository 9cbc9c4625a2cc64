// Cell text formats and the BASIC-style number reader.
#include "numbertext.h"

#include "coretest.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <limits>
#include <string>

using namespace plenix;

Q_DECLARE_METATYPE(plenix::Pattern)

namespace {

std::string bytes(const QByteArray &text)
{
    return std::string(text.constData(), static_cast<std::size_t>(text.size()));
}

bool sameDouble(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

QByteArray describe(double actual, double expected)
{
    return QStringLiteral("actual %1, expected %2")
        .arg(actual, 0, 'g', 17)
        .arg(expected, 0, 'g', 17)
        .toLatin1();
}

constexpr float floatInf = std::numeric_limits<float>::infinity();
constexpr double doubleInf = std::numeric_limits<double>::infinity();

} // namespace

class TestNumberText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatsSingle_data();
    void formatsSingle();
    void formatsDouble_data();
    void formatsDouble();
    void singleAndDoubleRoundTheirOwnDigits();
    void nonFiniteValuesShowNumMarker_data();
    void nonFiniteValuesShowNumMarker();
    void markersAreRecognised_data();
    void markersAreRecognised();
    void decimalTextIsShortest_data();
    void decimalTextIsShortest();
    void decimalTextReadsBack_data();
    void decimalTextReadsBack();
    void readsNumbers_data();
    void readsNumbers();
    void readsHugeExponentsAsInfinity_data();
    void readsHugeExponentsAsInfinity();
};

void TestNumberText::formatsSingle_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<Pattern>("pattern");
    QTest::addColumn<QByteArray>("expected");

    const auto two = Pattern::TwoDecimals;
    const auto whole = Pattern::Whole;
    const auto oneOrTwo = Pattern::OneOrTwoDecimals;

    // "0.##": the point is always written, trailing zeros are not.
    QTest::newRow("0.## of 2") << 2.0f << two << QByteArray("2.");
    QTest::newRow("0.## of 3") << 3.0f << two << QByteArray("3.");
    QTest::newRow("0.## of 0") << 0.0f << two << QByteArray("0.");
    QTest::newRow("0.## of 0.5") << 0.5f << two << QByteArray("0.5");
    QTest::newRow("0.## of 1.257") << 1.257f << two << QByteArray("1.26");
    QTest::newRow("0.## of 0.10106832") << 0.10106832f << two << QByteArray("0.1");
    QTest::newRow("0.## of 0.20957") << 0.20957f << two << QByteArray("0.21");
    QTest::newRow("0.## of 1.999") << 1.999f << two << QByteArray("2.");
    QTest::newRow("0.## of 0.995") << 0.995f << two << QByteArray("1.");
    QTest::newRow("0.## of -1.5") << -1.5f << two << QByteArray("-1.5");
    QTest::newRow("0.## of -0.2091598") << -0.2091598f << two << QByteArray("-0.21");
    QTest::newRow("0.## of 0.05") << 0.05f << two << QByteArray("0.05");
    QTest::newRow("0.## of 12.3") << 12.3f << two << QByteArray("12.3");
    // Halves go away from zero, judged on the 7-digit decimal form, so a
    // float held just below the half still rounds up.
    QTest::newRow("0.## of 0.145f") << 0.145f << two << QByteArray("0.15");
    QTest::newRow("0.## of 0.125f") << 0.125f << two << QByteArray("0.13");
    QTest::newRow("0.## of 2.675f") << 2.675f << two << QByteArray("2.68");
    QTest::newRow("0.## of 1.005f") << 1.005f << two << QByteArray("1.01");
    QTest::newRow("0.## of 0.285f") << 0.285f << two << QByteArray("0.29");
    QTest::newRow("0.## of -0.145f") << -0.145f << two << QByteArray("-0.15");
    QTest::newRow("0.## of 0.005") << 0.005f << two << QByteArray("0.01");
    QTest::newRow("0.## of 0.0049999999f") << 0.0049999999f << two << QByteArray("0.01");
    QTest::newRow("0.## of 0.00499") << 0.00499f << two << QByteArray("0.");
    // A value that rounds to zero carries no sign.
    QTest::newRow("0.## of -0.004") << -0.004f << two << QByteArray("0.");
    QTest::newRow("0.## of -0.0") << -0.0f << two << QByteArray("0.");
    // Seven significant digits, then zeros: no binary tail shows.
    QTest::newRow("0.## of 123456789") << 123456789.0f << two << QByteArray("123456800.");
    QTest::newRow("0.## of 16777217") << 16777217.0f << two << QByteArray("16777220.");
    QTest::newRow("0.## of 1e10") << 1e10f << two << QByteArray("10000000000.");
    QTest::newRow("0.## of 3311.706") << 3311.7058f << two << QByteArray("3311.71");

    // "####": whole numbers, nothing for zero.
    QTest::newRow("#### of 1222.6") << 1222.6f << whole << QByteArray("1223");
    QTest::newRow("#### of 1273.2394") << 1273.2394f << whole << QByteArray("1273");
    QTest::newRow("#### of 1833.4647") << 1833.4647f << whole << QByteArray("1833");
    QTest::newRow("#### of 0") << 0.0f << whole << QByteArray("");
    QTest::newRow("#### of 0.4") << 0.4f << whole << QByteArray("");
    QTest::newRow("#### of -0.4") << -0.4f << whole << QByteArray("");
    QTest::newRow("#### of 0.5") << 0.5f << whole << QByteArray("1");
    QTest::newRow("#### of -0.5") << -0.5f << whole << QByteArray("-1");
    QTest::newRow("#### of 2.5") << 2.5f << whole << QByteArray("3");
    QTest::newRow("#### of 1232.5") << 1232.5f << whole << QByteArray("1233");
    QTest::newRow("#### of -2.5") << -2.5f << whole << QByteArray("-3");
    QTest::newRow("#### of 9.5") << 9.5f << whole << QByteArray("10");
    QTest::newRow("#### of 1000") << 1000.0f << whole << QByteArray("1000");
    QTest::newRow("#### of -1273.24") << -1273.24f << whole << QByteArray("-1273");
    QTest::newRow("#### of 3.666929e22")
        << 3.6669294e22f << whole << QByteArray("36669290000000000000000");

    // "0.0#": one or two decimals.
    QTest::newRow("0.0# of 1") << 1.0f << oneOrTwo << QByteArray("1.0");
    QTest::newRow("0.0# of 0") << 0.0f << oneOrTwo << QByteArray("0.0");
    QTest::newRow("0.0# of 0.18") << 0.18f << oneOrTwo << QByteArray("0.18");
    QTest::newRow("0.0# of 0.5") << 0.5f << oneOrTwo << QByteArray("0.5");
    QTest::newRow("0.0# of 1.25") << 1.25f << oneOrTwo << QByteArray("1.25");
    QTest::newRow("0.0# of 0.1595") << 0.1595f << oneOrTwo << QByteArray("0.16");
    QTest::newRow("0.0# of 0.275") << 0.275f << oneOrTwo << QByteArray("0.28");
    QTest::newRow("0.0# of 0.195") << 0.195f << oneOrTwo << QByteArray("0.2");
    QTest::newRow("0.0# of 0.135") << 0.135f << oneOrTwo << QByteArray("0.14");
    QTest::newRow("0.0# of 0.04") << 0.04f << oneOrTwo << QByteArray("0.04");
    QTest::newRow("0.0# of 0.995") << 0.995f << oneOrTwo << QByteArray("1.0");
    QTest::newRow("0.0# of 0.001") << 0.001f << oneOrTwo << QByteArray("0.0");
    QTest::newRow("0.0# of -0.001") << -0.001f << oneOrTwo << QByteArray("0.0");
    QTest::newRow("0.0# of -0.25") << -0.25f << oneOrTwo << QByteArray("-0.25");
    QTest::newRow("0.0# of 12") << 12.0f << oneOrTwo << QByteArray("12.0");
}

void TestNumberText::formatsSingle()
{
    QFETCH(float, value);
    QFETCH(Pattern, pattern);
    QFETCH(QByteArray, expected);
    QCOMPARE(fnFormat(value, pattern), bytes(expected));
}

void TestNumberText::formatsDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<Pattern>("pattern");
    QTest::addColumn<QByteArray>("expected");

    const auto two = Pattern::TwoDecimals;
    const auto whole = Pattern::Whole;
    const auto oneOrTwo = Pattern::OneOrTwoDecimals;

    QTest::newRow("0.## of 0.145") << 0.145 << two << QByteArray("0.15");
    QTest::newRow("0.## of 1.005") << 1.005 << two << QByteArray("1.01");
    QTest::newRow("0.## of 2.675") << 2.675 << two << QByteArray("2.68");
    QTest::newRow("0.## of 0.1+0.2") << 0.1 + 0.2 << two << QByteArray("0.3");
    QTest::newRow("0.## of 0.21+0.03") << 0.21 + 0.03 << two << QByteArray("0.24");
    QTest::newRow("0.## of 0.0049999999") << 0.0049999999 << two << QByteArray("0.");
    QTest::newRow("0.## of 123456789") << 123456789.0 << two << QByteArray("123456789.");
    QTest::newRow("0.## of 0.61") << 0.61 << two << QByteArray("0.61");
    QTest::newRow("0.## of -0.001") << -0.001 << two << QByteArray("0.");
    QTest::newRow("#### of 2.5") << 2.5 << whole << QByteArray("3");
    QTest::newRow("#### of 16777217") << 16777217.0 << whole << QByteArray("16777217");
    QTest::newRow("0.0# of 0.445") << 0.445 << oneOrTwo << QByteArray("0.45");
    QTest::newRow("0.0# of 1.00") << 1.00 << oneOrTwo << QByteArray("1.0");
}

void TestNumberText::formatsDouble()
{
    QFETCH(double, value);
    QFETCH(Pattern, pattern);
    QFETCH(QByteArray, expected);
    QCOMPARE(fnFormat(value, pattern), bytes(expected));
}

void TestNumberText::singleAndDoubleRoundTheirOwnDigits()
{
    // The same decimal literal is a half at 7 digits but not at 15.
    QCOMPARE(fnFormat(0.0049999999f, Pattern::TwoDecimals), std::string("0.01"));
    QCOMPARE(fnFormat(0.0049999999, Pattern::TwoDecimals), std::string("0."));
    QCOMPARE(fnFormat(2.4999999f, Pattern::Whole), std::string("3"));
    QCOMPARE(fnFormat(2.4999999, Pattern::Whole), std::string("2"));
}

void TestNumberText::nonFiniteValuesShowNumMarker_data()
{
    QTest::addColumn<Pattern>("pattern");
    QTest::newRow("0.##") << Pattern::TwoDecimals;
    QTest::newRow("####") << Pattern::Whole;
    QTest::newRow("0.0#") << Pattern::OneOrTwoDecimals;
}

void TestNumberText::nonFiniteValuesShowNumMarker()
{
    QFETCH(Pattern, pattern);
    const std::string marker(NumMarker);
    QCOMPARE(marker, std::string("#NUM!"));
    QCOMPARE(fnFormat(floatInf, pattern), marker);
    QCOMPARE(fnFormat(-floatInf, pattern), marker);
    QCOMPARE(fnFormat(std::numeric_limits<float>::quiet_NaN(), pattern), marker);
    QCOMPARE(fnFormat(doubleInf, pattern), marker);
    QCOMPARE(fnFormat(-doubleInf, pattern), marker);
    QCOMPARE(fnFormat(std::numeric_limits<double>::quiet_NaN(), pattern), marker);
}

void TestNumberText::markersAreRecognised_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("marker");
    QTest::newRow("#NUM!") << QByteArray("#NUM!") << true;
    QTest::newRow("#DIV/0!") << QByteArray("#DIV/0!") << true;
    QTest::newRow("number") << QByteArray("0.21") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("prefix only") << QByteArray("#NUM") << false;
    QTest::newRow("lower case") << QByteArray("#num!") << false;
}

void TestNumberText::markersAreRecognised()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, marker);
    QCOMPARE(fnIsMarker(bytes(text)), marker);
    QCOMPARE(std::string(DivZeroMarker), std::string("#DIV/0!"));
}

void TestNumberText::decimalTextIsShortest_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("one") << 1.0 << QByteArray("1");
    QTest::newRow("half") << 0.5 << QByteArray("0.5");
    QTest::newRow("0.1+0.2") << 0.1 + 0.2 << QByteArray("0.3");
    QTest::newRow("0.21+0.03") << 0.21 + 0.03 << QByteArray("0.24");
    QTest::newRow("negative") << -2.25 << QByteArray("-2.25");
    QTest::newRow("third") << 1.0 / 3.0 << QByteArray("0.333333333333333");
    QTest::newRow("total") << 0.61 << QByteArray("0.61");
    QTest::newRow("hundred") << 100.0 << QByteArray("100");
}

void TestNumberText::decimalTextIsShortest()
{
    QFETCH(double, value);
    QFETCH(QByteArray, expected);
    QCOMPARE(fnDecimalText(value), bytes(expected));
}

void TestNumberText::decimalTextReadsBack_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("1e20") << 1e20;
    QTest::newRow("-3.5e-7") << -3.5e-7;
    QTest::newRow("123456789012345") << 123456789012345.0;
    QTest::newRow("0.30000000000000004") << 0.1 + 0.2;
    QTest::newRow("1e300") << 1e300;
}

void TestNumberText::decimalTextReadsBack()
{
    // Whatever form a very large or small value takes, the reader must
    // get the same 15 digits back from it.
    QFETCH(double, value);
    const double back = NumberFromText(fnDecimalText(value));
    QVERIFY2(std::abs(back - value) <= std::abs(value) * 1e-14, describe(back, value).constData());

    // Seven digits do not always name a float exactly; they must come
    // within half a unit of the seventh digit.
    const float single = static_cast<float>(value == 1e300 ? 1e30 : value);
    const double singleBack = NumberFromText(fnDecimalText(single));
    QVERIFY2(std::abs(singleBack - double(single)) <= std::abs(double(single)) * 5e-7,
             describe(singleBack, double(single)).constData());
}

void TestNumberText::readsNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("empty") << QByteArray("") << 0.0;
    QTest::newRow("plain") << QByteArray("35") << 35.0;
    QTest::newRow("decimal") << QByteArray("12.5") << 12.5;
    QTest::newRow("tenth") << QByteArray("0.1") << 0.1;
    QTest::newRow("leading point") << QByteArray(".5") << 0.5;
    QTest::newRow("trailing point") << QByteArray("5.") << 5.0;
    QTest::newRow("point only") << QByteArray(".") << 0.0;
    // Blanks, TABs and line feeds vanish wherever they stand.
    QTest::newRow("blank inside") << QByteArray("3 5") << 35.0;
    QTest::newRow("blanks around") << QByteArray("  42  ") << 42.0;
    QTest::newRow("tab and lf") << QByteArray("\t1\n2") << 12.0;
    QTest::newRow("leading lf") << QByteArray("\n500") << 500.0;
    QTest::newRow("blank in decimals") << QByteArray(" 1 . 5 ") << 1.5;
    QTest::newRow("thousands by blank") << QByteArray("1 000") << 1000.0;
    QTest::newRow("blank after sign") << QByteArray("- 7") << -7.0;
    QTest::newRow("blank in exponent") << QByteArray("1 E 3") << 1000.0;
    // A carriage return is not one of them.
    QTest::newRow("leading cr") << QByteArray("\r5") << 0.0;
    QTest::newRow("cr inside") << QByteArray("5\r5") << 5.0;
    // Signs.
    QTest::newRow("plus") << QByteArray("+7") << 7.0;
    QTest::newRow("minus") << QByteArray("-7") << -7.0;
    QTest::newRow("minus decimal") << QByteArray("-0.25") << -0.25;
    QTest::newRow("two signs") << QByteArray("--7") << 0.0;
    QTest::newRow("plus minus") << QByteArray("+-7") << 0.0;
    QTest::newRow("sign only") << QByteArray("-") << 0.0;
    // One point only.
    QTest::newRow("second point") << QByteArray("1.5.3") << 1.5;
    // Exponents, E or D, either case.
    QTest::newRow("E") << QByteArray("1E3") << 1000.0;
    QTest::newRow("e") << QByteArray("1e3") << 1000.0;
    QTest::newRow("D") << QByteArray("1D3") << 1000.0;
    QTest::newRow("d") << QByteArray("1d3") << 1000.0;
    QTest::newRow("negative exponent") << QByteArray("2.5E-2") << 0.025;
    QTest::newRow("plus exponent") << QByteArray("1E+2") << 100.0;
    QTest::newRow("bare E") << QByteArray("1E") << 1.0;
    QTest::newRow("E and sign") << QByteArray("1E-") << 1.0;
    QTest::newRow("E and letter") << QByteArray("1Ex") << 1.0;
    QTest::newRow("E first") << QByteArray("E5") << 0.0;
    QTest::newRow("exponent point") << QByteArray("1E2.5") << 100.0;
    QTest::newRow("tiny") << QByteArray("1E-400") << 0.0;
    // Radix prefixes.
    QTest::newRow("&H") << QByteArray("&H1F") << 31.0;
    QTest::newRow("&h") << QByteArray("&h1f") << 31.0;
    QTest::newRow("&H10") << QByteArray("&H10") << 16.0;
    QTest::newRow("&O") << QByteArray("&O17") << 15.0;
    QTest::newRow("&o") << QByteArray("&o17") << 15.0;
    QTest::newRow("&H stops") << QByteArray("&H1G") << 1.0;
    QTest::newRow("&O stops at 8") << QByteArray("&O178") << 15.0;
    QTest::newRow("&H alone") << QByteArray("&H") << 0.0;
    QTest::newRow("&H no digit") << QByteArray("&HG") << 0.0;
    QTest::newRow("&O no digit") << QByteArray("&O8") << 0.0;
    QTest::newRow("&H blank") << QByteArray("&H 1F") << 31.0;
    // Reading stops at the first character that cannot continue.
    QTest::newRow("units") << QByteArray("12 in") << 12.0;
    QTest::newRow("comma") << QByteArray("1,5") << 1.0;
    QTest::newRow("comma thousands") << QByteArray("1,200") << 1.0;
    QTest::newRow("letters after") << QByteArray("12abc") << 12.0;
    QTest::newRow("inner minus") << QByteArray("1-2") << 1.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("currency") << QByteArray("$5") << 0.0;
    QTest::newRow("header") << QByteArray("Route SP, in wg") << 0.0;
    QTest::newRow("diameter header") << QByteArray("Diameter, in") << 0.0;
    QTest::newRow("marker") << QByteArray("#NUM!") << 0.0;
    QTest::newRow("high byte") << QByteArray("7\xB0") << 7.0;
    QTest::newRow("nul byte") << QByteArray("7\0" "8", 3) << 7.0;
    QTest::newRow("minus point") << QByteArray("-.5") << -0.5;
    QTest::newRow("plus point") << QByteArray("+.5") << 0.5;
    QTest::newRow("blanks everywhere") << QByteArray("- 1 e - 2") << -0.01;
    QTest::newRow("blank after exponent sign") << QByteArray("1E+ 2") << 100.0;
    QTest::newRow("octal with blanks") << QByteArray("&O 7 7") << 63.0;
    QTest::newRow("double point") << QByteArray("1..2") << 1.0;
    QTest::newRow("C hex prefix") << QByteArray("0x10") << 0.0;
    QTest::newRow("inf is no number") << QByteArray("inf") << 0.0;
    QTest::newRow("nan is no number") << QByteArray("nan") << 0.0;
    QTest::newRow("second exponent") << QByteArray("1e5e5") << 100000.0;
    QTest::newRow("point then exponent") << QByteArray(".e5") << 0.0;
    QTest::newRow("trailing point, exponent") << QByteArray("5.e2") << 500.0;
    QTest::newRow("D with sign") << QByteArray("1d+2") << 100.0;
    QTest::newRow("D negative") << QByteArray("2.5D-1") << 0.25;
    QTest::newRow("small exponent") << QByteArray("1e-5") << 1e-5;
    QTest::newRow("blanks only") << QByteArray("   ") << 0.0;
    QTest::newRow("many digits")
        << QByteArray("123456789012345678901234567890") << 123456789012345678901234567890.0;
}

void TestNumberText::readsNumbers()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double actual = NumberFromText(bytes(text));
    if (QByteArray(QTest::currentDataTag()) == "many digits") {
        QVERIFY2(std::abs(actual - expected) <= expected * 1e-15, describe(actual, expected).constData());
    } else {
        QVERIFY2(sameDouble(actual, expected), describe(actual, expected).constData());
    }
}

void TestNumberText::readsHugeExponentsAsInfinity_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("1E400") << QByteArray("1E400") << doubleInf;
    QTest::newRow("-1E400") << QByteArray("-1E400") << -doubleInf;
    QTest::newRow("1D999") << QByteArray("1D999") << doubleInf;
    QTest::newRow("long exponent") << QByteArray("5E99999999999999999999") << doubleInf;
    QTest::newRow("400 digits") << QByteArray(400, '9') << doubleInf;
}

void TestNumberText::readsHugeExponentsAsInfinity()
{
    QFETCH(QByteArray, text);
    QFETCH(double, expected);
    const double actual = NumberFromText(bytes(text));
    QVERIFY2(sameDouble(actual, expected), describe(actual, expected).constData());
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_core_numbertext.moc"
