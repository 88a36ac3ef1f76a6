#!/usr/bin/env bash
# Installs what is missing, builds with sanitizers and runs every test, stage by stage. Each
# stage is timed against its budget in README.md (section "Tests"); the times are printed at the
# end, whatever happened, so the next slow-down is seen when it happens.
#
# A stage over its budget is reported loudly but does not fail the run: a shared or busy machine
# is slow without anything being wrong, and a red run must mean a fault. ZORV_STRICT_BUDGET=1
# makes an overrun fail (for timing runs on the quiet reference machine).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
. scripts/deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
run_start=$(date +%s)
stage_names=()
stage_secs=()
stage_notes=()
current=""        # the stage running now: named in the summary when it fails
current_start=0

# Budgets: rows "| `stage` | what it checks | seconds |" of README.md's test section.
declare -A budget=()
while IFS='|' read -r _ name _ seconds _; do
  name=$(tr -d ' `' <<<"$name")
  seconds=$(tr -dc '0-9' <<<"$seconds")
  [ -n "$name" ] && [ -n "$seconds" ] && budget[$name]=$seconds
done < <(sed -n '/^<!-- budgets -->/,/^<!-- \/budgets -->/p' README.md | grep '^| `')

load() { cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo "?"; }

# stage NAME TITLE COMMAND...: runs the command, records its time and compares it with the budget.
stage() {
  local name=$1 title=$2
  shift 2
  echo "== $title"
  current=$name
  current_start=$(date +%s)
  "$@"
  current=""
  local took=$(( $(date +%s) - current_start ))
  stage_names+=("$name")
  stage_secs+=("$took")
  local limit=${budget[$name]:-}
  if [ -z "$limit" ]; then
    stage_notes+=("no budget in README.md")
  elif [ "$took" -gt "$limit" ]; then
    stage_notes+=("OVER BUDGET by $(( took - limit )) s")
    echo "!! stage $name took $took s, over its budget of $limit s (load average $(load))"
  else
    stage_notes+=("")
  fi
}

summary() {
  local status=$?
  local total=$(( $(date +%s) - run_start ))
  local over=0 i
  echo
  echo "== Stage times (budgets in README.md, section Tests; load average now $(load), $jobs cores)"
  printf '   %-14s %6s %7s  %s\n' stage seconds budget note
  for i in "${!stage_names[@]}"; do
    printf '   %-14s %6s %7s  %s\n' "${stage_names[$i]}" "${stage_secs[$i]}" \
           "${budget[${stage_names[$i]}]:--}" "${stage_notes[$i]}"
    [[ ${stage_notes[$i]} == OVER* ]] && over=1
  done
  if [ -n "$current" ]; then
    printf '   %-14s %6s %7s  %s\n' "$current" "$(( $(date +%s) - current_start ))" \
           "${budget[$current]:--}" "FAILED"
  fi
  local note=""
  if [ -n "${budget[total]:-}" ] && [ "$total" -gt "${budget[total]}" ]; then
    note="OVER BUDGET by $(( total - budget[total] )) s"
    over=1
  fi
  printf '   %-14s %6s %7s  %s\n' total "$total" "${budget[total]:--}" "$note"
  if [ "$status" -ne 0 ]; then
    echo "== test.sh FAILED (exit $status) after $total s"
  elif [ "$over" -eq 1 ]; then
    echo "!! test.sh passed, but over budget (see above): a busy machine, or a slow-down to find"
    if [ "${ZORV_STRICT_BUDGET:-0}" = 1 ]; then
      echo "== ZORV_STRICT_BUDGET=1: failing the run for the overrun"
      exit 3
    fi
  else
    echo "== test.sh passed in $total s, every stage within its budget"
  fi
}
trap summary EXIT

echo "== Load average at start: $(load) ($jobs cores)"
stage install "Installing what is missing" zorv_install_deps

# ccache keeps repeated runs fast: the three trees below share nothing otherwise.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# One Release tree, the same run.sh uses, holds the packaged programs; the package test checks
# the package made from it instead of building a Release tree of its own.
release_tree=$root/build/release
build_release() {
  cmake -S . -B "$release_tree" -DCMAKE_BUILD_TYPE=Release -DZORV_TESTS=OFF \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "${launcher[@]}" >/dev/null
  cmake --build "$release_tree" -j"$jobs" --target zorvtrim zorvtrim-cli zorv-sim zorvtrim_icons
}

build_asan() {
  cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZORV_SANITIZE=ON \
        -DZORV_PACKAGE_TREE="$release_tree" "${launcher[@]}" >/dev/null
  cmake --build build/asan -j"$jobs"
}
stage build-asan "Debug build with AddressSanitizer and UndefinedBehaviorSanitizer" build_asan
stage build-release "Release build of the packaged programs (build/release)" build_release

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
# Three test programs per core: most of the suite waits on real time (a real port's 10 ms steps,
# a box watched for seconds). With one per core it used 138 CPU-seconds in 299 s of wall time
# on two cores. ZORV_CTEST_JOBS overrides.
ctest_jobs=${ZORV_CTEST_JOBS:-$(( jobs * 3 ))}
run_ctest() { (cd build/asan && ctest --output-on-failure -j"$ctest_jobs" --timeout 600); }
stage ctest "Every test through CTest" run_ctest

build_tsan() {
  cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DZORV_TSAN=ON "${launcher[@]}" >/dev/null
  cmake --build build/tsan -j"$jobs" --target zorv_tsan_tests
}
run_tsan() {
  (export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp"
   cd build/tsan && ctest --output-on-failure -L tsan --timeout 600)
}
stage build-tsan "Thread tests built with ThreadSanitizer" build_tsan
stage tsan "Thread tests under ThreadSanitizer" run_tsan

if command -v clang++ >/dev/null 2>&1; then
  build_fuzz() {
    cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DZORV_FUZZ=ON \
          -DZORV_TESTS=OFF "${launcher[@]}" >/dev/null
    cmake --build build/fuzz -j"$jobs" --target zorv_fuzzers
  }
  run_fuzz() {
    local target name corpus
    for target in build/fuzz/tests/fuzz/fuzz_*; do
      [ -x "$target" ] || continue
      name=$(basename "$target")
      corpus="build/fuzz/corpus/$name"
      mkdir -p "$corpus"
      echo "-- $name"
      "$target" -max_total_time=30 -timeout=5 -rss_limit_mb=2048 -print_final_stats=0 \
                "$corpus" "$root/tests/data/seeds/$name" 2>&1 | tail -n 3
    done
  }
  stage build-fuzz "Fuzz targets (clang, libFuzzer)" build_fuzz
  stage fuzz "Fuzzing (30 s per target)" run_fuzz
else
  echo "== clang++ not found: fuzzing skipped"
fi

# The Windows build under Wine, only when asked: no budget (the first run builds Qt for Windows,
# which takes hours on two cores), so the total is over its budget when it runs.
if [ "${ZORV_WINDOWS:-0}" = 1 ]; then
  stage windows "Windows build and tests under Wine (ZORV_WINDOWS=1)" scripts/windows/test.sh
fi
