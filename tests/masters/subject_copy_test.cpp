// 教科コピー: subjects and their course subjects copied between years, departments and grades.

#include "masters/subject_copy_screen.h"
#include "masters_fixture.h"

namespace {

class SubjectCopyTest : public MastersTest {
protected:
    void SetUp() override {
        MastersTest::SetUp();
        school().businessYear = 2007;
        entry("002", "001", "中学部", "中");
        entry("002", "002", "高等部", "高");
        entry("003", "001", "1", "1年");
        entry("003", "002", "2", "2年");
        loadMasters();
        insertKamoku("001", 1, "01", "国語", "国", 0);
        insertKamoku("001", 1, "02", "数学", "数", 1);
        insertSubject("001", 1, "01", "01", 3, "現代文", "現文", 0, 0);
        insertSubject("001", 1, "02", "01", 1, "数学Ⅰ", "数Ⅰ", 1, 1);
        insertKamoku("002", 1, "05", "理科", "理", 0);
        insertSubject("002", 1, "05", "01", 1, "物理", "物", 0, 0);
    }
    // Lists 2007 of the source side and the given target.
    std::unique_ptr<ScreenDriver> shown(const char* sourceDept, const QString& targetYear,
                                        const char* targetDept, const char* targetGrade) {
        auto d = std::make_unique<ScreenDriver>(new 教科コピー);
        d->set("C元学部", sourceDept);
        d->pick("C元学年", "1年");
        d->set("先年度", targetYear);
        d->set("C先学部", targetDept);
        d->pick("C先学年", targetGrade);
        d->click("B表示");
        return d;
    }
    static std::vector<Record> subjectsOf(int year) {
        std::vector<Record> out;
        for (const Record& r : records("教科"))
            if (r.at("教_年度") == Value(year)) out.push_back(r);
        return out;
    }
};

TEST_F(SubjectCopyTest, ListsBothSidesAndWritesOnlyTheRowsMovedOver) {
    // The target already has a subject with its own display order and room.
    insert("教科", {{"教_年度", 2008},
                    {"教_学部", "001"},
                    {"教_学年", 1},
                    {"教_科目番号", "01"},
                    {"教_教科番号", "09"},
                    {"教_表示順", 7},
                    {"教_名称", "古典"},
                    {"教_教室番号", "R1"}});
    insert("科目", {{"科_年度", 2008},
                    {"科_学部", "001"},
                    {"科_学年", 1},
                    {"科_番号", "01"},
                    {"科_名称", "国語（新）"},
                    {"科_時間数", 4}});
    auto d = shown("中学部", "2008", "中学部", "1年");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(d->cell("G元教科", 0, 3), "教科名");
    EXPECT_EQ(d->back("G元教科", 0, 0), 14);
    EXPECT_EQ(d->cell("G元教科", 1, 1), "国語");
    EXPECT_EQ(d->cell("G元教科", 2, 3), "数学Ⅰ");
    EXPECT_EQ(d->cell("G元教科", 3, 0), "");
    EXPECT_EQ(d->cell("G先教科", 1, 3), "古典");

    d->click("Bコピー");
    d->click("B削除");
    EXPECT_EQ(messages.texts(),
              QStringList({"コピー元教科を選択してください", "コピー先教科を選択してください"}));
    d->clickCell("G元教科", 5, 0);
    EXPECT_EQ(messages.last(), "指示位置が有効範囲外です。");

    d->clickCell("G元教科", 1, 2);
    EXPECT_EQ(d->back("G元教科", 1, 3), 10);
    d->click("Bコピー");
    d->clickCell("G元教科", 2, 0);
    EXPECT_EQ(d->back("G元教科", 1, 3), 15);
    d->click("Bコピー");
    d->click("Bコピー");  // the same row twice ends as one subject
    EXPECT_EQ(d->cell("G先教科", 4, 3), "数学Ⅰ");
    EXPECT_EQ(d->fore("G先教科", 4, 3), 9);  // what a confirmation will write
    EXPECT_EQ(d->fore("G先教科", 1, 3), 0);
    // Picking in the target list drops the source pick; removing moves the rows below up.
    d->clickCell("G先教科", 2, 0);
    EXPECT_EQ(d->back("G元教科", 2, 0), 15);
    d->click("B削除");
    EXPECT_EQ(d->cell("G先教科", 2, 3), "数学Ⅰ");
    EXPECT_EQ(d->cell("G先教科", 4, 3), "");

    messages.clear();
    answer({true});
    d->click("B確定");
    EXPECT_EQ(messages.texts(),
              QStringList({"指示内容でコピーします。", "教科はコピーされました。"}));
    const auto copied = subjectsOf(2008);
    ASSERT_EQ(copied.size(), 2u);
    EXPECT_EQ(copied[0].at("教_名称"), "古典");
    EXPECT_EQ(copied[0].at("教_表示順"), Value(7));
    EXPECT_EQ(copied[0].at("教_教室番号"), "R1");
    EXPECT_EQ(copied[1], (Record{{"教_年度", 2008},
                                 {"教_学部", "001"},
                                 {"教_学年", 1},
                                 {"教_コース", ""},
                                 {"教_科目番号", "02"},
                                 {"教_教科番号", "01"},
                                 {"教_表示順", 0},
                                 {"教_名称", "数学Ⅰ"},
                                 {"教_略称", "数Ⅰ"},
                                 {"教_展開F", 1},
                                 {"教_選択F", 1},
                                 {"教_時間数", 0},
                                 {"教_教室番号", ""},
                                 {"教_教室名", ""},
                                 {"教_備考", ""}}));
    // The missing course subject is created from the source; the existing one is left alone.
    std::vector<Record> kamoku;
    for (const Record& r : records("科目"))
        if (r.at("科_年度") == Value(2008)) kamoku.push_back(r);
    ASSERT_EQ(kamoku.size(), 2u);
    EXPECT_EQ(kamoku[0].at("科_名称"), "国語（新）");
    EXPECT_EQ(kamoku[0].at("科_時間数"), Value(4));
    EXPECT_EQ(kamoku[1].at("科_名称"), "数学");
    EXPECT_EQ(kamoku[1].at("科_選択F"), Value(1));
    // The list now shows what is stored; confirming again has nothing to copy.
    EXPECT_EQ(d->cell("G先教科", 2, 3), "数学Ⅰ");
    d->click("B確定");
    EXPECT_EQ(messages.last(),
              "コピーする教科がありません。コピー元の教科を選んでコピー先に加えてから確定してくだ"
              "さい。");
}

TEST_F(SubjectCopyTest, WithoutASourceDepartmentEveryDepartmentIsListedAndCopiedFromItsOwn) {
    auto d = shown("", "2007", "中学部", "2年");
    EXPECT_EQ(d->cell("G元教科", 3, 3), "物理");
    EXPECT_EQ(d->cell("G元教科", 3, 1), "理科");
    d->clickCell("G元教科", 3, 0);
    d->click("Bコピー");
    answer({true});
    d->click("B確定");
    ASSERT_EQ(messages.last(), "教科はコピーされました。");
    std::vector<Record> grade2;
    for (const Record& r : subjectsOf(2007))
        if (r.at("教_学年") == Value(2)) grade2.push_back(r);
    ASSERT_EQ(grade2.size(), 1u);
    EXPECT_EQ(grade2[0].at("教_学部"), "001");
    EXPECT_EQ(grade2[0].at("教_名称"), "物理");
    EXPECT_EQ(grade2[0].at("教_略称"), "物");
}

TEST_F(SubjectCopyTest, AFailedShowOrAnEmptyTargetListWritesNothing) {
    auto d = shown("中学部", "20x8", "中学部", "1年");
    EXPECT_EQ(messages.texts(), QStringList({"年度に正しく入力してください"}));
    EXPECT_EQ(d->cell("G元教科", 1, 3), "現代文");  // the source side was listed first
    d->clickCell("G元教科", 1, 0);
    d->click("Bコピー");
    messages.clear();
    d->click("B確定");
    EXPECT_EQ(messages.texts(), QStringList({"年度に正しく入力してください"}));
    d->set("先年度", "2008");
    d->set("C先学部", "普通部");
    d->click("B表示");
    EXPECT_EQ(messages.last(), "学部を正しく選択してください");
    EXPECT_EQ(subjectsOf(2008).size(), 0u);
}

TEST_F(SubjectCopyTest, AnEngineErrorLeavesNoSubjectWithoutItsCourseSubject) {
    // The subject is written first, then its course subject, which the engine refuses.
    refuseWrites("科目", "INSERT");
    auto d = shown("中学部", "2008", "中学部", "1年");
    d->clickCell("G元教科", 1, 0);
    d->click("Bコピー");
    answer({true});
    d->click("B確定");
    EXPECT_TRUE(messages.last().contains("書込み不可"));
    EXPECT_TRUE(messages.last().contains("取り消されました"));
    EXPECT_TRUE(subjectsOf(2008).empty());
    EXPECT_EQ(d->cell("G先教科", 1, 3), "現代文");  // still listed, to confirm again
}

}  // namespace
