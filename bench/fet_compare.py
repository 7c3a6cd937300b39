#!/usr/bin/env python3
"""Side by side with FET on real schools.

For each FET example file: imports it with `jikanwari-newdb --from-fet`, which also writes the
file back reduced to what the import keeps; runs `fet-cl` on that reduced file and
`jikanwari-generate` on the imported database, one after the other on this machine; checks our
timetable independently of the generator (teachers, classes, unavailable slots, breaks, weekly
counts) and prints time and outcome side by side.

Goal per file: when FET places everything, we do too within max(2 s, FET's time); when FET
refuses the data before searching, we give either a sound timetable or an explanation.

    bench/fet_compare.py [--build build] [--before BUILD] [--seconds 60] [--keep DIR] [FILE.fet ...]

--before runs a second build's generator (say, main's) on a copy of the same import right after
ours, so that a change is judged against the same FET run and the same load.

Without files, a set of example schools of different countries and sizes is used.
"""

import argparse
import os
import resource
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
from collections import defaultdict

EXAMPLES = "/usr/share/doc/fet-data/examples/FET-5-official/"
DEFAULT_FILES = [
    "Argentina/Horario_ISJ.fet",
    "Brazil/1/Brazil.fet",
    # A teacher with two available days whose six lessons should fall on different days: FET
    # refuses it before searching.
    "Brazil/3/ACHILES-MANHA.fet",
    "Bulgaria/Lom_high_school_2007-2008.fet",
    "Germany/secondary-school-1/constraints-min-days-100-few-0/German-100_and_0.fet",
    "Greece/Gymnasio/Gymnasio.fet",
    "Hong-Kong/secondary-school-1/Yew-Chung-Intl-School/2008-09-difficult.fet",
    "Hungary/Varosmajori_Gimnazium_Budapest/vmg-20180901b-2.fet",
    "India/St-Marys-College/St-Marys-College-Puthanagadi.fet",
    "Indonesia/SMK-Negeri-1-Arahan-Kab-Indramayu/netura_2016-2017.fet",
    "Italy/2010/Liceo-2010.fet",
    "Namibia/by-Bobby/set-2/KPS.fet",
    "Namibia/by-Bobby/set-2/may-take-hours/CONCORDIA.fet",
    "Romania/Oradea/School-10-Oradea-2007-2008.fet",
    "Spain/3-school/primaria.fet",
    "Syria/Hama/2019/High-school.fet",
    "United-Kingdom/Hopwood/Hopwood.fet",
    "Vietnam/2-secondary-school/VietNamHungYen.fet",
]
YEAR = 2026

# fet-cl writes many timetables by default; only the outcome is wanted here.
FET_QUIET = ["--htmllevel=0"] + [
    "--writetimetable%s=false" % w
    for w in ("conflicts", "sstatistics", "sxml", "sdayshorizontal", "sdaysvertical",
              "stimehorizontal", "stimevertical", "ssubgroups", "sgroups", "syears",
              "steachers", "steachersfreeperiods", "srooms", "ssubjects", "sactivitytags",
              "sactivities")
]


