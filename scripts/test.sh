#!/usr/bin/env bash
# Installs what is missing, builds all four configurations and runs every
# test: the size of the tests beside the program is judged
# (scripts/test_size.sh), the unit tests in the host build and again under
# the sanitizers,
# the fuzz driver's cases for FUZZ_SECONDS each (scripts/fuzz.sh, default 12),
# checks of the two Windows builds, the Win32 platform checks
# (tests/win32) under Wine in two ANSI code pages, the checks of the native
# controls (tools/bench/win/native_ui_bench.cpp), a start-up check of
# zepx.exe, every end-to-end script tests/e2e/*_test.sh, and that every
# picture the user's guide (docs/guide-ja.md) shows is in docs/, of the size
# its window has in this run's copy. Ends with the line
# "N passed, N failed" (one count per suite or script) and exits non-zero
# when anything failed.
#
# End-to-end scripts: a few user journeys over tests/e2e/lib.sh and one
# driver (zepxctl.exe); each runs as `bash tests/e2e/NAME_test.sh` from the
# repository root, one after the other, with
#   ZEPX_EXE        build/win64/zepx.exe (Linux path; run it with `wine`)
#   ZEPX_TOOLS_DIR  build/win64, where probe.exe and zepxctl.exe are
#   ZEPX_ARTIFACTS  build/artifacts: screenshots, logs, generated files
#                   (keep to a sub-folder named after the script)
#   DISPLAY         one Xvfb display, 1280x1024x24, shared by all scripts
#   WINEPREFIX      build/e2e-prefix, made fresh for each test run
#   LANG, LC_ALL    ja_JP.UTF-8 (Wine's ANSI code page 932)
#   WINEDEBUG=-all, WINEDLLOVERRIDES (no Mono/Gecko prompts)
# It passes by exiting 0 and fails otherwise; it is stopped after
# E2E_TIMEOUT seconds (default 900: the soak's 10,000 passes took 520 s beside
# two CPU-bound jobs), or sooner when the whole run nears its
# time budget (TEST_BUDGET, default 4800 s). Every Wine process of the prefix is
# ended after each script (wineserver -k), so a script must not rely on
# another's windows; registry settings do carry over, so a script that needs
# defaults deletes HKCU\Software\VELMOR\ZEPX first. Output of each script
# is shown and kept in build/artifacts/NAME.log.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
ART="$ROOT/build/artifacts"
E2E_TIMEOUT="${E2E_TIMEOUT:-900}"
started=$SECONDS

