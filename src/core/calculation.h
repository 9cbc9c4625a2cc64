// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "routetable.h"

#include <string>

namespace plenix {

// The message of the one check that stops a Calculate.
std::string separateRowsMessage(int row);

struct CalculationOutcome
{
    // True when a row holds both a length and a loss coefficient: no cell was
    // written and the window shows the message.
    bool stopped = false;
    Int16 row = 0;
    std::string message;
};

// Fills the result columns of every used row and the running route total,
// then goes home. Reports, as one change, everything it wrote.
CalculationOutcome calculate(RouteTable &table);

} // namespace plenix
