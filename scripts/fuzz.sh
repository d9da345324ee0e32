#!/usr/bin/env bash
# Builds the fuzz driver (tests/fuzz/fuzz_zepx.cpp, libFuzzer + AddressSanitizer
# + UBSan, clang, in build/fuzz) and runs each of its cases for a bounded time.
# Fails on a crash, a failed check, a sanitizer report, a hang, running out of
# memory, or a build that does not match g++'s bytes.
#
#   bash scripts/fuzz.sh [SECONDS]            every case, SECONDS each (default 12)
#   bash scripts/fuzz.sh SECONDS CASE...      just those (macro_file, command_line,
#                                             line_readers, settings)
#
# Steps: the sources are copied with their literals in cp932 escapes
# (scripts/cp932_sources.py); a check program built by g++ and by clang must
# print the same bytes for every such literal; then each case runs over its
# working corpus build/fuzz/corpus/CASE (kept between runs; new inputs go
# there) and the committed starting inputs in tests/fuzz/corpus/CASE.
# A failing input is saved in build/fuzz/artifacts/CASE/; reproduce it with
#   ZEPX_FUZZ_CASE=CASE build/fuzz/fuzz_zepx build/fuzz/artifacts/CASE/crash-...
# Logs: build/fuzz/logs/CASE.log. FUZZ_FLAGS adds libFuzzer options.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
SECONDS_EACH=${1:-12}
shift $(($# > 0 ? 1 : 0))
CASES=("$@")
((${#CASES[@]})) || CASES=(macro_file command_line line_readers settings)
OUT=build/fuzz
CXX_CLANG=${CXX_CLANG:-clang++-14}
started=$SECONDS
mkdir -p "$OUT/logs"

step() { echo "fuzz: $*"; }
die() { echo "fuzz: $*" >&2; exit 1; }

# ---- cp932 copies and the literal check ---------------------------------------

python3 scripts/cp932_sources.py --root . --out "$OUT/src" --exclude src/platform/win32 --exclude src/ui/win32 \
  --literals "$OUT/literal_check/literals.inc" src tests/fuzz ||
  die "copying the sources failed"
python3 scripts/cp932_sources.py --root "$OUT/literal_check" --out "$OUT/literal_check/clang" \
  literals.inc >/dev/null || die "converting the literal list failed"
g++ -std=c++17 -finput-charset=UTF-8 -fexec-charset=CP932 -w -I "$OUT/literal_check" \
  tests/fuzz/literal_check.cpp -o "$OUT/literal_check/by_gcc" || die "literal check: g++ build failed"
"$CXX_CLANG" -std=c++17 -w -I "$OUT/literal_check/clang" \
  "$OUT/src/tests/fuzz/literal_check.cpp" -o "$OUT/literal_check/by_clang" || die "literal check: clang build failed"
"$OUT/literal_check/by_gcc" >"$OUT/literal_check/gcc.txt" && "$OUT/literal_check/by_clang" >"$OUT/literal_check/clang.txt" ||
  die "literal check: a check program failed"
if ! cmp -s "$OUT/literal_check/gcc.txt" "$OUT/literal_check/clang.txt"; then
  diff "$OUT/literal_check/gcc.txt" "$OUT/literal_check/clang.txt" | head -n 20 >&2
  die "literal check: the clang build's literals differ from g++'s (see $OUT/literal_check)"
fi
step "literals: $(wc -l <"$OUT/literal_check/gcc.txt") checked, the same bytes as g++'s"

# ---- build ---------------------------------------------------------------------------

if [[ ! -f $OUT/build.ninja ]]; then
  cmake -S tests/fuzz -B "$OUT" -G Ninja -DCMAKE_CXX_COMPILER="$CXX_CLANG" \
    >"$OUT/configure.log" 2>&1 || { cat "$OUT/configure.log" >&2; die "configuring failed"; }
fi
if ! ninja -C "$OUT" >"$OUT/build.log" 2>&1; then
  grep -v '^\[[0-9]*/[0-9]*\]' "$OUT/build.log" | head -n 60 >&2
  die "build failed (full log: $OUT/build.log)"
fi
step "built in $((SECONDS - started)) s"

# ---- runs --------------------------------------------------------------------------------

# Longest input: a macro file or a whole list gets 4 KiB; a line or a
# registry key (whose long values are made by repetition) 1 KiB, which
# keeps their runs fast.
max_len() { case $1 in macro_file) echo 4096 ;; *) echo 1024 ;; esac; }

failed=()
for t in "${CASES[@]}"; do
  [[ -d tests/fuzz/corpus/$t ]] || die "no case $t"
  corpus="$OUT/corpus/$t"
  mkdir -p "$corpus" "$OUT/artifacts/$t"
  dirs=("$corpus" "tests/fuzz/corpus/$t")
  log="$OUT/logs/$t.log"
  # -timeout: one input running longer is a hang; the outer timeout guards
  # against a run that never gets to its own end.
  ZEPX_FUZZ_CASE="$t" ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:allocator_may_return_null=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    timeout --kill-after=10 $((SECONDS_EACH + 120)) \
    "$OUT/fuzz_zepx" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$t")" \
      -print_final_stats=1 -artifact_prefix="$OUT/artifacts/$t/" ${FUZZ_FLAGS:-} "${dirs[@]}" \
      >"$log" 2>&1
  status=$?
  # The last status line ("#N DONE cov: .. ft: .. corp: ..") and the rate.
  done_line=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | sed -E 's/ (lim|rss|L):.*//')
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [[ $status -ne 0 ]] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|check failed:' "$log"; then
    failed+=("$t")
    echo "fuzz: $t FAILED (status $status, log $log)"
    grep -E -A12 'ERROR: |runtime error:|check failed:|ALARM|out-of-memory' "$log" | head -n 40
    ls "$OUT/artifacts/$t/" 2>/dev/null | sed 's/^/  input kept: /' | tail -n 3
  else
    echo "fuzz: $t ok: ${execs:-?} runs, ${rate:-?}/s; $done_line"
  fi
done

echo "fuzz: ${#CASES[@]} cases, ${#failed[@]} failed, $((SECONDS - started)) s"
((${#failed[@]} == 0))
