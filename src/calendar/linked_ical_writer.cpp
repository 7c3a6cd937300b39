// Linked into programs that carry the calendar writer themselves (the tests), so that they need no
// module beside them.

#include "calendar/teacher_calendar.h"
#include "data/module_loader.h"

namespace {

[[maybe_unused]] const bool linked =
    linkModuleEntry(kCalendarModule, reinterpret_cast<QFunctionPointer>(&jikanwariWriteCalendar));

}  // namespace
