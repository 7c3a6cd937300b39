#pragma once

#include "masters_fixture.h"

// A school of 2007 for the master screens: departments 中学部 (001) and 高等部 (002), grades 1年
// and 2年, classes 1組 and 2組 in each department, loaded as start-up loads them.
class SchoolTest : public MastersTest {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        school().setToday(QDate(2007, 6, 4));
        school().businessYear = 2007;
        entry("002", "001", "中学部", "中");
        entry("002", "002", "高等部", "高");
        entry("003", "001", "1", "1年");
        entry("003", "002", "2", "2年");
        for (const char* dept : {"001", "002"}) {
            entry("006", QStringLiteral("%1-1").arg(dept), "1", "1組", dept);
            entry("006", QStringLiteral("%1-2").arg(dept), "2", "2組", dept);
        }
        loadMasters();
    }
    void TearDown() override {
        school().clearMasters();
        school().businessYear = 0;
        MastersTest::TearDown();
    }
    static void teacher(const char* no, const char* name, const char* kana,
                        const char* display = "") {
        insert("教員",
               {{"員_番号", no}, {"員_氏名", name}, {"員_氏名カナ", kana}, {"員_表示名", display}});
    }
    static Record only(const QString& table) {
        const auto rows = records(table);
        EXPECT_EQ(rows.size(), 1u) << table.toStdString();
        return rows.empty() ? Record{} : rows[0];
    }
};
