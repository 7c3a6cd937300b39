// Linked into programs that carry the constraint-programming search themselves (the tests), so
// that they need no module beside them.

#include "data/module_loader.h"
#include "generation/cp_solver.h"

namespace {

[[maybe_unused]] const bool linked = linkModuleEntry(
    gen::kCpSolverModule, reinterpret_cast<QFunctionPointer>(&jikanwariSolveWithCp));

}  // namespace
