#pragma once

#include <QString>

// How many characters the timetables show of a teacher.
constexpr int kDisplayNameLength = 4;

// The display name a teacher gets when none was typed: the family name (the text before the first
// half- or full-width space) when the full name has one, otherwise the start of the name. A cut
// through the middle of a given name ("森山　は") tells nobody who is meant. Empty only for a name
// that is blank.
QString displayNameOf(const QString& fullName, int length = kDisplayNameLength);

// A grade or class name with its counter word ("1" → "1組"), added only when the name does not
// end with it already: a class the school named "1組" is never printed as "1組組".
QString withSuffix(const QString& name, const QString& suffix);

// What the timetables and lists show of anything with a name and a short one (a subject, a
// teacher's display name, an event): the short one, or the name when there is none.
inline QString shortOrName(const QString& shortName, const QString& name) {
    return shortName.isEmpty() ? name : shortName;
}
