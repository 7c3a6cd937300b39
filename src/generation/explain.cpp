#include "generation/explain.h"

namespace gen {

QStringList precheck(const Problem&) {
    return {};
}

}  // namespace gen
