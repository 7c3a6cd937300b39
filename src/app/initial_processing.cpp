#include "app/initial_processing.h"

#include "context/school_context.h"
#include "common/school_masters.h"
#include "data/key_range.h"

void 初期処理(WorkContext& ctx, const QDate& today,
              const std::function<void()>& setUpBusinessYear) {
    school().setToday(today);
    if (!loadBusinessYear(ctx)) {
        ctx.errorFlag = 1;
        ctx.message = QStringLiteral("業務年度を設定して下さい");
        if (setUpBusinessYear) setUpBusinessYear();
    }
    loadMasters();
}

bool loadBusinessYear(WorkContext& ctx) {
    SchoolContext& s = school();
    bool found = false;
    readQuery(
        QStringLiteral("SELECT \"業_年度\", \"業_開始日\", \"業_終了日\" FROM \"業務年度\" "
                       "WHERE \"業_区分\" = ?"),
        {1},
        [&](const KeyRow& rs) {
            found = true;
            s.businessYear = int(rs.integer(0));
            s.businessYearStart = rs.text(1);
            s.businessYearEnd = rs.text(2);
        },
        QueryPlan::Once);
    if (!found) {
        s.businessYear = 0;
        s.businessYearStart.clear();
        s.businessYearEnd.clear();
        return false;
    }
    ctx.workingYear = s.businessYear;
    return true;
}
