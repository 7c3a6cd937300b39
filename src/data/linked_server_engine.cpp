// Linked into programs that carry the server engine themselves (the tests), so that they need no
// module beside them.

#include "data/engine.h"
#include "data/module_loader.h"

namespace {

[[maybe_unused]] const bool linked = linkModuleEntry(
    kServerEngineModule, reinterpret_cast<QFunctionPointer>(&jikanwariServerEngine));

}  // namespace
