#pragma once

#include <QString>

#include "context/work_context.h"

class QWidget;

// The eight selection lists. Each is one entry with a mode number, as the screens call them:
// a fill mode fills a drop-down, a decode mode translates the text of a field (or a given value)
// back into codes and writes them into the screen's current-selection values (ctx). Every call
// returns the decode result, 0 found and 1 not found (0 for the fills), which is also left in
// ctx.decodeResult. The option of the department, grade and class lists: kWithCommon adds or
// accepts "共通", kSilent suppresses the error reporting.

namespace list_option {
constexpr int kPlain = 1;
constexpr int kSilent = 2;
constexpr int kWithCommon = 4;
}  // namespace list_option

// The code and name that stand for all departments (and grade 0 for all grades).
inline const QString kCommonCode = QStringLiteral("000");
inline const QString kCommonName = QStringLiteral("共通");

namespace 学部 {
enum : int { Fill = 1, ByName = 2, ByCode = 3, ByNameSilent = 4 };
}
// Fill: the target is a drop-down. ByName / ByNameSilent: the target's text is decoded; ByName
// reports a miss ("学部を正しく選択してください", tab position, no colour) unless kSilent.
int CMB学部(WorkContext& ctx, int mode, int option, QWidget* target);
// ByCode: decodes a department code.
int CMB学部(WorkContext& ctx, int mode, int option, const QString& value);

namespace 学年 {
enum : int { Fill = 1, ByText = 2, ByNumber = 3, ByNumberSilent = 4, ByTextSilent = 5 };
}
// The list shows the grades' short names. ByText decodes a short name ("学年を正しく選択して
// ください"), ByNumber a grade number ("学年に正しく入力してください"); both report unless kSilent.
int CMB学年(WorkContext& ctx, int mode, int option, QWidget* target);
int CMB学年(WorkContext& ctx, int mode, int option, const QString& value);

namespace コース {
enum : int { Fill = 1, ByName = 2, ByCode = 3 };
}
int CMBコース(WorkContext& ctx, int mode, QWidget* target);
int CMBコース(WorkContext& ctx, int mode, const QString& value);

namespace 組 {
enum : int { Fill = 1, ByShortName = 2, ByName = 3 };
}
// The classes of the department decoded last (ctx.departmentPosition); nothing while none is.
// A decode turns the field black when found; a miss turns it light red and reports
// "組を正しく選択してください", unless kSilent.
int CMB組(WorkContext& ctx, int mode, int option, QWidget* target);
int CMB組(WorkContext& ctx, int mode, int option, const QString& value);

namespace マス {
enum : int { Fill = 1, ByName = 2, ByCode = 3 };
}
// Entries of one master kind. ByName decodes the target's text and hands the entry code back in
// `code` (empty when not found); ByCode looks `code` up and writes the entry name into the target
// (when given). Both also fill ctx.masterCode / masterName / masterShortName.
int CMBマス(WorkContext& ctx, int mode, const QString& kind, QString& code, QWidget* target);

namespace 教科 {
enum : int {
    Fill = 1,
    ByName = 2,
    ByNumber = 3,
    ByNumberNamesOnly = 4,
    Overview = 5,
    ByShortName = 6
};
}
// The subjects of the working year and the current department, grade, course and course subject.
// Overview fills ctx.subjectOverview (at most 20 rows; "総合"/"000" first when option is 0).
int CMB教科(WorkContext& ctx, int mode, int option, QWidget* target);
int CMB教科(WorkContext& ctx, int mode, int option, const QString& value);

namespace 教師 {
enum : int {
    FillAll = 1,
    ByName = 2,
    ByNumber = 3,
    FillAssigned = 4,
    Homeroom = 5,
    ByDisplayName = 6,
    FillHomeroomFirst = 7
};
}
// Teachers by full name; FillAssigned lists the teachers assigned to the current subject;
// Homeroom finds the homeroom teacher of the current class; ByDisplayName falls back to the full
// name once.
int CMB教師(WorkContext& ctx, int mode, QWidget* target);
int CMB教師(WorkContext& ctx, int mode, const QString& value);

namespace 科目 {
enum : int { Fill = 1, ByName = 2, ByNumber = 3, FillByName = 4, ByShortName = 5 };
}
// Course subjects of the working year. Fill lists in key order (option kWithCommon: in name
// order); FillByName appends in name order without clearing. ByName and ByShortName report a
// miss ("科目を正しく選択してください") when no earlier failure was reported, and turn the field
// light red unless the option is kWithCommon.
int CMB科目(WorkContext& ctx, int mode, int option, QWidget* target);
int CMB科目(WorkContext& ctx, int mode, int option, const QString& value);
