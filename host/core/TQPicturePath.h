#pragma once

#include "host/TQHostExport.h"

#include <QString>

namespace TQLoad {

/// A construction or type name turned into one file-name component that stays inside its folder:
/// "/" and "\" (and NUL, which no file name may hold) become "_", and the names "." and ".." become
/// "_." and "_..". Every other name is returned unchanged, so pictures keep the names users gave.
TQHOST_EXPORT QString SafeFileName(const QString& name);

} // namespace TQLoad
