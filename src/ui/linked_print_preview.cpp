// Linked into programs that carry the print preview themselves (the tests), so that they need no
// module beside them.

#include "data/module_loader.h"
#include "ui/print_preview.h"

namespace {

[[maybe_unused]] const bool linked = linkModuleEntry(
    kPrintModule, reinterpret_cast<QFunctionPointer>(&jikanwariShowPrintPreview));

}  // namespace
