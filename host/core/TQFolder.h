#pragma once

#include "host/TQHostExport.h"

#include <QString>

namespace TQLoad {

/// Makes the folder exist, parents included; true when it exists afterwards.
TQHOST_EXPORT bool MakeFolder(const QString& folder);

/// The folder with exactly one "/" at its end, so file names can be appended directly.
TQHOST_EXPORT QString WithTrailingSlash(const QString& folder);

} // namespace TQLoad
