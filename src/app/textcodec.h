// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculation/units.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace plenix {

// Cells, route files and the description are 8-bit Windows-1252 text in the
// core; the widgets show Unicode. These convert between the two.

// Every byte has a character, so this never fails.
QString toQString(std::string_view bytes);

// Nothing when the text holds a character the 8-bit set has no byte for;
// `offending`, when given, then receives the first such character.
std::optional<std::string> fromQString(const QString &text, QString *offending = nullptr);

// A unit's symbol as the dialogs and panels show it: "in wg", "L/s", and
// with its degree sign and superscript, "°F", "kg/m³".
QString unitText(units::Quantity quantity, units::System system);

} // namespace plenix
