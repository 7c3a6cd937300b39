#include "newdb/record_writer.h"

void addRecord(Recordset& rs, std::initializer_list<std::pair<const char*, Value>> fields) {
    rs.addNew();
    for (const auto& [name, value] : fields) rs.set(QString::fromUtf8(name), value);
    rs.update();
}

void writeBusinessYears(int year) {
    Recordset rs("業務年度");
    for (int k = 1; k <= 2; ++k) {
        const int y = year + k - 1;
        addRecord(rs, {{"業_区分", k},
                       {"業_年度", y},
                       {"業_開始日", QStringLiteral("%1/04/01").arg(y)},
                       {"業_終了日", QStringLiteral("%1/03/31").arg(y + 1)}});
    }
}
