#include "routefileio.h"

#include "routedocument.h"
#include "routefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cerrno>
#include <cstring>

namespace {
QString systemText(int errorCode)
{
    return QString::fromLocal8Bit(std::strerror(errorCode));
}

// Qt words a few failures in its own terms; the system's wording is the one
// users know from every other program.
QString openFailureText(const QString &path, const QFileDevice &file)
{
    if (QFileInfo(path).isDir())
        return systemText(EISDIR);
    return file.errorString();
}

qint64 writeAll(QIODevice &file, QByteArrayView bytes)
{
    return file.write(bytes.data(), bytes.size());
}
} // namespace

RouteFileRead readRouteFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, openFailureText(path, file)};
    if (!file.isSequential() && file.size() > MaxRouteFileBytes)
        return {{}, systemText(EFBIG)};

    // Read in pieces rather than trusting size(): a pipe or a device reports
    // none, and must not be read without bound.
    QByteArray bytes;
    if (!file.isSequential())
        bytes.reserve(static_cast<qsizetype>(file.size()));
    std::array<char, 64 * 1024> chunk{};
    for (;;) {
        const qint64 got = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got < 0)
            return {{}, file.errorString()};
        if (got == 0)
            break;
        if (bytes.size() + got > MaxRouteFileBytes)
            return {{}, systemText(EFBIG)};
        bytes.append(chunk.data(), static_cast<qsizetype>(got));
    }
    return {bytes, std::nullopt};
}

std::optional<QString> writeRouteFile(const QString &path, QByteArrayView bytes,
                                      const RouteFileWriteStep &writeStep)
{
    QSaveFile file(path);
    // Writing straight into the target would empty it before the new text is
    // safely on disk.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return openFailureText(path, file);

    const qint64 written = writeStep ? writeStep(file, bytes) : writeAll(file, bytes);
    // commit() on Qt 6.4 can report success after a short write, so every
    // step is checked here before the rename.
    if (written != bytes.size() || !file.flush()) {
        const QString why = file.error() != QFileDevice::NoError
                                ? file.errorString()
                                : QStringLiteral("only %1 of %2 bytes could be written")
                                      .arg(qMax(written, qint64{0}))
                                      .arg(bytes.size());
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

std::string documentPath(const QString &path)
{
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

QString pathText(const std::string &documentPath)
{
    return QFile::decodeName(QByteArray::fromStdString(documentPath));
}

std::optional<QString> openDocument(plenix::RouteDocument &document, const QString &path)
{
    const RouteFileRead file = readRouteFile(path);
    if (file.error)
        return file.error;
    const std::string_view text(file.bytes.constData(),
                                static_cast<std::size_t>(file.bytes.size()));
    if (!document.openText(text))
        return QString::fromLatin1(plenix::NotARouteFileMessage.data(),
                                   static_cast<qsizetype>(plenix::NotARouteFileMessage.size()));
    document.setPath(documentPath(path));
    return std::nullopt;
}

std::optional<QString> saveDocument(plenix::RouteDocument &document, const QString &path,
                                    const RouteFileWriteStep &writeStep)
{
    const std::string text = document.fileText();
    if (std::optional<QString> error = writeRouteFile(
            path, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())), writeStep))
        return error;
    document.setPath(documentPath(path));
    document.markSaved();
    return std::nullopt;
}
