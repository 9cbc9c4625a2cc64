// The 8-bit character set of cells and route files: Windows-1252, with its
// five holes standing for the control characters of the same code.
#include "charset.h"

#include "coretest.h"

#include <array>
#include <utility>

using namespace plenix;

namespace {

// Bytes 0x80 to 0x9F as the code page defines them; 0 marks the five bytes
// it leaves unassigned.
constexpr std::array<char32_t, 32> highControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t expectedChar(int byte)
{
    if (byte >= 0x80 && byte <= 0x9F) {
        const char32_t mapped = highControls[static_cast<std::size_t>(byte - 0x80)];
        return mapped != 0 ? mapped : static_cast<char32_t>(byte);
    }
    return static_cast<char32_t>(byte);
}

} // namespace

class TestCharset final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyByteHasItsCharacter();
    void everyByteComesBack();
    void charactersOutsideTheSetHaveNoByte();
};

void TestCharset::everyByteHasItsCharacter()
{
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t actual = fnCharFromByte(static_cast<unsigned char>(byte));
        QVERIFY2(actual == expectedChar(byte), qPrintable(QString::number(byte, 16)));
    }
    QVERIFY(fnCharFromByte(0x80) == U'\u20AC');
    QVERIFY(fnCharFromByte(0x81) == char32_t(0x81));
    QVERIFY(fnCharFromByte(0xE9) == U'\u00E9');
}

void TestCharset::everyByteComesBack()
{
    for (int byte = 0; byte < 256; ++byte) {
        const auto back = fnByteFromChar(expectedChar(byte));
        QVERIFY2(back.has_value(), qPrintable(QString::number(byte, 16)));
        QCOMPARE(int(*back), byte);
    }
}

void TestCharset::charactersOutsideTheSetHaveNoByte()
{
    // The C1 controls whose bytes carry printable characters, and characters
    // the code page lacks.
    for (char32_t ch : {char32_t(0x80), char32_t(0x82), char32_t(0x9F), char32_t(0x100), char32_t(0x2015),
                        char32_t(0x20AD), char32_t(0xFFFD), char32_t(0x1F600), char32_t(0x110000)})
        QVERIFY2(!fnByteFromChar(ch).has_value(), qPrintable(QString::number(uint(ch), 16)));
}

QTEST_APPLESS_MAIN(TestCharset)
#include "tst_core_charset.moc"