def timed(cmd, timeout):
    """Runs cmd; returns (exit code or None on timeout, output, wall seconds, cpu seconds)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        code, out = p.returncode, p.stdout.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as e:
        code, out = None, (e.stdout or b"").decode("utf-8", "replace")
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return code, out, wall, cpu


def run_fet(reduced, outdir, seconds):
    code, out, wall, cpu = timed(
        ["fet-cl", "--inputfile=" + reduced, "--outputdir=" + outdir,
         "--timelimitseconds=%d" % seconds] + FET_QUIET, seconds + 30)
    if "Simulation successful" in out:
        outcome = "solved"
    elif "Cannot precompute" in out or "data is wrong" in out:
        outcome = "refused"
    else:
        outcome = "not solved"
    return outcome, wall, cpu


def check_timetable(db):
    """Everything wrong with the stored timetable against the stored demand, in words.

    Reads only the tables, never the generator's own model: 組時間割 against 作成時数, 作成不可
    and 作成設定."""
    con = sqlite3.connect(db)
    problems = []
    settings = dict(con.execute("SELECT 設_項目, 設_値 FROM 作成設定 WHERE 設_年度 = ?", (YEAR,)))
    days, periods = settings.get("曜日数", 5), settings.get("時限数", 6)
    weekdays = {(d + 1) % 7 + 1 for d in range(days)}
    lessons = con.execute(
        "SELECT 組_学年, 組_組, 組_選択番号, 組_曜日, 組_時限, 組_教員, 組_科目, 組_教科 "
        "FROM 組時間割 WHERE 組_年度 = ?", (YEAR,)).fetchall()
    by_teacher, by_class = defaultdict(list), defaultdict(list)
    for grade, klass, sel, wd, p, teacher, kamoku, kyouka in lessons:
        if wd not in weekdays or not 1 <= p <= periods:
            problems.append("%s組 %d曜 %d限: 週の外" % (klass, wd, p))
        if teacher:
            by_teacher[(teacher, wd, p)].append((grade, klass, sel, kamoku, kyouka))
        by_class[(grade, klass, wd, p)].append((sel, kamoku, kyouka, teacher))
    # A teacher is in one lesson at a time; one lesson may be given to several classes at once
    # (stored under the same subject and selection number above 0).
    for (teacher, wd, p), rows in by_teacher.items():
        classes = {(g, k) for g, k, *_ in rows}
        joint = len({(s, km, ky) for _, _, s, km, ky in rows}) == 1 and rows[0][2] > 0
        if len(classes) > 1 and not joint:
            problems.append("教員 %s %d曜 %d限: %d 組" % (teacher, wd, p, len(classes)))
    # A class has one lesson at a time: one subject (perhaps several teachers), or the parallel
    # lessons of an elective block, each under a selection number above 0.
    for (grade, klass, wd, p), rows in by_class.items():
        if len({(km, ky) for _, km, ky, _ in rows}) > 1 and any(s == 0 for s, *_ in rows):
            problems.append("%s組 %d曜 %d限: %d 授業" % (klass, wd, p, len(rows)))
    # Unavailable slots: teachers, grades and classes, breaks.
    for kind, teacher, grade, klass, wd, p in con.execute(
            "SELECT 不_種別, 不_教員, 不_学年, 不_組, 不_曜日, 不_時限 FROM 作成不可 "
            "WHERE 不_年度 = ?", (YEAR,)):
        for g, k, _, w, q, t, _, _ in lessons:
            if w != wd or (p and q != p):
                continue
            if (kind == 1 and t == teacher) or (kind == 2 and g == grade and klass in ("", k)) \
                    or kind == 3:
                problems.append("不可 %d %s%s %d曜 %d限 に授業" % (kind, teacher, klass, wd, p))
    # Weekly counts: per class and subject, the periods demanded (a block's lines once).
    wanted = defaultdict(int)
    seen = set()
    for grade, klass, kamoku, kyouka, hours, block in con.execute(
            "SELECT 作_学年, 作_組, 作_科目, 作_教科, 作_時間数, 作_選択 FROM 作成時数 "
            "WHERE 作_年度 = ?", (YEAR,)):
        key = (grade, klass, kamoku, kyouka)
        if block and (key, block) in seen:
            continue
        seen.add((key, block))
        wanted[key] += hours
    got = defaultdict(set)
    for grade, klass, sel, wd, p, teacher, kamoku, kyouka in lessons:
        got[(grade, klass, kamoku, kyouka)].add((wd, p))
    for key, hours in wanted.items():
        if len(got[key]) != hours:
            problems.append("%s組 科目 %s: %d コマ（%d 必要）" % (key[1], key[2], len(got[key]), hours))
    con.close()
    return problems


def run_ours(generate, db, limit):
    """Generates on db within limit; returns (outcome, wall seconds, first placement, output)."""
    if not os.path.exists(generate):
        return "not built", 0.0, None, ""
    code, out, wall, _ = timed([generate, db, str(YEAR), "--seconds", "%.2f" % limit], limit + 60)
    first_line = [l for l in out.splitlines() if l.startswith("全部を置く最初の案")]
    first_s = float(first_line[0].split(": ")[1].split(" ")[0]) if first_line else None
    problems = check_timetable(db) if code == 0 else []
    if code == 0 and not problems:
        outcome = "solved"
    elif code == 0:
        outcome = "UNSOUND"
        print("    checker: " + "; ".join(problems[:5]))
    elif code is None:
        outcome = "hung"
    else:
        outcome = "explained" if out.strip() else "failed"
    return outcome, wall, first_s, out


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("files", nargs="*")
    ap.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    ap.add_argument("--seconds", type=int, default=60, help="FET's time limit per file")
    ap.add_argument("--keep", help="keep the databases and reduced files in this folder")
    ap.add_argument("--before", help="another build folder whose generator runs alongside")
    args = ap.parse_args()
    newdb = os.path.join(args.build, "jikanwari-newdb")
    generate = os.path.join(args.build, "jikanwari-generate")
    files = args.files or [EXAMPLES + f for f in DEFAULT_FILES]
    work = args.keep or tempfile.mkdtemp(prefix="fet_compare_")
    os.makedirs(work, exist_ok=True)

    # Ours runs with FET's time as its limit and spends what is left after its first complete
    # placement on the wishes, so its wall time is about the limit; "first" is the solver's own
    # time to that first placement.
    print("%-34s %6s %5s %5s | %-10s %7s | %-10s %7s %7s %7s | %s%s" % (
        "file", "days", "class", "less", "FET", "s", "ours", "first", "s", "limit", "goal",
        " | before   first" if args.before else ""))
    totals = defaultdict(int)
    for i, path in enumerate(files):
        name = os.path.splitext(os.path.basename(path))[0]
        db = os.path.join(work, "%02d_%s.mdb" % (i, name))
        reduced = os.path.join(work, "%02d_%s.reduced.fet" % (i, name))
        for f in (db, reduced):
            if os.path.exists(f):
                os.remove(f)
        code, out, _, _ = timed([newdb, "--from-fet", path, "--year", str(YEAR), "--reduced",
                                 reduced, db], 600)
        if code != 0:
            print("%-34s import refused: %s" % (name[:34], out.strip().splitlines()[-1]))
            totals["refused by import"] += 1
            continue
        first = out.splitlines()[0]
        con = sqlite3.connect(db)
        classes = con.execute("SELECT COUNT(*) FROM マスタ WHERE マ_番号 = '006'").fetchone()[0]
        con.close()
        lessons = first.split("授業 ")[1].split(" ")[0] if "授業 " in first else "?"
        days = first.split("：")[1].split("、")[0].replace(" 曜日 × ", "x").replace(" 時限", "")

        fet_outcome, fet_wall, _ = run_fet(reduced, os.path.join(work, "%02d_fet" % i),
                                           args.seconds)
        limit = max(2.0, fet_wall) if fet_outcome == "solved" else float(args.seconds)
        before = None
        if args.before:
            copy = db + ".before.mdb"
            shutil.copyfile(db, copy)
            before = run_ours(os.path.join(args.before, "jikanwari-generate"), copy, limit)
        ours, our_wall, first_s, gen_out = run_ours(generate, db, limit)
        # Ours had FET's time (at least 2 s) as its limit: complete within it meets the goal.
        if fet_outcome == "solved":
            goal = "met" if ours == "solved" else "MISSED"
        elif fet_outcome == "refused":
            goal = "met" if ours in ("solved", "explained") else "MISSED"
        else:
            goal = "met" if ours in ("solved", "explained") else "-"
        totals["FET " + fet_outcome] += 1
        totals["ours " + ours] += 1
        totals["goal " + goal] += 1
        shown = lambda seconds: "-" if seconds is None else "%.2f" % seconds
        print("%-34s %6s %5d %5s | %-10s %7.2f | %-10s %7s %7.2f %7.2f | %-6s%s" % (
            name[:34], days, classes, lessons, fet_outcome, fet_wall, ours, shown(first_s),
            our_wall, limit, goal,
            " | %-10s %5s" % (before[0], shown(before[2])) if before else ""))
        if ours == "explained":
            for line in gen_out.strip().splitlines()[:3]:
                print("    " + line)
    print()
    print(", ".join("%s: %d" % kv for kv in sorted(totals.items())))
    if not args.keep:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
