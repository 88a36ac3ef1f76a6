#!/usr/bin/env bash
# Installs what is missing, builds with sanitizers and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
. scripts/deps.sh
zorv_install_deps

jobs=$(nproc 2>/dev/null || echo 2)
start=$(date +%s)

echo "== Debug build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZORV_SANITIZE=ON >/dev/null
cmake --build build/asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
(cd build/asan && ctest --output-on-failure -j"$jobs" --timeout 600)

echo "== Thread tests with ThreadSanitizer"
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DZORV_TSAN=ON >/dev/null
cmake --build build/tsan -j"$jobs" --target zorv_tsan_tests
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp"
(cd build/tsan && ctest --output-on-failure -L tsan --timeout 600)

if command -v clang++ >/dev/null 2>&1; then
  echo "== Fuzzing (30 s per target)"
  cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DZORV_FUZZ=ON \
        -DZORV_TESTS=OFF >/dev/null
  cmake --build build/fuzz -j"$jobs" --target zorv_fuzzers
  for target in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    echo "-- $name"
    "$target" -max_total_time=30 -timeout=5 -rss_limit_mb=2048 -print_final_stats=0 \
              "$corpus" "$root/tests/data/seeds/$name" 2>&1 | tail -n 3
  done
else
  echo "== clang++ not found: fuzzing skipped"
fi

echo "== test.sh finished in $(( $(date +%s) - start )) s"

# The Windows build under Wine, only when asked and outside the budget above: the first run
# builds Qt for Windows (about an hour).
if [ "${ZORV_WINDOWS:-0}" = 1 ]; then
  echo "== Windows build under Wine (ZORV_WINDOWS=1)"
  scripts/windows/test.sh
fi
