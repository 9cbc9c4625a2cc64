// SPDX-License-Identifier: GPL-3.0-or-later
#include "textcodec.h"

#include "charset.h"

#include <QStringView>

#include <array>

namespace plenix {

QString toQString(std::string_view bytes)
{
    // Every character of the set lies in the Basic Multilingual Plane.
    static const std::array<char16_t, 256> characters = [] {
        std::array<char16_t, 256> table{};
        for (std::size_t byte = 0; byte < table.size(); ++byte)
            table[byte] = static_cast<char16_t>(charFromByte(static_cast<unsigned char>(byte)));
        return table;
    }();
    // Written in place: appending a character at a time costs several
    // times as much, which shows at Open of a long description.
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(characters[static_cast<unsigned char>(byte)]);
    return text;
}

std::optional<std::string> fromQString(const QString &text, QString *offending)
{
    // Read character by character, not through toUcs4(): that would hold a
    // copy four times the text's length, and turn a lone surrogate into a
    // replacement character the text does not hold.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const bool pair =
            ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        // Every character of the set lies in the Basic Multilingual Plane,
        // and no surrogate stands for one.
        const auto byte = pair || ch.isSurrogate() ? std::nullopt : byteFromChar(ch.unicode());
        if (!byte) {
            if (offending)
                *offending = text.mid(i, pair ? 2 : 1);
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}

QString unitText(units::Quantity quantity, units::System system)
{
    const bool ip = system == units::System::InchPound;
    if (quantity == units::Quantity::Temperature)
        return ip ? QStringLiteral("\u00b0F") : QStringLiteral("\u00b0C");
    if (quantity == units::Quantity::Density)
        return ip ? QStringLiteral("lb/ft\u00b3") : QStringLiteral("kg/m\u00b3");
    const std::string_view symbol = units::symbol(quantity, system);
    return QString::fromLatin1(symbol.data(), static_cast<qsizetype>(symbol.size()));
}

} // namespace plenix
