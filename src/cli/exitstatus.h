// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace plenix {

// The exit statuses of plenix-calc; a run ends with the worst of its routes.
inline constexpr int ExitOk = 0;
// A route stopped at the validation check, or its stored results are stale.
inline constexpr int ExitRouteFlagged = 1;
// A usage error, or a file that cannot be read, written or understood.
inline constexpr int ExitFailed = 2;

} // namespace plenix
