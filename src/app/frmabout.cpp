#include "frmabout.h"

#include "dialogs.h"
#include "version.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

// The resources live in a static library, whose registration the linker
// would drop unless something names it; Q_INIT_RESOURCE must stand outside
// any namespace.
static void initPlenixResources()
{
    Q_INIT_RESOURCE(plenix);
}

namespace {
constexpr int IconSize = 32;

QIcon programIcon()
{
    initPlenixResources();
    QIcon icon;
    icon.addFile(u":/plenix/icons/plenix-32.png"_s, QSize(32, 32));
    icon.addFile(u":/plenix/icons/plenix-64.png"_s, QSize(64, 64));
    return icon;
}
} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent), picIcon(new QLabel(this)), lblTitle(new QLabel(this)),
      lblVersion(new QLabel(this)), lblDescription(new QLabel(this)),
      lblDisclaimer(new QLabel(this)), Line1(new QFrame(this)),
      cmdOK(new QPushButton(u"OK"_s, this)), cmdSysInfo(new QPushButton(u"&System Info..."_s, this))
{
    setWindowTitle(u"About Plenix"_s);

    picIcon->setObjectName(u"picIcon"_s);
    lblTitle->setObjectName(u"lblTitle"_s);
    lblVersion->setObjectName(u"lblVersion"_s);
    lblDescription->setObjectName(u"lblDescription"_s);
    lblDisclaimer->setObjectName(u"lblDisclaimer"_s);
    Line1->setObjectName(u"Line1"_s);
    cmdOK->setObjectName(u"cmdOK"_s);
    cmdSysInfo->setObjectName(u"cmdSysInfo"_s);

    picIcon->setFixedSize(IconSize, IconSize);
    picIcon->setPixmap(programIcon().pixmap(QSize(IconSize, IconSize), devicePixelRatioF()));

    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblDescription->setTextFormat(Qt::PlainText);
    lblDisclaimer->setTextFormat(Qt::PlainText);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setText(u"Every figure must be checked by a qualified engineer before it is "
                           "used. Plenix comes without any warranty."_s);

    // Two lines in one: the sunken frame draws the grey line above the white.
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    // OK is the default button; Esc rejects the dialog, which closes it too.
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    const int buttonWidth = qMax(cmdOK->sizeHint().width(), cmdSysInfo->sizeHint().width());
    cmdOK->setFixedWidth(buttonWidth);
    cmdSysInfo->setFixedWidth(buttonWidth);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(lblTitle, 0, 1, 1, 2);
    grid->addWidget(lblVersion, 1, 1, 1, 2);
    grid->addWidget(lblDescription, 2, 1, 1, 2);
    grid->addWidget(Line1, 3, 0, 1, 3);
    grid->addWidget(lblDisclaimer, 4, 0, 2, 2, Qt::AlignTop);
    grid->addWidget(cmdOK, 4, 2);
    grid->addWidget(cmdSysInfo, 5, 2);
    grid->setColumnMinimumWidth(1, 300);
    grid->setRowMinimumHeight(3, 16);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load()
{
    lblVersion->setText(u"Version %1.%2.%3"_s.arg(PLENIX_VERSION_MAJOR)
                            .arg(PLENIX_VERSION_MINOR)
                            .arg(PLENIX_VERSION_PATCH));
    lblTitle->setText(u"Plenix"_s);
    lblDescription->setText(u"\nAirflow in Ducts\n\n"
                            "Web site: none; the manual is under Help > Help Topics.\n"
                            "E-mail: no support address is given."_s);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

QStringList frmAbout::sysInfoPrograms()
{
    // Dedicated system-information programs first, then the system monitors
    // of the common desktops, which show the hardware and the system too.
    return {u"hardinfo2"_s,           u"hardinfo"_s,
            u"kinfocenter"_s,         u"gnome-system-monitor"_s,
            u"mate-system-monitor"_s, u"xfce4-taskmanager"_s};
}

bool frmAbout::GetKeyValue(const QString &keyName, QString &keyVal)
{
    keyVal = QStandardPaths::findExecutable(keyName);
    return !keyVal.isEmpty();
}

void frmAbout::StartSysInfo()
{
    const QStringList programs = sysInfoPrograms();
    for (const QString &program : programs) {
        QString path;
        if (!GetKeyValue(program, path))
            continue;
        // The first one found is the one meant; if it will not start, no
        // other is tried behind the user's back.
        if (QProcess::startDetached(path, {}))
            return;
        break;
    }
    Dialogs::instance().message(this, u"plenix"_s,
                                u"System Information Is Unavailable At This Time"_s);
}
