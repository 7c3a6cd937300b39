#pragma once

#include <vector>

#include <cadical.hpp>

namespace gen {

// Clauses that allow at most one of `lits`. A few are excluded pair by pair; more go through a
// sequential counter (s[i] = "one of the first i + 1 is true"), which keeps the clauses linear in
// number where pairs would be quadratic. `vars` is the highest variable in use and grows by the
// counter's own.
inline void addAtMostOne(CaDiCaL::Solver& sat, int& vars, const std::vector<int>& lits) {
    const auto clause = [&sat](std::initializer_list<int> c) {
        for (int l : c) sat.add(l);
        sat.add(0);
    };
    const size_t n = lits.size();
    if (n <= 1) return;
    if (n <= 5) {
        for (size_t i = 0; i < n; ++i)
            for (size_t j = i + 1; j < n; ++j) clause({-lits[i], -lits[j]});
        return;
    }
    int prev = ++vars;
    clause({-lits[0], prev});
    for (size_t i = 1; i + 1 < n; ++i) {
        const int s = ++vars;
        clause({-lits[i], s});
        clause({-prev, s});
        clause({-lits[i], -prev});
        prev = s;
    }
    clause({-lits[n - 1], -prev});
}

}  // namespace gen
