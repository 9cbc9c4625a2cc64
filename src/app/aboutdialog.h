// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;

namespace plenix {

// The About box: the program's icon, title, version and a short description,
// a notice, and a button that starts the desktop's system-information
// program. Shown modally over the main window; it changes nothing else.
class AboutDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutDialog)

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    // Starts the first system-information program of `systemInfoPrograms` found
    // on the PATH, detached, and leaves it running on its own. When none is
    // found, or it cannot be started, says so. The dialog stays open.
    void startSystemInfo();

    // The desktops' system-information programs, in the order they are tried.
    static QStringList systemInfoPrograms();

private:
    void showTexts();

    QLabel *iconLabel;
    QLabel *titleLabel;
    QLabel *versionLabel;
    QLabel *descriptionLabel;
    QLabel *disclaimerLabel;
    QFrame *separatorLine;
    QPushButton *okButton;
    QPushButton *systemInfoButton;
};

} // namespace plenix
