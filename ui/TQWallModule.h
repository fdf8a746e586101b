#pragma once

namespace TQLoad {

/// Identity of this library as a resource module: the entry functions and the dialogs' modal runs
/// hand it to CTQContextResourceOverride so that the host takes captions, icons and dialog
/// resources from this library while its dialogs are open.
const void* GetTQWallModule();

} // namespace TQLoad
