#include "common/csv.h"

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

std::vector<CsvRecord> csvRecords(QStringView text) {
    std::vector<CsvRecord> records;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto atLineEnd = [&] { return i >= n || text[i] == u'\r' || text[i] == u'\n'; };
    while (i < n) {
        CsvRecord record;
        while (true) {
            while (i < n && isBlank(text[i])) ++i;
            QString field;
            if (i < n && text[i] == u'"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    if (text[i] == u'"') {
                        if (i + 1 < n && text[i + 1] == u'"') {
                            field += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    field += text[i++];
                }
                if (!closed) record.unclosedQuote = true;
                // Whatever follows the closing quote up to the comma still belongs to the field.
                const qsizetype rest = i;
                while (!atLineEnd() && text[i] != u',') ++i;
                field += text.mid(rest, i - rest).trimmed();
            } else {
                const qsizetype start = i;
                while (!atLineEnd() && text[i] != u',') ++i;
                field = text.mid(start, i - start).toString();
                while (!field.isEmpty() && isBlank(field.back())) field.chop(1);
            }
            record.fields << field;
            if (i < n && text[i] == u',') {
                ++i;
                continue;
            }
            break;
        }
        if (i < n && text[i] == u'\r') ++i;
        if (i < n && text[i] == u'\n') ++i;
        records.push_back(std::move(record));
    }
    return records;
}

QStringList csvFields(QStringView line) {
    std::vector<CsvRecord> records = csvRecords(line);
    return records.empty() ? QStringList{QString()} : std::move(records.front().fields);
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
