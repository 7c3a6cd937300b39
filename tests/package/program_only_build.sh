#!/usr/bin/env bash
# The program alone builds without GoogleTest and Google Benchmark: configured from the
# debian-program preset with both packages hidden from CMake (a find for either fails), and only
# the two programs built, into a folder of its own (the compiler cache makes this cheap).
set -euo pipefail
source="$1"
build="$2"
cd "$source"
cmake --preset debian-program -B "$build" --no-warn-unused-cli \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
cmake --build "$build" -j2 --target jikanwari jikanwari-newdb >"$build/build.log" 2>&1 \
  || { tail -50 "$build/build.log" >&2; exit 1; }
[ -x "$build/jikanwari" ] && [ -x "$build/jikanwari-newdb" ]
if [ -e "$build/tests" ] || [ -e "$build/jikanwari-bench" ]; then
  echo "FAILED: tests or benchmarks were configured" >&2
  exit 1
fi
echo "program-only build ok"
