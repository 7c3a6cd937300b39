#include "common/names.h"

#include "ui/fields.h"

QString displayNameOf(const QString& fullName, int length) {
    const QString name = fullName.trimmed();
    for (int i = 0; i < name.size(); ++i)
        if (name[i] == u' ' || name[i] == u'\u3000') return leftText(name.left(i), length);
    return leftText(name, length);
}

QString withSuffix(const QString& name, const QString& suffix) {
    return name.isEmpty() || name.endsWith(suffix) ? name : name + suffix;
}
