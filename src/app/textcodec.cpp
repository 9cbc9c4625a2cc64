#include "textcodec.h"

#include "charset.h"

#include <QList>
#include <QStringView>

QString toQString(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        const char32_t ch = plenix::charFromByte(static_cast<unsigned char>(byte));
        // Every character of the set lies in the Basic Multilingual Plane.
        text.append(QChar(static_cast<char16_t>(ch)));
    }
    return text;
}

std::optional<std::string> fromQString(const QString &text, QString *offending)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    const QList<uint> codePoints = text.toUcs4();
    for (const uint codePoint : codePoints) {
        const auto byte = plenix::byteFromChar(static_cast<char32_t>(codePoint));
        if (!byte) {
            if (offending)
                *offending = QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(*byte));
    }
    return bytes;
}