passed=0
failed=0
failures=()
record() {  # record NAME STATUS
  if [[ $2 -eq 0 ]]; then
    passed=$((passed + 1))
    echo "--- PASS: $1"
  else
    failed=$((failed + 1))
    failures+=("$1")
    echo "--- FAIL: $1"
  fi
}
finish() {
  echo
  ((${#failures[@]})) && printf 'failed: %s\n' "${failures[@]}"
  echo "total time: $((SECONDS - started)) s"
  echo "$passed passed, $failed failed"
  ((failed == 0))
  exit
}

# ---- set-up and builds --------------------------------------------------------

if ! bash scripts/setup.sh; then
  record "setup" 1
  finish
fi

declare -A built
for b in host asan win64 win32; do
  if bash scripts/build.sh "$b"; then built[$b]=0; else built[$b]=1; fi
done
# A tool that does not compile must not keep the program itself from the
# start-up check: build zepx.exe alone then.
if [[ ${built[win64]} -ne 0 ]]; then bash scripts/build.sh win64:zepx >/dev/null 2>&1; fi
mkdir -p "$ART"

# ---- unit tests ---------------------------------------------------------------

run_unit() {  # run_unit BUILD
  local bin="build/$1/zepx_tests"
  if [[ ${built[$1]} -ne 0 || ! -x $bin ]]; then
    echo "unit tests ($1): the build failed, see build/$1.build.log"
    return 1
  fi
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" UBSAN_OPTIONS="print_stacktrace=1" \
    timeout 1200 "$bin" --gtest_brief=1 2>&1 | tee "$ART/unit-$1.log"
  return "${PIPESTATUS[0]}"
}

# The tests are to stay at most 40 % of the program (scripts/test_size.sh
# says how it is counted): above that the step fails.
echo "=== size of the tests"
bash scripts/test_size.sh
record "test size" $?

echo "=== unit tests (host, Debug)"
run_unit host
record "unit tests (host)" $?
echo "=== unit tests (AddressSanitizer + UBSan)"
run_unit asan
record "unit tests (asan)" $?

# ---- fuzzing ----------------------------------------------------------------------

echo "=== fuzz (libFuzzer, ${FUZZ_SECONDS:-12} s a case)"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-12}" 2>&1 | tee "$ART/fuzz.log"
record "fuzz" "${PIPESTATUS[0]}"

# ---- the Windows builds ---------------------------------------------------------

# zepx.exe must run from a bare folder: only system DLLs imported (the
# MinGW runtime linked in statically), the manifest and the icon embedded.
check_exe() {  # check_exe BUILD OBJDUMP
  local exe="build/$1/zepx.exe" ok=0
  [[ ${built[$1]} -eq 0 ]] || { echo "build $1 failed, see build/$1.build.log"; ok=1; }
  [[ -f $exe ]] || { echo "$exe missing"; return 1; }
  local dlls
  dlls=$($2 -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  echo "$exe imports: $(echo $dlls)"
  # The system's DLLs are the ones Wine provides; the MinGW runtime
  # (libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll) is not among them.
  local d system=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
  for d in $dlls; do
    [[ -f $system/${d,,} ]] || { echo "  $d is not a system DLL"; ok=1; }
  done
  local rsrc="build/$1/zepx.rsrc"
  "${2%objdump}objcopy" -O binary --only-section=.rsrc "$exe" "$rsrc"
  grep -qa 'Microsoft.Windows.Common-Controls' "$rsrc" && grep -qa 'PerMonitorV2' "$rsrc" ||
    { echo "  manifest not embedded"; ok=1; }
  LC_ALL=C grep -qaP 'V\x00S\x00_\x00V\x00E\x00R\x00S\x00I\x00O\x00N\x00_\x00I' "$rsrc" || { echo "  version information missing"; ok=1; }
  return $ok
}
echo "=== Windows x86_64 build"
check_exe win64 x86_64-w64-mingw32-objdump
record "windows build (x86_64)" $?
echo "=== Windows i686 build (built, not run)"
check_exe win32 i686-w64-mingw32-objdump
record "windows build (i686)" $?

# ---- one display and one Wine prefix for the rest ------------------------------

XVFB_PID=
stop_all() {
  declare -F unmount_disks >/dev/null && unmount_disks
  [[ -n ${WINEPREFIX:-} ]] && wineserver -k >/dev/null 2>&1
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null
}
trap stop_all EXIT

start_display() {
  local n
  for n in $(seq 90 150); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$ART/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 100); do
      xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  done
  return 1
}

if ! start_display; then
  echo "could not start Xvfb; see $ART/xvfb.log"
  record "display" 1
  finish
fi
echo "=== display $DISPLAY"

export ZEPX_WINEPREFIX="$ROOT/build/e2e-prefix"
source scripts/wine_env.sh
wineserver -k >/dev/null 2>&1
rm -rf "$WINEPREFIX" "$WINEPREFIX.wineboot.log"
if ! zepx_wine_prefix; then
  record "wine prefix" 1
  finish
fi
export ZEPX_EXE="$ROOT/build/win64/zepx.exe"
export ZEPX_TOOLS_DIR="$ROOT/build/win64"
export ZEPX_ARTIFACTS="$ART"

# ---- the real platform against the real system, in both ANSI code pages -------

platform_checks() {  # platform_checks LOCALE
  local exe="$ROOT/build/win64/zepx_win32_tests.exe"
  [[ -f $exe ]] || { echo "zepx_win32_tests.exe missing"; return 1; }
  LANG=$1 LC_ALL=$1 timeout 300 wine "$exe" "引数 あ" >"$ART/platform-$1.log" 2>&1
  local status=$?
  wineserver -w >/dev/null 2>&1
  cat "$ART/platform-$1.log"
  return "$status"
}
# Two small disks for the save checks: one full, one where no new file can
# be made (its inodes used up). Mounting needs root; without it the checks
# say they were not run.
DISKS="$ROOT/build/disks"
unmount_disks() {
  local d
  for d in full locked; do mountpoint -q "$DISKS/$d" && umount "$DISKS/$d"; done
  return 0
}
prepare_disks() {
  unmount_disks
  mkdir -p "$DISKS/full" "$DISKS/locked"
  mount -t tmpfs -o size=64k tmpfs "$DISKS/full" 2>/dev/null || return 1
  mount -t tmpfs -o size=64k,nr_inodes=2 tmpfs "$DISKS/locked" 2>/dev/null || { unmount_disks; return 1; }
  local f
  for f in "$DISKS/full/old.mcr" "$DISKS/locked/old.mcr"; do
    printf '//ZEP Version 4.51\r\n[F1]\r\n' >"$f" || { unmount_disks; return 1; }
  done
  dd if=/dev/zero of="$DISKS/full/filler" bs=4k >/dev/null 2>&1 || true
  export ZEPX_FULL_DISK="Z:${DISKS//\//\\}\\full" ZEPX_NO_NEW_FILES="Z:${DISKS//\//\\}\\locked"
}
prepare_disks || echo "small disks for the save checks could not be mounted"
echo "=== Win32 platform checks, ANSI code page 932"
platform_checks ja_JP.UTF-8
record "win32 platform (cp932)" $?
# C.UTF-8: code page 1252, and file names and arguments still reach Wine
# as UTF-8.
echo "=== Win32 platform checks, ANSI code page 1252"
platform_checks C.UTF-8
record "win32 platform (cp1252)" $?
unmount_disks
unset ZEPX_FULL_DISK ZEPX_NO_NEW_FILES

# ---- the native controls: lists, spin edits, boxes, against the objects ----------

native_checks() {
  local exe="$ROOT/build/win64/native_ui_bench.exe"
  [[ -f $exe ]] || { echo "native_ui_bench.exe missing"; return 1; }
  timeout 300 wine "$exe" >"$ART/native-ui.log" 2>&1
  local status=$?
  wineserver -w >/dev/null 2>&1
  cat "$ART/native-ui.log"
  return "$status"
}
echo "=== native controls under Wine (their timings printed, not judged)"
native_checks
record "native controls" $?

# ---- start-up check: the program opens its main window ------------------------

smoke() {
  [[ -f $ZEPX_EXE ]] || { echo "zepx.exe missing"; return 1; }
  wine reg delete 'HKCU\Software\VELMOR\ZEPX' /f >/dev/null 2>&1
  wine "$ZEPX_EXE" >"$ART/startup.log" 2>&1 &
  local pid=$! i win= title=
  for i in $(seq 600); do
    win=$(xdotool search --onlyvisible --name '^ZEPX' 2>/dev/null | head -n 1)
    [[ -n $win ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep 1  # let it paint
  [[ -n $win ]] && title=$(xdotool getwindowname "$win" 2>/dev/null)
  import -window root "$ART/startup.png" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  wait "$pid" 2>/dev/null
  if [[ -z $win ]]; then
    echo "no visible window titled ZEPX within 60 s (screenshot: build/artifacts/startup.png)"
    return 1
  fi
  echo "window \"$title\" shown after $((i / 10)).$((i % 10)) s; screenshot build/artifacts/startup.png"
}
echo "=== start-up under Wine"
smoke
record "start-up under Wine" $?

# ---- end-to-end scripts -----------------------------------------------------------

# The whole run must end well inside CI's 90 minutes: scripts that would
# start after 80 minutes are counted as failed without being run.
BUDGET="${TEST_BUDGET:-4800}"
rm -rf "$ART/guide"  # only this run's pictures
shopt -s nullglob
for script in tests/e2e/*_test.sh; do
  name=$(basename "$script" .sh)
  echo "=== e2e: $name"
  left=$((BUDGET - (SECONDS - started)))
  if ((left < 60)); then
    echo "$name: not run, the time budget of $BUDGET s is used up"
    record "e2e $name" 1
    continue
  fi
  limit=$((left < E2E_TIMEOUT ? left : E2E_TIMEOUT))
  # Output goes to a file, not through a pipe: a Windows process the script
  # left behind would hold a pipe open and hang the whole run. The file is
  # shown as it grows by a tail that ends with the script itself.
  : >"$ART/$name.log"
  timeout --kill-after=10 "$limit" bash "$script" </dev/null >>"$ART/$name.log" 2>&1 &
  script_pid=$!
  tail -n +1 -f --pid="$script_pid" "$ART/$name.log" 2>/dev/null
  wait "$script_pid"
  status=$?
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  [[ $status -eq 124 ]] && echo "$name: stopped after $limit s"
  record "e2e $name" "$status"
done

# ---- the user's guide: every picture it shows is in docs/ ------------------------

# The journeys write fresh copies of the same windows (form_check's third
# argument) to build/artifacts/guide/, to compare or to copy over docs/. A
# fresh copy of another size means the window changed since docs/ was
# taken: that picture is out of date.
guide_images() {
  local img size fresh bad=0
  [[ -f docs/guide-ja.md ]] || { echo "docs/guide-ja.md missing"; return 1; }
  for img in $(grep -o '!\[[^]]*\]([^)]*)' docs/guide-ja.md | sed 's/.*](\(.*\))$/\1/'); do
    if [[ ! -f docs/$img ]]; then
      echo "docs/guide-ja.md shows $img, which is not in docs/"
      bad=1
    elif [[ -f $ART/guide/$img ]]; then
      size=$(identify -format %wx%h "docs/$img") fresh=$(identify -format %wx%h "$ART/guide/$img")
      echo "docs/$img ($size): fresh copy build/artifacts/guide/$img ($fresh)"
      [[ $size == "$fresh" ]] || { echo "  the window is $fresh now: docs/$img is out of date"; bad=1; }
    else
      echo "docs/$img: no fresh copy from this run"
    fi
  done
  return $bad
}
echo "=== the guide's pictures"
guide_images
record "guide images" $?

finish
