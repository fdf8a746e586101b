#pragma once

#include "host/TQHostExport.h"

#include <QString>

namespace TQLoad {

/// A construction or type name as one file-name component inside a picture folder, distinct for
/// distinct names. What a file name cannot hold, or could misread, is written as "%" and four hex
/// digits of its UTF-16 unit: "/", "\", "%" itself, control characters, an unpaired surrogate,
/// "~", and a leading "." (so no name becomes ".", ".." or a hidden file). Every other character,
/// Chinese text included, stays as typed. The empty name is "%". A name whose encoded form would
/// not fit a file name (over 200 bytes) keeps its first characters followed by "~" and the
/// SHA-256 of the whole name.
TQHOST_EXPORT QString SafeFileName(const QString& name);

/// The name SafeFileName encoded into `fileName`; a null string when `fileName` is no such
/// encoding or is the shortened form of a long name.
TQHOST_EXPORT QString NameFromSafeFileName(const QString& fileName);

} // namespace TQLoad
