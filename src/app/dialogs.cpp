// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include "elbowdialog.h"
#include "projectdialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

namespace plenix {

namespace {
Dialogs *g_installed = nullptr;

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString runFileDialog(QWidget *parent, QFileDialog::AcceptMode mode, const QString &title,
                      const QString &filter, const QString &initialName)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(mode);
    // Open takes a name that does not exist too: the read then reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    // Files are replaced without a question. A name typed without an
    // extension gets the chosen format's, so that it is found again by it;
    // a name with any extension stays as typed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (mode == QFileDialog::AcceptSave) {
        const auto extensionOf = [](const QString &nameFilter) {
            const QRegularExpressionMatch match =
                QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(nameFilter);
            return match.hasMatch() ? match.captured(1) : QString();
        };
        dialog.setDefaultSuffix(extensionOf(dialog.selectedNameFilter()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, &extensionOf](const QString &nameFilter) {
                             dialog.setDefaultSuffix(extensionOf(nameFilter));
                         });
    }
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}
} // namespace

void Dialogs::information(QWidget *parent, const QString &title, const QString &text)
{
    showBox(parent, QMessageBox::Information, title, text);
}

void Dialogs::message(QWidget *parent, const QString &title, const QString &text)
{
    showBox(parent, QMessageBox::NoIcon, title, text);
}

std::optional<QString> Dialogs::askElbowRadius(QWidget *parent, const QString &angle,
                                               float diameter)
{
    ElbowRadiusDialog dialog(angle, diameter, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.reply();
}

QString Dialogs::openFileName(QWidget *parent, const QString &title, const QString &filter,
                              const QString &initialName)
{
    return runFileDialog(parent, QFileDialog::AcceptOpen, title, filter, initialName);
}

QString Dialogs::saveFileName(QWidget *parent, const QString &title, const QString &filter,
                              const QString &initialName)
{
    return runFileDialog(parent, QFileDialog::AcceptSave, title, filter, initialName);
}

void Dialogs::printPreview(QWidget *parent, QPrinter &printer,
                           const std::function<void(QPrinter &)> &paint)
{
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("Dialogs", "Print Report"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter *device) { paint(*device); });
    dialog.exec();
}

Dialogs::SaveChoice Dialogs::askSaveChanges(QWidget *parent, const QString &name)
{
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("plenix"),
        QCoreApplication::translate("Dialogs", "Save changes to %1 before closing?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

Dialogs::DiskChoice Dialogs::askChangedOnDisk(QWidget *parent, const QString &name)
{
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("plenix"),
        QCoreApplication::translate("Dialogs", "%1 has changed on disk since it was opened")
            .arg(name),
        QMessageBox::Cancel, parent);
    QPushButton *overwrite = box.addButton(QCoreApplication::translate("Dialogs", "&Overwrite"),
                                           QMessageBox::AcceptRole);
    QPushButton *reload =
        box.addButton(QCoreApplication::translate("Dialogs", "&Reload"), QMessageBox::ResetRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == overwrite)
        return DiskChoice::Overwrite;
    if (box.clickedButton() == reload)
        return DiskChoice::Reload;
    return DiskChoice::Cancel;
}

std::optional<QString> Dialogs::askText(QWidget *parent, const QString &title, const QString &label,
                                        const QString &initial)
{
    bool accepted = false;
    const QString reply =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &accepted);
    return accepted ? std::optional(reply) : std::nullopt;
}

bool Dialogs::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<Takeoff> Dialogs::askTakeoff(QWidget *parent, const QStringList &routes,
                                           const Takeoff &current)
{
    TakeoffDialog dialog(routes, current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.takeoff();
}

std::optional<JobInfo> Dialogs::askJobInfo(QWidget *parent, const JobInfo &job)
{
    JobInfoDialog dialog(job, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.job();
}

std::optional<Dialogs::FanSide> Dialogs::askFanSide(QWidget *parent, const FanSide &current)
{
    FanSideDialog dialog(current.items, current.safetyFactor, current.units, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FanSide{dialog.items(), dialog.safetyFactor(), current.units};
}

std::optional<ProjectSettingsChoice>
Dialogs::askProjectSettings(QWidget *parent, const ProjectSettingsChoice &current,
                            const QString &routeName)
{
    ProjectSettingsDialog dialog(current, routeName, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

std::optional<SizingChoice> Dialogs::askSizing(QWidget *parent, const SizingRequest &request)
{
    SizeDuctsDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

std::optional<FittingChoice> Dialogs::askFitting(QWidget *parent, const FittingRequest &request)
{
    FittingDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

Dialogs &Dialogs::instance()
{
    static Dialogs qtDialogs;
    return g_installed ? *g_installed : qtDialogs;
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    g_installed = dialogs;
}

} // namespace plenix
