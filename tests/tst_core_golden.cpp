// SPDX-License-Identifier: GPL-3.0-or-later
// Golden routes: every NAME.route in the data folder is opened, calculated
// and saved the way the window does it, and the saved bytes must equal
// NAME.expected. Where NAME.message exists instead, Calculate must stop with
// that message and saving must give the opened file back unchanged. The
// end-to-end test checks the file the real program saves against the same
// expected bytes.
//
// PLENIX_GOLDEN_WRITE=1 writes the .expected file of a route that has none
// (and skips it); read a new one through before committing it.
#include "calculation.h"
#include "routedocument.h"
#include "routefile.h"

#include "coretest.h"

#include <QDir>
#include <QFile>

using namespace plenix;
using namespace coretest;

namespace {

// Open, Calculate, Save as the window's commands run them: the message
// (empty when Calculate ran through) and the saved bytes.
std::pair<std::string, std::string> openCalculateSave(std::string_view fileBytes)
{
    RouteDocument document;
    if (!document.openText(fileBytes))
        return {std::string(NotARouteFileMessage), {}};
    // The window shows the description in its box and saves what the box holds.
    document.setDescription(descriptionAsSaved(document.description()));
    return {calculate(document.table()).message, document.fileText()};
}

std::string readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll().toStdString();
}

} // namespace

class TestGolden final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void route_data()
    {
        QTest::addColumn<QString>("base"); // path without the extension
        const QDir folder(QStringLiteral(PLENIX_ROUTES_DIR));
        const QStringList names =
            folder.entryList({QStringLiteral("*.route")}, QDir::Files, QDir::Name);
        QVERIFY2(!names.isEmpty(), PLENIX_ROUTES_DIR);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << folder.filePath(name.chopped(6));
    }

    void route()
    {
        QFETCH(QString, base);
        const std::string input = readBytes(base + QStringLiteral(".route"));
        const auto [message, saved] = openCalculateSave(input);
        if (const QString messageFile = base + QStringLiteral(".message");
            QFile::exists(messageFile)) {
            QCOMPARE(message, readBytes(messageFile));
            QCOMPARE(saved, input);
            return;
        }
        QCOMPARE(message, ""s);
        const QString expectedFile = base + QStringLiteral(".expected");
        if (!QFile::exists(expectedFile) && qEnvironmentVariableIsSet("PLENIX_GOLDEN_WRITE")) {
            QFile file(expectedFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(saved.data(), static_cast<qint64>(saved.size()));
            QSKIP("expected file written");
        }
        QCOMPARE(saved, readBytes(expectedFile));
    }
};

QTEST_APPLESS_MAIN(TestGolden)
#include "tst_core_golden.moc"
