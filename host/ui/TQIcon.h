#pragma once

#include "host/TQHostExport.h"

#include <QIcon>

namespace TQLoad {

/// The icon group `id` of the resources: every picture in the resource folder ":/tqicon/<id>/"
/// (one file per size, "16.png", "32.png", ...) becomes one size of the icon. The libraries put
/// their icon groups there, so a dialog asks for its icon by number. A null icon when the
/// resources hold no group of that number.
TQHOST_EXPORT QIcon LoadTQIcon(int id);

} // namespace TQLoad
