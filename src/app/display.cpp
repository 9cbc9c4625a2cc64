// SPDX-License-Identifier: GPL-3.0-or-later
#include "display.h"

#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace plenix {

bool isDisplayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

QString noDisplayMessage(const QString &program)
{
    return u"plenix: no display found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
           "Plenix is a desktop program and needs a graphical session. To run it on a\n"
           "machine without one, start it in a virtual X server:\n"
           "    xvfb-run -s \"-screen 0 1280x1024x24\" %1\n"_s.arg(program);
}

} // namespace plenix
