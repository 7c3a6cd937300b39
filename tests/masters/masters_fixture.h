#pragma once

#include "common/school_masters.h"
#include "context/school_context.h"
#include "support/screen_driver.h"

// Master entries written straight into マスタ; loadMasters() then puts them where the pickers
// read them, as start-up does.
class MastersTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        school().clearMasters();
    }
    static void entry(const char* kind, const QString& no, const QString& name,
                      const QString& shortName = {}, const QString& dept = {}) {
        insertMaster(kind, no, name, shortName, dept);
    }
    static std::vector<Record> kind(const QString& code) {
        std::vector<Record> out;
        for (const Record& r : records("マスタ"))
            if (r.at("マ_番号") == code) out.push_back(r);
        return out;
    }
    // Types an entry and confirms it; the test queues the answer to the question.
    static void save(ScreenDriver& d, const QString& no, const QString& name, const QString& abbr) {
        d.set("登録NO", no);
        d.set("登録名称", name);
        d.set("登録略称", abbr);
        d.click("B確定");
    }
};
