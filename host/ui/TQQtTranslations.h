#pragma once

#include "host/TQHostExport.h"

class QCoreApplication;

namespace TQLoad {

/// Installs Qt's own Chinese translations (qtbase_zh_CN from Qt's translations folder) in `app`,
/// so that the standard buttons of message boxes and dialogs read 确定, 取消, 是, 否. The texts of
/// this system are Chinese already and stay as they are. Returns false when the translations
/// are not installed (Debian's qt6-translations-l10n); Qt then shows its English texts.
TQHOST_EXPORT bool InstallQtTranslations(QCoreApplication& app);

} // namespace TQLoad
