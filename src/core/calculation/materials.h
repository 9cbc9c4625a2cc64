// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "units.h"

#include <string>
#include <string_view>
#include <vector>

// The duct materials and their absolute roughness. The table is data: the
// materials.json beside this file, each value with its published source,
// built into the program.
namespace plenix::materials {

struct Material
{
    std::string id; // what a project file and the command line name it by
    std::vector<std::string> aliases;
    std::string name;
    double roughnessFt = 0;
    double roughnessMm = 0;
    // Flexible duct loses several times more when it is not fully extended.
    bool flexible = false;
    std::string source; // the publication, its table, and the row

    double roughness(units::System system) const
    {
        return system == units::System::InchPound ? roughnessFt : roughnessMm;
    }
};

struct Table
{
    std::vector<Material> materials;
};

// The table built into the program.
const Table &builtIn();

// Reads a table's JSON text; throws std::runtime_error naming the fault.
Table readTable(std::string_view json);

// The material of that id or alias, in any case; nullptr for none.
const Material *find(std::string_view name);

// The id of the material a project uses when it names none.
inline constexpr std::string_view DefaultMaterial = "galvanised";

} // namespace plenix::materials
