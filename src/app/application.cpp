// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "dialogs.h"

#include <new>

using namespace Qt::StringLiterals;

namespace plenix {

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        // The command's own memory is given back as the exception unwinds,
        // so the message has room to show.
        Dialogs::instance().message(
            activeWindow(), u"plenix"_s,
            tr("Not enough memory to finish that command. Your work is still open: save it, "
               "and close other programs before trying again."));
        return false;
    }
}

} // namespace plenix
