#pragma once

// The raw SQLite side of the benchmarks: statements on the process connection, read the way the
// record-set cursor hands fields over.

#include <stdexcept>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QString>

#include "data/database.h"

inline sqlite3_stmt* prepareRaw(const QString& sql) {
    if (!db().handle()) throw std::runtime_error("raw SQL runs on the school's file only");
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db().handle(), sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db().handle()));
    return s;
}

inline void bindText(sqlite3_stmt* s, int i, const QString& text) {
    const QByteArray b = text.toUtf8();
    sqlite3_bind_text(s, i, b.constData(), b.size(), SQLITE_TRANSIENT);
}

// Steps through the rows and takes every column as text; returns the number of rows.
inline int readAll(sqlite3_stmt* s) {
    int n = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
            QString text = QString::fromUtf8(p, sqlite3_column_bytes(s, c));
            benchmark::DoNotOptimize(text);
        }
        ++n;
    }
    sqlite3_reset(s);
    return n;
}
