// SPDX-License-Identifier: GPL-3.0-or-later
#include "materials.h"

#include "charset.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <stdexcept>

namespace plenix::materials {

namespace {

constexpr std::string_view BuiltInJson =
#include "materials.inc"
    ;

} // namespace

Table readTable(std::string_view json)
{
    try {
        const nlohmann::json data = nlohmann::json::parse(json);
        Table table;
        for (const nlohmann::json &entry : data.at("materials")) {
            Material material;
            material.id = entry.at("id").get<std::string>();
            material.aliases = entry.at("aliases").get<std::vector<std::string>>();
            material.name = entry.at("name").get<std::string>();
            material.roughnessFt = entry.at("roughnessFt").get<double>();
            material.roughnessMm = entry.at("roughnessMm").get<double>();
            material.flexible = entry.value("flexible", false);
            material.source = entry.at("source").get<std::string>();
            if (!(material.roughnessFt >= 0) || !(material.roughnessMm >= 0))
                throw std::runtime_error("material " + material.id + " has a negative roughness");
            table.materials.push_back(std::move(material));
        }
        return table;
    } catch (const nlohmann::json::exception &error) {
        throw std::runtime_error(std::string("the material table cannot be read: ") + error.what());
    }
}

const Table &builtIn()
{
    static const Table table = readTable(BuiltInJson);
    return table;
}

const Material *find(std::string_view name)
{
    for (const Material &material : builtIn().materials) {
        if (equalsIgnoringCase(material.id, name) ||
            std::ranges::any_of(material.aliases, [name](const std::string &alias) {
                return equalsIgnoringCase(alias, name);
            }))
            return &material;
    }
    return nullptr;
}

} // namespace plenix::materials
