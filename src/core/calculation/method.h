// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "air.h"
#include "routetable.h"
#include "units.h"

#include <optional>
#include <string>
#include <string_view>

// How a project computes: its units, its friction method, the duct material
// and the air.
namespace plenix::method {

enum class Friction
{
    // The classic route's empirical formula and arithmetic, in inch-pound
    // units and standard air only.
    Classic,
    // Darcy-Weisbach with the Colebrook-White friction factor.
    DarcyColebrook
};

// "classic" and "darcy-colebrook", as a project file writes them.
std::string_view frictionKey(Friction friction);
// The file's keys, and "darcy" for the second.
std::optional<Friction> frictionFromKey(std::string_view key);

struct Settings
{
    units::System units = units::System::InchPound;
    // The flows' unit in SI; inch-pound flows are in cfm whatever this says.
    units::FlowUnit flowUnit = units::FlowUnit::LitresPerSecond;
    Friction friction = Friction::Classic;
    // A material of the table, by id; ignored when a roughness is given.
    std::string material;
    // A roughness of the engineer's own, ft or mm.
    std::optional<double> roughness;
    air::Settings air;

    bool isClassic() const { return friction == Friction::Classic; }
    friend bool operator==(const Settings &, const Settings &) = default;
};

// What the command line may set over a file's settings.
struct Overrides
{
    std::optional<units::System> units;
    std::optional<units::FlowUnit> flowUnit;
    std::optional<Friction> friction;
    std::optional<std::string> material;
    std::optional<double> roughness;
    std::optional<double> elevation;
    std::optional<double> temperature;
    std::optional<double> density;

    bool any() const
    {
        return units || flowUnit || friction || material || roughness || elevation || temperature ||
               density;
    }
};

// The settings with the overrides put over them. An elevation or a
// temperature alone takes the other from the settings' site, or sea level
// and the standard temperature; a material drops a custom roughness.
Settings withOverrides(Settings settings, const Overrides &overrides);

// The largest roughness taken: 0.1 ft, 30 mm, far rougher than any duct.
double maxRoughness(units::System system);

// Why the settings cannot be calculated, or nothing. The classic method
// takes inch-pound units and standard air only; flows in m³/h or m³/s need
// SI units; a material must be in the table; a roughness must lie between 0
// and the largest.
std::optional<std::string> settingsError(const Settings &settings);

// The settings with a route's own material, when it names one.
Settings forRoute(const Settings &project, std::string_view routeMaterial);

// The absolute roughness in force, ft or mm.
double roughness(const Settings &settings);

// The unit the flow cells are typed in, as a symbol in UTF-8: "cfm", "L/s",
// "m³/h", "m³/s".
std::string flowSymbol(const Settings &settings);

// A flow the program works out, such as the fan's, in the flow cells' unit
// to the litre per second or closer: whole cfm, L/s and m³/h, and m³/s to
// three places.
std::string flowText(double flow, const Settings &settings);

// Litres per second in one of the flow cells' unit: cfm's, or the SI
// unit's.
double litresPerSecondPerFlow(const Settings &settings);

// The grid's column captions: the classic ones, or with the units of the
// settings and "Size" for a cell that may hold any shape.
RouteTable::HeaderTexts columnCaptions(const Settings &settings);

// The name of the material in force: the table's name, or "Custom".
std::string materialName(const Settings &settings);

} // namespace plenix::method
