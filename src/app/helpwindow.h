// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace plenix {

// The help viewer: a window of its own that shows the program's HTML help.
// It belongs to the main window (it closes with it and stays above it) but
// never blocks it, so the user can read and work at the same time.
class HelpWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)

public:
    explicit HelpWindow(QWidget *owner);
    ~HelpWindow() override;

    // Opens the contents page (the start) of `helpFile`. False, with a
    // description of the failure in `error`, when the file cannot be read.
    bool showContents(const QString &helpFile, QString &error);

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

// Help > Help Topics of the window `owner`. An empty `helpFile` means the
// program has no help, which an information message titled with the owner's
// caption says. A file that cannot be shown is reported in a plain message.
// Otherwise the owner's help window (made on first use) shows the contents
// page and comes to the front; the owner stays usable.
void showHelpContents(QWidget *owner, const QString &helpFile);

// The help file this build shows: the one fixed when it was built. A program
// run from its own build folder (`buildProgramDir`, compared with the folder
// `programDir` it runs from) shows the copy in the source tree instead, so
// that a build needs no install to show the help it was built with. An empty
// `configured` path means there is no help, wherever the program runs.
QString helpFilePath(const QString &configured, const QString &sourceCopy,
                     const QString &buildProgramDir, const QString &programDir);

// The same for this program, with the paths compiled in.
QString helpFilePath();

} // namespace plenix
