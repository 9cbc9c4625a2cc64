#pragma once

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the program's icon, title, version and a short description,
// a notice, and a button that starts the desktop's system-information
// program. Shown modally over the main window; it changes nothing else.
class frmAbout final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    // Starts the first system-information program of `sysInfoPrograms` found
    // on the PATH, detached, and leaves it running on its own. When none is
    // found, or it cannot be started, says so. The dialog stays open.
    void StartSysInfo();

    // Looks the program named `keyName` up on the PATH: true with its full
    // path in `keyVal`, or false with `keyVal` emptied.
    static bool GetKeyValue(const QString &keyName, QString &keyVal);

    // The desktops' system-information programs, in the order they are tried.
    static QStringList sysInfoPrograms();

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QFrame *Line1;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;
};
