// SPDX-License-Identifier: GPL-3.0-or-later
#include "projectfileio.h"

#include "filesystem.h"
#include "project/projectfile.h"
#include "routefileio.h"

namespace plenix {

using namespace fileio;

bool isProjectPath(const QString &path)
{
    return path.endsWith(QLatin1String(".plenix"), Qt::CaseInsensitive);
}

ProjectFileRead openProject(const QString &path)
{
    RouteFileRead file = readRouteFile(path);
    if (file.error)
        return {std::nullopt, file.error};
    ProjectRead read = readProjectText(
        std::string_view(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size())),
        shownPath(path).toStdString());
    if (!read.project)
        return {std::nullopt, QString::fromStdString(read.error)};
    return {std::move(read.project), std::nullopt};
}

std::optional<QString> saveProject(const Project &project, const QString &path)
{
    const std::string text = projectFileText(project);
    if (text.size() > MaxFileTextBytes)
        return failureText(path, QStringLiteral("the project's file would hold %1 bytes, more "
                                                "than the %2 (64 MiB) a file may hold")
                                     .arg(text.size())
                                     .arg(MaxFileTextBytes));
    return writeRouteFile(path, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace plenix
