#include "ui/TQWallModule.h"

namespace TQLoad {

namespace {
/// Any object that exists once per loaded copy of the library serves as its handle.
const char kModuleTag = 0;
} // namespace

const void* GetTQWallModule()
{
    return &kModuleTag;
}

} // namespace TQLoad
