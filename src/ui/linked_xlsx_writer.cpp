// Linked into programs that carry the workbook writer themselves (the tests), so that they need no
// module beside them.

#include "data/module_loader.h"
#include "ui/xlsx_export.h"

namespace {

[[maybe_unused]] const bool linked =
    linkModuleEntry(kXlsxModule, reinterpret_cast<QFunctionPointer>(&jikanwariWriteXlsx));

}  // namespace
