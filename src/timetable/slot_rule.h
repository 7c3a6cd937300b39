#pragma once

#include <vector>

#include <QString>

#include "context/slot_tables.h"

class Grid;

// What confirming one lesson does to the slot (weekday and period of one class) it goes into.
// A slot holds one lesson: one course subject and subject, taught by one teacher or by several
// (team teaching); only an elective course subject holds several subjects side by side.
//  - another course subject or subject replaces the slot's lessons, every teacher of them;
//  - the same course subject and subject with another teacher adds that teacher;
//  - the same teacher again is the lesson that is there already.
// Both 組時間割 and 時間割コピー follow it, so what the grid shows is what is stored.
enum class SlotChange { Add, AddTeacher, Unchanged, Replace };

// `held`: the slot's lessons; `elective`: the confirmed lesson's course subject is an elective one.
SlotChange slotChangeOf(const std::vector<SlotEntry>& held, const SlotEntry& lesson, bool elective);

// The question before a replacement, naming what the grid shows in the slot:
// "月曜 6時限の「数学（阿部・小林）」を入力内容に置き換えます。よろしいですか？"
QString replaceQuestion(const Grid& grid, int weekday, int period);
