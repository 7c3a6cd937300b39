#include "newdb/record_writer.h"

void addRecord(Recordset& rs, std::initializer_list<std::pair<const char*, Value>> fields) {
    rs.addNew();
    for (const auto& [name, value] : fields) rs.set(QString::fromUtf8(name), value);
    rs.update();
}
