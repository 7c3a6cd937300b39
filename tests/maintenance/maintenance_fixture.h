#pragma once

#include "common/progress.h"
#include "context/school_context.h"
#include "support/screen_driver.h"

// The year-end tests: the progress dialog shows at once, so its path runs in every test.
class MaintenanceTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Progress::setShowDelay(0);
        school().setToday(QDate(2008, 2, 10));
        school().businessYear = 2007;
    }
    void TearDown() override {
        Progress::setShowDelay(400);
        ScreenTest::TearDown();
    }
    static void businessYear(int year) {
        for (int k = 1; k <= 2; ++k)
            insert("業務年度", {{"業_区分", k},
                                {"業_年度", year + k - 1},
                                {"業_開始日", QStringLiteral("%1/04/01").arg(year + k - 1)},
                                {"業_終了日", QStringLiteral("%1/03/31").arg(year + k)}});
    }
    // SQL straight on the database, for what no screen does: a failing engine, a damaged backup.
    static void sql(const char* statement) { runSql(QString::fromUtf8(statement)); }
    static int count(const QString& table) { return int(records(table).size()); }
    // Whether any message says the operation's changes were undone.
    bool rolledBack() const {
        for (const QString& m : messages.texts())
            if (m.contains("取り消されました")) return true;
        return false;
    }
};
