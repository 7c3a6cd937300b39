#!/usr/bin/env bash
# Compares the timetable generator's two search engines (CaDiCaL, the default, and Gecode) on
# schools made by jikanwari-newdb, each generated from its own timetable as demand:
#   bench/generate_compare.sh [SECONDS]        (default 60; run after ./test or a build)
# Prints per school and engine: lessons placed, seconds to the first proposal that places
# everything, and the score (weighted broken wishes, lower is better) at the end of the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$root/build"
seconds="${1:-60}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$bin/jikanwari-newdb" --demo "$work/src_demo.mdb" 2>/dev/null
"$bin/jikanwari-newdb" --large "$work/src_large.mdb" 2>/dev/null
year="$(sqlite3 "$work/src_demo.mdb" "select 業_年度 from 業務年度 where 業_区分 = 1")"
large_year="$(sqlite3 "$work/src_large.mdb" "select 業_年度 from 業務年度 where 業_区分 = 1")"

# Variants: the demand is prefilled once, then changed with SQL.
prepare() {  # name source year sql
  cp "$work/src_$2.mdb" "$work/$1.mdb"
  "$bin/jikanwari-generate" "$work/$1.mdb" "$3" --prefill --seconds 0.01 >/dev/null 2>&1 || true
  cp "$work/src_$2.mdb" "$work/$1.clean.mdb"
  sqlite3 "$work/$1.clean.mdb" "attach '$work/$1.mdb' as p;
    insert into 作成時数 select * from p.作成時数; insert into 作成固定 select * from p.作成固定;"
  mv "$work/$1.clean.mdb" "$work/$1.mdb"
  if [ -n "$4" ]; then sqlite3 "$work/$1.mdb" "$4"; fi
}
prepare demo demo "$year" ""
prepare demo_spread demo "$year" "update 作成時数 set 作_分散 = 100 where 作_選択 = 0"
prepare large large "$large_year" ""
# Every teacher has a 研修日 (a whole weekday off), spread over the week.
prepare large_training large "$large_year" "insert into 作成不可 (不_年度, 不_種別, 不_教員, 不_学部, 不_学年, 不_組, 不_曜日, 不_時限)
  select $large_year, 1, 員_番号, '', 0, '', 2 + (cast(員_番号 as integer) % 5), 0 from 教員"

printf '%-16s %-7s %-12s %-10s %-8s %s\n' school engine placed first[s] score exit
for school in demo demo_spread large large_training; do
  y="$year"; case "$school" in large*) y="$large_year";; esac
  for engine in sat cp; do
    cp "$work/$school.mdb" "$work/run.mdb"
    set +e
    out="$("$bin/jikanwari-generate" "$work/run.mdb" "$y" --engine "$engine" --seconds "$seconds" 2>&1)"
    code=$?
    set -e
    placed="$(sed -n 's/^配置 \([0-9]* \/ [0-9]*\)、評価点 \([0-9]*\).*/\1/p' <<<"$out" | tr -d ' ')"
    score="$(sed -n 's/^配置 .*評価点 \([0-9]*\).*/\1/p' <<<"$out")"
    first="$(sed -n 's/^全部を置く最初の案: \([0-9.]*\) 秒/\1/p' <<<"$out")"
    printf '%-16s %-7s %-12s %-10s %-8s %s\n' "$school" "$engine" "$placed" "${first:--}" "$score" "$code"
  done
done
