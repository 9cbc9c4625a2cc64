// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace plenix {

// The application object. An allocation that fails while an event is handled
// (a save of a huge route, a report, a paste) ends that command with a
// message instead of ending the program and taking the unsaved work with it.
class Application final : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv) : QApplication(argc, argv) {}

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace plenix
