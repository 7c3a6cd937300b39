#include "common/csv.h"

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

QStringList csvFields(QStringView line) {
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && isBlank(line[i])) ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            // Whatever follows the closing quote up to the comma still belongs to the field.
            const qsizetype rest = i;
            while (i < n && line[i] != u',') ++i;
            field += line.mid(rest, i - rest).trimmed();
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != u',') ++i;
            field = line.mid(start, i - start).toString();
            while (!field.isEmpty() && isBlank(field.back())) field.chop(1);
        }
        fields << field;
        if (i >= n) break;
        ++i;  // the comma
    }
    return fields;
}

QString csvRecord(const QStringList& fields) {
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& f : fields)
        quoted << u'"' + QString(f).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
    return quoted.join(u',');
}

QStringList textLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines << text.mid(start, i - start);
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines << text.mid(start);
    return lines;
}
