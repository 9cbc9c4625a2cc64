// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a route file on disk, read and saved by the real file
// module, and as the description box's text through the character set.
// Checks: a file that opens saves back as exactly the document's text, which
// opens again to the same document; a file that does not open leaves the
// document alone; every byte survives the trip to the box's text and back;
// box text with characters outside the set is refused, naming one of them.
#include "routefileio.h"
#include "textcodec.h"

#include "routedocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace plenix;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

const QTemporaryDir &folder()
{
    // In memory where there is such a folder: every save syncs its file.
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/plenix-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/plenix-fuzz-XXXXXX"));
    check(dir.isValid());
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::string_view x(bytes.constData(), size);

    const QString read = folder().filePath(QStringLiteral("in.txt"));
    const QString saved = folder().filePath(QStringLiteral("out.txt"));
    QFile file(read);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
          file.write(bytes) == bytes.size());
    file.close();

    RouteDocument document;
    document.setDescription("before");
    const bool opens = !openDocument(document, read).has_value();
    check(opens == (x.find(RouteSeparator) != std::string_view::npos));
    if (opens) {
        check(!saveDocument(document, saved).has_value());
        const RouteFileRead back = readRouteFile(saved);
        check(!back.error && back.bytes.toStdString() == document.fileText());
        RouteDocument again;
        check(!openDocument(again, saved).has_value());
        check(again.fileText() == document.fileText() &&
              again.description() == document.description());
    } else {
        check(document.description() == "before" && document.isUntitled());
    }

    const QString text = toQString(x);
    check(text.size() == bytes.size());
    check(fromQString(text) == std::optional<std::string>(std::string(x)));

    // The same bytes as UTF-16 typed or pasted into the box.
    const QString typed(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
    QString offending;
    const std::optional<std::string> stored = fromQString(typed, &offending);
    if (stored)
        check(toQString(*stored) == typed);
    else
        check(!offending.isEmpty() && typed.contains(offending));
    return 0;
}
