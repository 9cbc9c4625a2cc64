// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsdialog.h"

#include "calculation/materials.h"
#include "numbertext.h"
#include "textcodec.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace plenix {

namespace {

using units::Quantity;

// The material box's last entry: a roughness of the engineer's own.
constexpr int CustomMaterial = -1;

QString numberText(double value)
{
    return QString::fromStdString(shortText(value, 10));
}

std::optional<double> numberIn(const QLineEdit &edit)
{
    bool ok = false;
    const double value = edit.text().trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// A line edit with its unit after it.
QHBoxLayout *withUnit(QLineEdit *edit, QLabel *unit)
{
    auto *row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(unit);
    return row;
}

} // namespace

ProjectSettingsDialog::ProjectSettingsDialog(const ProjectSettingsChoice &current,
                                             const QString &routeName, QWidget *parent)
    : QDialog(parent), unitsBox(new QComboBox(this)), flowUnitBox(new QComboBox(this)),
      methodBox(new QComboBox(this)), materialBox(new QComboBox(this)),
      roughnessEdit(new QLineEdit(this)), roughnessUnit(new QLabel(this)),
      routeMaterialBox(new QComboBox(this)), airBox(new QComboBox(this)),
      elevationEdit(new QLineEdit(this)), elevationUnit(new QLabel(this)),
      temperatureEdit(new QLineEdit(this)), temperatureUnit(new QLabel(this)),
      densityEdit(new QLineEdit(this)), densityUnit(new QLabel(this)),
      problemLabel(new QLabel(this)),
      switchMethodButton(new QPushButton(tr("Use &Darcy-Colebrook"), this)),
      buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      m_shownUnits(current.settings.units), m_namesMaterial(!current.settings.material.empty())
{
    setWindowTitle(tr("Project Settings"));
    const method::Settings &settings = current.settings;
    unitsBox->setObjectName(QStringLiteral("unitsBox"));
    unitsBox->addItem(tr("Inch-pound: cfm, in, ft, in wg"));
    unitsBox->addItem(tr("SI: L/s, mm, m, Pa"));
    unitsBox->setCurrentIndex(settings.units == units::System::SI ? 1 : 0);
    flowUnitBox->setObjectName(QStringLiteral("flowUnitBox"));
    // Each unit carries itself, so the list's order is free.
    for (const units::FlowUnit unit :
         {units::FlowUnit::LitresPerSecond, units::FlowUnit::CubicMetresPerHour,
          units::FlowUnit::CubicMetresPerSecond})
        flowUnitBox->addItem(QString::fromStdString(std::string(units::flowSymbol(unit))),
                             static_cast<int>(unit));
    flowUnitBox->setCurrentIndex(flowUnitBox->findData(static_cast<int>(settings.flowUnit)));
    methodBox->setObjectName(QStringLiteral("methodBox"));
    methodBox->addItem(tr("Classic"));
    methodBox->addItem(tr("Darcy-Colebrook"));
    methodBox->setCurrentIndex(settings.isClassic() ? 0 : 1);

    materialBox->setObjectName(QStringLiteral("materialBox"));
    routeMaterialBox->setObjectName(QStringLiteral("routeMaterialBox"));
    routeMaterialBox->addItem(tr("As the project"), QString());
    const std::string projectMaterial =
        settings.material.empty() ? std::string(materials::DefaultMaterial) : settings.material;
    for (const materials::Material &material : materials::builtIn().materials) {
        const QString id = QString::fromStdString(material.id);
        materialBox->addItem(QString::fromStdString(material.name), id);
        routeMaterialBox->addItem(QString::fromStdString(material.name), id);
        if (materials::find(projectMaterial) == &material)
            materialBox->setCurrentIndex(materialBox->count() - 1);
        if (materials::find(current.routeMaterial) == &material)
            routeMaterialBox->setCurrentIndex(routeMaterialBox->count() - 1);
    }
    materialBox->addItem(tr("Custom roughness"), CustomMaterial);
    roughnessEdit->setObjectName(QStringLiteral("roughnessEdit"));
    if (settings.roughness) {
        materialBox->setCurrentIndex(materialBox->count() - 1);
        roughnessEdit->setText(numberText(*settings.roughness));
    }

    airBox->setObjectName(QStringLiteral("airBox"));
    airBox->addItem(tr("Standard air"));
    airBox->addItem(tr("At the site's elevation and temperature"));
    airBox->addItem(tr("Density as given"));
    airBox->setCurrentIndex(static_cast<int>(settings.air.basis));
    elevationEdit->setObjectName(QStringLiteral("elevationEdit"));
    temperatureEdit->setObjectName(QStringLiteral("temperatureEdit"));
    densityEdit->setObjectName(QStringLiteral("densityEdit"));
    const bool site = settings.air.basis == air::Basis::Site;
    elevationEdit->setText(numberText(site ? settings.air.elevation : 0));
    temperatureEdit->setText(
        numberText(site ? settings.air.temperature : air::standardTemperature(settings.units)));
    densityEdit->setText(numberText(settings.air.basis == air::Basis::Typed
                                        ? settings.air.density
                                        : air::standardDensity(settings.units)));

    problemLabel->setObjectName(QStringLiteral("problemLabel"));
    problemLabel->setWordWrap(true);
    switchMethodButton->setObjectName(QStringLiteral("switchMethodButton"));
    buttons->setObjectName(QStringLiteral("buttons"));

    auto *layout = new QFormLayout(this);
    layout->addRow(tr("&Units:"), unitsBox);
    layout->addRow(tr("&Flows in:"), flowUnitBox);
    layout->addRow(tr("&Method:"), methodBox);
    layout->addRow(tr("M&aterial:"), materialBox);
    // A row of a field and its unit, its label the field's buddy.
    const auto addField = [this, layout](const QString &caption, QLineEdit *edit, QLabel *unit) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        layout->addRow(label, withUnit(edit, unit));
    };
    addField(tr("&Roughness:"), roughnessEdit, roughnessUnit);
    layout->addRow(tr("Route \"%1\" is &of:").arg(routeName), routeMaterialBox);
    layout->addRow(tr("A&ir:"), airBox);
    addField(tr("&Elevation:"), elevationEdit, elevationUnit);
    addField(tr("&Temperature:"), temperatureEdit, temperatureUnit);
    addField(tr("De&nsity:"), densityEdit, densityUnit);
    auto *note = new QLabel(
        tr("Switching the units converts every flow, size, length and fan-side pressure, and "
           "switching the flows' unit every flow."),
        this);
    note->setWordWrap(true);
    layout->addRow(note);
    layout->addRow(problemLabel);
    layout->addRow(switchMethodButton);
    layout->addRow(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(switchMethodButton, &QPushButton::clicked, this,
            [this] { methodBox->setCurrentIndex(1); });
    connect(unitsBox, &QComboBox::currentIndexChanged, this, &ProjectSettingsDialog::switchUnits);
    for (QComboBox *box : {flowUnitBox, methodBox, materialBox, routeMaterialBox, airBox})
        connect(box, &QComboBox::currentIndexChanged, this, &ProjectSettingsDialog::review);
    for (QLineEdit *edit : {roughnessEdit, elevationEdit, temperatureEdit, densityEdit})
        connect(edit, &QLineEdit::textChanged, this, &ProjectSettingsDialog::review);
    review();
}

units::System ProjectSettingsDialog::units() const
{
    return unitsBox->currentIndex() == 1 ? units::System::SI : units::System::InchPound;
}

void ProjectSettingsDialog::switchUnits()
{
    const units::System from = m_shownUnits;
    m_shownUnits = units();
    for (const auto &[edit, quantity] :
         {std::pair{roughnessEdit, Quantity::Roughness}, std::pair{elevationEdit, Quantity::Length},
          std::pair{temperatureEdit, Quantity::Temperature},
          std::pair{densityEdit, Quantity::Density}}) {
        if (const std::optional<double> value = numberIn(*edit))
            edit->setText(numberText(units::convert(*value, quantity, from)));
    }
    // Fields not in use show the new system's standard air, which is not
    // the old one's converted: 70 F is 21.1 C, and standard air at 20 C.
    const auto basis = static_cast<air::Basis>(airBox->currentIndex());
    if (basis != air::Basis::Site)
        temperatureEdit->setText(numberText(air::standardTemperature(m_shownUnits)));
    if (basis != air::Basis::Typed)
        densityEdit->setText(numberText(air::standardDensity(m_shownUnits)));
    review();
}

std::optional<ProjectSettingsChoice> ProjectSettingsDialog::choice() const
{
    ProjectSettingsChoice choice;
    method::Settings &settings = choice.settings;
    settings.units = units();
    // Inch-pound flows are in cfm; the choice waits for SI.
    if (settings.units == units::System::SI)
        settings.flowUnit = static_cast<units::FlowUnit>(flowUnitBox->currentData().toInt());
    settings.friction = methodBox->currentIndex() == 1 ? method::Friction::DarcyColebrook
                                                       : method::Friction::Classic;
    const QVariant material = materialBox->currentData();
    if (material == CustomMaterial) {
        settings.roughness = numberIn(*roughnessEdit);
        if (!settings.roughness)
            return std::nullopt;
    } else if (m_namesMaterial || material.toString().toStdString() != materials::DefaultMaterial) {
        settings.material = material.toString().toStdString();
    }
    choice.routeMaterial = routeMaterialBox->currentData().toString().toStdString();
    settings.air.basis = static_cast<air::Basis>(airBox->currentIndex());
    if (settings.air.basis == air::Basis::Site) {
        const std::optional<double> elevation = numberIn(*elevationEdit);
        const std::optional<double> temperature = numberIn(*temperatureEdit);
        if (!elevation || !temperature)
            return std::nullopt;
        settings.air.elevation = *elevation;
        settings.air.temperature = *temperature;
    } else if (settings.air.basis == air::Basis::Typed) {
        const std::optional<double> density = numberIn(*densityEdit);
        if (!density)
            return std::nullopt;
        settings.air.density = *density;
    }
    return choice;
}

void ProjectSettingsDialog::review()
{
    const units::System system = units();
    const bool darcy = methodBox->currentIndex() == 1;
    const air::Basis basis = static_cast<air::Basis>(airBox->currentIndex());
    flowUnitBox->setEnabled(system == units::System::SI);
    materialBox->setEnabled(darcy);
    routeMaterialBox->setEnabled(darcy);
    roughnessEdit->setEnabled(darcy && materialBox->currentData() == CustomMaterial);
    elevationEdit->setEnabled(basis == air::Basis::Site);
    temperatureEdit->setEnabled(basis == air::Basis::Site);
    densityEdit->setEnabled(basis == air::Basis::Typed);
    roughnessUnit->setText(unitText(Quantity::Roughness, system));
    elevationUnit->setText(unitText(Quantity::Length, system));
    temperatureUnit->setText(unitText(Quantity::Temperature, system));
    densityUnit->setText(unitText(Quantity::Density, system));

    const std::optional<ProjectSettingsChoice> current = choice();
    QString problem;
    if (!current)
        problem = tr("A field in use does not hold a number.");
    else if (const std::optional<std::string> error = method::settingsError(current->settings))
        problem = QString::fromStdString(*error);
    problemLabel->setText(problem);
    problemLabel->setVisible(!problem.isEmpty());
    // The classic method cannot take SI units or other air; offer the one
    // that can.
    switchMethodButton->setVisible(!darcy && current && !problem.isEmpty());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
}

} // namespace plenix
