// SPDX-License-Identifier: GPL-3.0-or-later
#include "method.h"

#include "materials.h"
#include "numbertext.h"

namespace plenix::method {

std::string_view frictionKey(Friction friction)
{
    return friction == Friction::Classic ? "classic" : "darcy-colebrook";
}

std::optional<Friction> frictionFromKey(std::string_view key)
{
    if (key == "classic")
        return Friction::Classic;
    if (key == "darcy-colebrook" || key == "darcy")
        return Friction::DarcyColebrook;
    return std::nullopt;
}

Settings withOverrides(Settings settings, const Overrides &overrides)
{
    if (overrides.units)
        settings.units = *overrides.units;
    if (overrides.flowUnit)
        settings.flowUnit = *overrides.flowUnit;
    if (overrides.friction)
        settings.friction = *overrides.friction;
    if (overrides.material) {
        settings.material = *overrides.material;
        settings.roughness.reset();
    }
    if (overrides.roughness)
        settings.roughness = overrides.roughness;
    if (overrides.elevation || overrides.temperature) {
        const bool site = settings.air.basis == air::Basis::Site;
        settings.air.elevation = overrides.elevation.value_or(site ? settings.air.elevation : 0.0);
        settings.air.temperature = overrides.temperature.value_or(
            site ? settings.air.temperature : air::standardTemperature(settings.units));
        settings.air.basis = air::Basis::Site;
    }
    if (overrides.density) {
        settings.air.basis = air::Basis::Typed;
        settings.air.density = *overrides.density;
    }
    return settings;
}

double maxRoughness(units::System system)
{
    return system == units::System::InchPound ? 0.1 : 30;
}

std::optional<std::string> settingsError(const Settings &settings)
{
    if (settings.units == units::System::InchPound &&
        settings.flowUnit != units::FlowUnit::LitresPerSecond)
        return "Flows in " + std::string(units::flowSymbol(settings.flowUnit)) + " need SI units.";
    if (settings.isClassic()) {
        if (settings.units != units::System::InchPound)
            return "SI units need the Darcy-Colebrook method.";
        if (settings.air.basis != air::Basis::Standard)
            return "Air other than standard air needs the Darcy-Colebrook method.";
        return std::nullopt;
    }
    if (settings.roughness) {
        const double limit = maxRoughness(settings.units);
        if (!(*settings.roughness >= 0 && *settings.roughness <= limit))
            return "The roughness must lie between 0 and " + shortText(limit, 6) + " " +
                   std::string(units::symbol(units::Quantity::Roughness, settings.units)) + ".";
    } else if (!settings.material.empty() && !materials::find(settings.material)) {
        return "The material \"" + settings.material + "\" is not in the table.";
    }
    return air::settingsError(settings.air, settings.units);
}

Settings forRoute(const Settings &project, std::string_view routeMaterial)
{
    Settings settings = project;
    if (!routeMaterial.empty()) {
        settings.material = routeMaterial;
        settings.roughness.reset();
    }
    return settings;
}

namespace {

const materials::Material &materialInForce(const Settings &settings)
{
    const materials::Material *material =
        materials::find(settings.material.empty() ? materials::DefaultMaterial : settings.material);
    return material ? *material : *materials::find(materials::DefaultMaterial);
}

} // namespace

double roughness(const Settings &settings)
{
    if (settings.roughness)
        return *settings.roughness;
    return materialInForce(settings).roughness(settings.units);
}

std::string flowSymbol(const Settings &settings)
{
    if (settings.units == units::System::InchPound)
        return std::string(units::symbol(units::Quantity::Flow, settings.units));
    return std::string(units::flowSymbol(settings.flowUnit));
}

std::string flowText(double flow, const Settings &settings)
{
    const bool cubicMetresPerSecond = settings.units == units::System::SI &&
                                      settings.flowUnit == units::FlowUnit::CubicMetresPerSecond;
    return fixedText(flow, cubicMetresPerSecond ? 3 : 0);
}

double litresPerSecondPerFlow(const Settings &settings)
{
    return settings.units == units::System::InchPound ? units::LitresPerSecondPerCfm
                                                      : units::litresPerSecondIn(settings.flowUnit);
}

RouteTable::HeaderTexts columnCaptions(const Settings &settings)
{
    if (settings.isClassic())
        return {"Item Qty",   "Flow, cfm",      "Diameter, in", "Length, ft", "Description",
                "Loss Coef.", "Item SP, in wg", "VP, in wg",    "Vel., fpm",  "Route SP, in wg"};
    if (settings.units == units::System::InchPound)
        return {"Item Qty",   "Flow, cfm",      "Size, in",  "Length, ft", "Description",
                "Loss Coef.", "Item SP, in wg", "VP, in wg", "Vel., fpm",  "Route SP, in wg"};
    // The cells' 8-bit set writes the superscript three as the byte 0xB3.
    std::string_view flow = "Flow, L/s";
    if (settings.flowUnit == units::FlowUnit::CubicMetresPerHour)
        flow = "Flow, m\xB3/h";
    else if (settings.flowUnit == units::FlowUnit::CubicMetresPerSecond)
        flow = "Flow, m\xB3/s";
    return {"Item Qty",   flow,          "Size, mm", "Length, m", "Description",
            "Loss Coef.", "Item SP, Pa", "VP, Pa",   "Vel., m/s", "Route SP, Pa"};
}

std::string materialName(const Settings &settings)
{
    return settings.roughness ? std::string("Custom") : materialInForce(settings).name;
}

} // namespace plenix::method
