// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fittingdialog.h"
#include "project/project.h"
#include "settingsdialog.h"
#include "sizingdialog.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

namespace plenix {

// Every modal dialog the program opens goes through here, so that tests can
// answer them without a person. The program uses the Qt dialogs below; a
// test installs its own answers with `Dialogs::setInstance`.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    enum class SaveChoice
    {
        Save,
        Discard,
        Cancel
    };

    // A message with the information icon and OK.
    virtual void information(QWidget *parent, const QString &title, const QString &text);
    // A message with no icon and OK.
    virtual void message(QWidget *parent, const QString &title, const QString &text);
    // The elbow radius prompt for an elbow of the angle in a duct of the
    // diameter; the reply as typed, nothing on Cancel.
    virtual std::optional<QString> askElbowRadius(QWidget *parent, const QString &angle,
                                                  float diameter);
    // File dialogs; an empty name means cancelled.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &initialName);
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &initialName);
    // Qt's print preview of what `paint` lays out on the printer; printing
    // from it goes wherever the person chooses there.
    virtual void printPreview(QWidget *parent, QPrinter &printer,
                              const std::function<void(QPrinter &)> &paint);

    // "Save changes to NAME before closing?" with Save, Discard and Cancel;
    // closing the box is Cancel.
    virtual SaveChoice askSaveChanges(QWidget *parent, const QString &name);

    enum class DiskChoice
    {
        Overwrite,
        Reload,
        Cancel
    };
    // "NAME has changed on disk since it was opened" with Overwrite, Reload
    // and Cancel; closing the box is Cancel.
    virtual DiskChoice askChangedOnDisk(QWidget *parent, const QString &name);

    // A line of text, such as a route's new name; nothing on Cancel.
    virtual std::optional<QString> askText(QWidget *parent, const QString &title,
                                           const QString &label, const QString &initial);
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text);
    // A route's take-off, chosen among the routes named; nothing on Cancel.
    virtual std::optional<Takeoff> askTakeoff(QWidget *parent, const QStringList &routes,
                                              const Takeoff &current);
    // The job information; nothing on Cancel.
    virtual std::optional<JobInfo> askJobInfo(QWidget *parent, const JobInfo &job);
    // The fan-side items and the safety factor; nothing on Cancel.
    struct FanSide
    {
        std::vector<FanItem> items;
        QString safetyFactor;
        units::System units = units::System::InchPound; // of the pressures
    };
    virtual std::optional<FanSide> askFanSide(QWidget *parent, const FanSide &current);

    // The project's method, units, material and air, and the material of
    // the route named; nothing on Cancel.
    virtual std::optional<ProjectSettingsChoice>
    askProjectSettings(QWidget *parent, const ProjectSettingsChoice &current,
                       const QString &routeName);

    // Tools > Size Ducts: the criterion and shape to size the selected duct
    // runs by; nothing on Cancel.
    virtual std::optional<SizingChoice> askSizing(QWidget *parent, const SizingRequest &request);

    // Tools > Fitting Library: the row a fitting of the library makes;
    // nothing on Cancel.
    virtual std::optional<FittingChoice> askFitting(QWidget *parent, const FittingRequest &request);

    static Dialogs &instance();
    // Replaces the dialogs for a test; nullptr restores Qt's. Not owned.
    static void setInstance(Dialogs *dialogs);
};

} // namespace plenix
