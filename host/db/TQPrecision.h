#pragma once

#include "host/TQHostExport.h"

namespace TQLoad {

/// Decimals shown for heat transfer coefficients, attenuation and delay ("[Precision]" in the
/// ini storage; 2, 2 and 1 by default).
TQHOST_EXPORT int GetCrXsJd();
TQHOST_EXPORT int GetCrSjJd();
TQHOST_EXPORT int GetCrYcJd();
/// Theme number of the property grids.
TQHOST_EXPORT int GetPropertyTheme();

} // namespace TQLoad
