#include "app/initial_processing.h"

#include "context/school_context.h"
#include "common/school_masters.h"
#include "data/recordset.h"

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
    Recordset rs("業務年度");
    rs.setIndex("Key_業務");
    rs.seek(Seek::Equal, {1});
    if (rs.noMatch()) {
        s.businessYear = 0;
        s.businessYearStart.clear();
        s.businessYearEnd.clear();
        return false;
    }
    s.businessYear = rs.integer("業_年度");
    s.businessYearStart = rs.text("業_開始日");
    s.businessYearEnd = rs.text("業_終了日");
    ctx.workingYear = s.businessYear;
    return true;
}
