// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutdialog.h"

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

namespace plenix {

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

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent), iconLabel(new QLabel(this)), titleLabel(new QLabel(this)),
      versionLabel(new QLabel(this)), descriptionLabel(new QLabel(this)),
      disclaimerLabel(new QLabel(this)), separatorLine(new QFrame(this)),
      okButton(new QPushButton(u"OK"_s, this)),
      systemInfoButton(new QPushButton(u"&System Info..."_s, this))
{
    setWindowTitle(tr("About Plenix"));

    iconLabel->setObjectName(u"iconLabel"_s);
    titleLabel->setObjectName(u"titleLabel"_s);
    versionLabel->setObjectName(u"versionLabel"_s);
    descriptionLabel->setObjectName(u"descriptionLabel"_s);
    disclaimerLabel->setObjectName(u"disclaimerLabel"_s);
    separatorLine->setObjectName(u"separatorLine"_s);
    okButton->setObjectName(u"okButton"_s);
    systemInfoButton->setObjectName(u"systemInfoButton"_s);

    iconLabel->setFixedSize(IconSize, IconSize);
    iconLabel->setPixmap(programIcon().pixmap(QSize(IconSize, IconSize), devicePixelRatioF()));

    QFont titleFont = titleLabel->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    titleLabel->setFont(titleFont);

    descriptionLabel->setTextFormat(Qt::PlainText);
    disclaimerLabel->setTextFormat(Qt::PlainText);
    disclaimerLabel->setWordWrap(true);
    disclaimerLabel->setText(tr("Every figure must be checked by a qualified engineer before it "
                                "is used. Plenix comes without any warranty."));

    // Two lines in one: the sunken frame draws the grey line above the white.
    separatorLine->setFrameShape(QFrame::HLine);
    separatorLine->setFrameShadow(QFrame::Sunken);

    // OK is the default button; Esc rejects the dialog, which closes it too.
    okButton->setDefault(true);
    okButton->setFocus();
    const int buttonWidth =
        qMax(okButton->sizeHint().width(), systemInfoButton->sizeHint().width());
    okButton->setFixedWidth(buttonWidth);
    systemInfoButton->setFixedWidth(buttonWidth);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(iconLabel, 0, 0, 3, 1, Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(titleLabel, 0, 1, 1, 2);
    grid->addWidget(versionLabel, 1, 1, 1, 2);
    grid->addWidget(descriptionLabel, 2, 1, 1, 2);
    grid->addWidget(separatorLine, 3, 0, 1, 3);
    grid->addWidget(disclaimerLabel, 4, 0, 2, 2, Qt::AlignTop);
    grid->addWidget(okButton, 4, 2);
    grid->addWidget(systemInfoButton, 5, 2);
    grid->setColumnMinimumWidth(1, 300);
    grid->setRowMinimumHeight(3, 16);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(okButton, &QPushButton::clicked, this, &AboutDialog::accept);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutDialog::startSystemInfo);

    showTexts();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::showTexts()
{
    versionLabel->setText(tr("Version %1.%2.%3")
                              .arg(PLENIX_VERSION_MAJOR)
                              .arg(PLENIX_VERSION_MINOR)
                              .arg(PLENIX_VERSION_PATCH));
    titleLabel->setText(u"Plenix"_s);
    descriptionLabel->setText(tr("\nAirflow in Ducts\n\n"
                                 "Web site: none; the manual is under Help > Help Topics.\n"
                                 "E-mail: no support address is given."));
}

QStringList AboutDialog::systemInfoPrograms()
{
    // Dedicated system-information programs first, then the system monitors
    // of the common desktops, which show the hardware and the system too.
    return {u"hardinfo2"_s,           u"hardinfo"_s,
            u"kinfocenter"_s,         u"gnome-system-monitor"_s,
            u"mate-system-monitor"_s, u"xfce4-taskmanager"_s};
}

void AboutDialog::startSystemInfo()
{
    const QStringList programs = systemInfoPrograms();
    for (const QString &program : programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            continue;
        // The first one found is the one meant; if it will not start, no
        // other is tried behind the user's back.
        if (QProcess::startDetached(path, {}))
            return;
        break;
    }
    Dialogs::instance().message(this, u"plenix"_s,
                                tr("System Information Is Unavailable At This Time"));
}

} // namespace plenix
