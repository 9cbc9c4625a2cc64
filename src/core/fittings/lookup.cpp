// SPDX-License-Identifier: GPL-3.0-or-later
#include "fittings/lookup.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace plenix::fittings {

namespace {

bool isComponent(const Fitting &fitting)
{
    return fitting.kind == Fitting::Kind::Pressure;
}

std::string referenceKey(const Fitting &fitting)
{
    return isComponent(fitting) ? "pressure" : std::string(vpReferenceKey(fitting.vpReference));
}

std::string parametersText(const Fitting &fitting)
{
    std::string text;
    for (const Parameter &parameter : fitting.parameters) {
        if (!text.empty())
            text += "; ";
        text += parameter.id + " (" + parameter.name + ") " + rangeText(parameter);
    }
    return text;
}

std::string clampsText(const Fitting &fitting, const Evaluation &evaluation)
{
    std::string text;
    for (const Clamp &clamp : evaluation.clamps) {
        if (!text.empty())
            text += "; ";
        text += clampText(fitting, clamp);
    }
    return text;
}

} // namespace

TextRows libraryRows(const Library &library)
{
    TextRows rows{{"id", "name", "family", "parameters", "vpReference", "source"}};
    for (const Fitting &fitting : library.fittings) {
        rows.push_back({fitting.id, fitting.name, fitting.family, parametersText(fitting),
                        referenceKey(fitting), fitting.source});
    }
    return rows;
}

std::string libraryJson(const Library &library)
{
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const Fitting &fitting : library.fittings) {
        nlohmann::ordered_json parameters = nlohmann::ordered_json::array();
        for (const Parameter &parameter : fitting.parameters) {
            parameters.push_back(
                {{"id", parameter.id},
                 {"name", parameter.name},
                 {"unit", parameter.unit},
                 {"min", parameter.minimum},
                 {"max", parameter.maximum ? nlohmann::ordered_json(*parameter.maximum)
                                           : nlohmann::ordered_json()},
                 {"default", parameter.byDefault}});
        }
        all.push_back(
            {{"id", fitting.id},
             {"name", fitting.name},
             {"family", fitting.family},
             {"kind", isComponent(fitting) ? "pressure" : "coefficient"},
             {"parameters", parameters},
             {"vpReference", isComponent(fitting) ? nlohmann::ordered_json()
                                                  : nlohmann::ordered_json(referenceKey(fitting))},
             {"source", fitting.source}});
    }
    return all.dump(2) + '\n';
}

std::variant<Lookup, std::string> readLookup(const Library &library, std::string_view id,
                                             const std::vector<std::string> &assignments)
{
    Lookup lookup;
    lookup.fitting = library.find(id);
    if (lookup.fitting == nullptr)
        return "unknown fitting '" + std::string(id) + "'; --fittings lists them";
    const Fitting &fitting = *lookup.fitting;
    lookup.values = defaultValues(fitting);
    for (const std::string &assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        const std::optional<std::size_t> index = fitting.parameterIndex(name);
        if (!index) {
            std::string known;
            for (const Parameter &parameter : fitting.parameters)
                known += (known.empty() ? "" : ", ") + parameter.id;
            return fitting.id + " has no parameter '" + name + "'" +
                   (known.empty() ? std::string(" (it has none)") : " (" + known + ")");
        }
        const std::optional<double> value =
            equals == std::string::npos ? std::nullopt : readValue(assignment.substr(equals + 1));
        if (!value)
            return name + " takes a number: '" + assignment + "'";
        lookup.values[*index] = *value;
    }
    return lookup;
}

std::string coefficientText(double coefficient)
{
    const double rounded = std::round(coefficient * 1e4) / 1e4;
    return valueText(rounded == 0 ? 0.0 : rounded);
}

TextRows lookupRows(const Lookup &lookup)
{
    const Fitting &fitting = *lookup.fitting;
    const Evaluation evaluation = evaluate(fitting, lookup.values);
    return {{"id", "coefficient", "vpReference", "source", "clamped"},
            {fitting.id,
             isComponent(fitting) ? std::string() : coefficientText(evaluation.coefficient),
             referenceKey(fitting), fitting.source, clampsText(fitting, evaluation)}};
}

std::string lookupJson(const Lookup &lookup)
{
    const Fitting &fitting = *lookup.fitting;
    const Evaluation evaluation = evaluate(fitting, lookup.values);
    nlohmann::ordered_json clamps = nlohmann::ordered_json::array();
    for (const Clamp &clamp : evaluation.clamps)
        clamps.push_back(clampText(fitting, clamp));
    const nlohmann::ordered_json object{
        {"id", fitting.id},
        {"coefficient", isComponent(fitting) ? nlohmann::ordered_json()
                                             : nlohmann::ordered_json(evaluation.coefficient)},
        {"vpReference", referenceKey(fitting)},
        {"source", fitting.source},
        {"clamped", !evaluation.clamps.empty()},
        {"clamps", clamps}};
    return object.dump() + '\n';
}

} // namespace plenix::fittings
