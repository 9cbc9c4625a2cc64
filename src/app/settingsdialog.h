// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/method.h"

#include <QDialog>

#include <optional>
#include <string>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace plenix {

// What File > Project Settings sets: the project's method, units, material
// and air, and the material of the route shown.
struct ProjectSettingsChoice
{
    method::Settings settings;
    std::string routeMaterial; // empty: the project's
    friend bool operator==(const ProjectSettingsChoice &, const ProjectSettingsChoice &) = default;
};

class ProjectSettingsDialog final : public QDialog
{
    Q_OBJECT

public:
    ProjectSettingsDialog(const ProjectSettingsChoice &current, const QString &routeName,
                          QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(ProjectSettingsDialog)

    // The settings as the fields give them, or nothing while a field does
    // not read as a number.
    std::optional<ProjectSettingsChoice> choice() const;

private:
    units::System units() const;
    // Carries the numbers typed over into the units just chosen.
    void switchUnits();
    // Enables the fields in use, names their units, and holds OK back
    // while the settings cannot be calculated.
    void review();

    QComboBox *unitsBox;
    QComboBox *flowUnitBox;
    QComboBox *methodBox;
    QComboBox *materialBox;
    QLineEdit *roughnessEdit;
    QLabel *roughnessUnit;
    QComboBox *routeMaterialBox;
    QComboBox *airBox;
    QLineEdit *elevationEdit;
    QLabel *elevationUnit;
    QLineEdit *temperatureEdit;
    QLabel *temperatureUnit;
    QLineEdit *densityEdit;
    QLabel *densityUnit;
    QLabel *problemLabel;
    QPushButton *switchMethodButton;
    QDialogButtonBox *buttons;
    units::System m_shownUnits;
    // A project that names no material stays so while the default is kept.
    bool m_namesMaterial;
};

} // namespace plenix
