# Shared helpers of the end-to-end tests: the real zepx.exe under Wine on an
# X display, driven by zepxctl.exe and observed through probe.exe.
#
# Environment (scripts/test.sh sets all of it; by hand the defaults below
# apply and a display of our own is started when none is given):
#   ZEPX_EXE        the program under test
#   ZEPX_TOOLS_DIR  where probe.exe and zepxctl.exe are
#   ZEPX_ARTIFACTS  where logs, generated macro files and screenshots go
#   DISPLAY, WINEPREFIX
#
# Source it first thing:  source "$(dirname "$0")/lib.sh"
set -eEuo pipefail
# A command that ends the script through set -e would otherwise end it
# without a word; name it, its line and its status (only in the script's
# own shell: a command substitution's failures are its caller's business).
e2e_err() {
  local status=$? line=$1 cmd=$2
  [[ $BASHPID == "$$" ]] || return 0
  echo "FAIL [$E2E_NAME]: line $line: \"$cmd\" exited with $status" >&2
  if [[ -n ${ZEPX_PID:-} ]] && ! kill -0 "$ZEPX_PID" 2>/dev/null; then
    echo "FAIL [$E2E_NAME]: the program under test is no longer running" >&2
  fi
}
trap 'e2e_err "$LINENO" "$BASH_COMMAND"' ERR

E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_NAME="$(basename "$0" .sh)"

if [[ -z "${DISPLAY:-}" ]]; then
  # Run by hand without a display: re-run this script under one of its own.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

: "${ZEPX_EXE:=$E2E_ROOT/build/win64/zepx.exe}"
: "${ZEPX_TOOLS_DIR:=$(dirname "$ZEPX_EXE")}"
: "${ZEPX_ARTIFACTS:=$E2E_ROOT/build/e2e-artifacts}"
E2E_OWN_PREFIX=""
if [[ -z "${WINEPREFIX:-}" ]]; then
  # By hand: the project's Wine environment with a prefix of our own.
  export ZEPX_WINEPREFIX="${ZEPX_WINEPREFIX:-$E2E_ROOT/build/e2e-manual-prefix}"
  source "$E2E_ROOT/scripts/wine_env.sh"
  zepx_wine_prefix
  E2E_OWN_PREFIX=1
fi
export WINEDEBUG="${WINEDEBUG:--all}"
# Wine's ANSI code page follows the locale: 932 is the program's own.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

for f in "$ZEPX_EXE" "$ZEPX_TOOLS_DIR/probe.exe" "$ZEPX_TOOLS_DIR/zepxctl.exe"; do
  if [[ ! -f "$f" ]]; then
    echo "$E2E_NAME: missing $f (build win64 first)" >&2
    exit 1
  fi
done

# Wine sees our files through Z:, which needs absolute paths.
ZEPX_ARTIFACTS="$(realpath -m "$ZEPX_ARTIFACTS")"
WORK="$ZEPX_ARTIFACTS/$E2E_NAME"
rm -rf "$WORK"
mkdir -p "$WORK"

# Processes this script started (wine process ids), ended on exit.
E2E_PIDS=()
ZEPX_PID=""
PROBE_LOG=""

# ---- paths and files ---------------------------------------------------------

# Unix absolute path -> the same file through Wine's Z: drive.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Writes a macro file from UTF-8 lines on stdin: cp932 bytes, CR LF endings,
# as the program's own writer produces them.
write_macro() {
  local path=$1
  sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$path"
}

# The soak's list, aimed at TITLE <HWND>, PASSES passes by WinMessage: per
# pass "a" and "b" (two WM_CHAR), Enter and Space (two WM_KEYDOWN), a 1 ms
# wait and an event line without actions.
#   write_soak_macro PATH TITLE HWND PASSES
write_soak_macro() {
  write_macro "$1" <<MCR
//ZEP Version 4.51
[Text]~~ab|>$2 <$3>
[Enter]|>$2 <$3>
Wait=1
[Space]|>$2 <$3>
【ZEP Event 1】
Key:0
Click:0
Drag:0
SftAltCtl:0
Loop:$4
SendAPI:2
MCR
}

# The six settings lines of a test macro, with waits short enough to keep
# the tests quick: quick_settings LOOPS SENDAPI
quick_settings() {
  printf '%s\n' Key:100 Click:100 Drag:200 SftAltCtl:50 "Loop:$1" "SendAPI:$2"
}

# The UTF-16 code units of a UTF-8 text as the probe logs them: "0x65E5 ...".
utf16_units() {
  local u out=()
  for u in $(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx2); do
    out+=("$(printf '0x%X' "$((16#$u))")")
  done
  echo "${out[*]}"
}

# ---- the tools -----------------------------------------------------------------

ctl() { wine "$ZEPX_TOOLS_DIR/zepxctl.exe" "$@"; }

# Starts a Windows program in the background and has the clean-up end it:
# spawn PROGRAM.exe ARGS... (redirections and variables given on the call
# apply to the program). Sets SPAWNED to its process id. Wine is started
# here as a simple command, so $! is the Wine process itself; a shell
# function put in the background would be a subshell, and ending that
# leaves the program running.
spawn() {
  wine "$@" &
  SPAWNED=$!
  E2E_PIDS+=("$SPAWNED")
}

# Starts a probe window: start_probe TITLE [X,Y,W,H [PROBE OPTIONS...]].
# Sets PROBE_LOG, the PROBE_* variables of its info file and PROBE_PID_UNIX.
start_probe() {
  local title=$1 pos=${2:-830,600,440,340}
  shift $(($# < 2 ? $# : 2))
  local n=${#E2E_PIDS[@]}
  PROBE_LOG="$WORK/probe$n.log"
  local info="$WORK/probe$n.info"
  rm -f "$PROBE_LOG" "$info"
  spawn "$ZEPX_TOOLS_DIR/probe.exe" --title "$title" --log "$(winpath "$PROBE_LOG")" \
    --info "$(winpath "$info")" --pos "$pos" "$@"
  PROBE_PID_UNIX=$SPAWNED
  wait_for 30 test -s "$info" || fail "probe \"$title\" did not start"
  # shellcheck disable=SC1090
  source "$info"
}

# Starts zepx.exe with a macro file and waits for "ZEPX - <file name>".
# Sets ZEPX_PID and ZEPX_CAPTION.
start_zepx() {
  local macro=$1
  ZEPX_CAPTION="ZEPX - $(basename "$macro")"
  if [[ -n "${ZEPX_CURSOR_TRACE:-}" ]]; then
    # Wine's own record of every cursor move the program makes.
    WINEDEBUG=-all,+cursor spawn "$ZEPX_EXE" "$(winpath "$macro")" 2>"$ZEPX_CURSOR_TRACE"
  else
    spawn "$ZEPX_EXE" "$(winpath "$macro")"
  fi
  ZEPX_PID=$SPAWNED
  ctl --wait 30000 find "$ZEPX_CAPTION" >/dev/null ||
    fail "no window \"$ZEPX_CAPTION\" after starting zepx.exe"
}

# Closes the program's window and waits for its process to end.
close_zepx() {
  ctl close "$ZEPX_CAPTION"
  wait_for 15 not_running "$ZEPX_PID" || fail "zepx.exe (pid $ZEPX_PID) still running after WM_CLOSE"
}

# Runs the loaded macro with the pointer parked at the bottom left, away
# from the probe: sets POINTER_BEFORE (where it was parked), MARK (the probe
# log's line count before the run) and, as run_macro does, RUN_STATUS and
# RUN_MS. run_marked [TIMEOUT_MS]
run_marked() {
  place_pointer 40 1000
  POINTER_BEFORE=$(pointer)
  MARK=$(probe_lines)
  run_macro "${1:-60000}"
}

# Clicks Run and waits for the running status and then for idle. Sets
# RUN_STATUS (the running text) and RUN_MS (request to idle, in ms).
run_macro() {
  local out
  out=$(ctl run "$ZEPX_CAPTION" "${1:-60000}") || fail "run did not complete: $out"
  RUN_STATUS=$(sed -n 's/^RUNNING [0-9]* //p' <<<"$out")
  RUN_MS=$(sed -n 's/^IDLE //p' <<<"$out")
}

# Forgets the settings of earlier runs so each script starts from defaults.
reset_settings() {
  wine reg delete 'HKCU\Software\VELMOR\ZEPX' /f >/dev/null 2>&1 || true
}

# ---- waiting and checking ----------------------------------------------------------

not_running() { ! kill -0 "$1" 2>/dev/null; }

# wait_for SECONDS CMD...: polls CMD every 0.1 s until it succeeds.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

fail() {
  echo "FAIL [$E2E_NAME]: $*" >&2
  if [[ -n "$PROBE_LOG" && -f "$PROBE_LOG" ]]; then
    echo "---- last lines of $PROBE_LOG" >&2
    tail -n 40 "$PROBE_LOG" >&2
  fi
  exit 1
}

# expect_eq WHAT EXPECTED ACTUAL
expect_eq() {
  if [[ "$2" == "$3" ]]; then
    printf 'ok   %s: %s\n' "$1" "$(head -c 200 <<<"$3")"
  else
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3" >&2
    fail "$1"
  fi
}

# Probe log queries. Fields: us msgtime role MSG wp=.. lp=.. [x= y=]
# probe_since MARK: the log lines after line MARK (a line count).
probe_lines() { wc -l <"$PROBE_LOG"; }
probe_since() { tail -n +"$(($1 + 1))" "$PROBE_LOG"; }
# "ROLE MSG wp lp" of the input messages after MARK, mouse moves left out.
probe_input_since() {
  probe_since "$1" | awk '$4 ~ /^WM_(KEY|SYSKEY|CHAR|SYSCHAR|[LRM]BUTTON)/ {
    sub("wp=", "", $5); sub("lp=", "", $6); print $3, $4, $5, $6 }'
}
# The edit's current text (UTF-8).
probe_text() { ctl text "#$PROBE_EDIT"; }
probe_clear() {
  local before
  before=$(grep -c '^CLEARED' "$PROBE_LOG" || true)
  ctl post "#$PROBE_TOP" 0x8002 0 0
  wait_for 5 probe_count_above '^CLEARED' "$before" || fail "the probe did not clear its edit"
}
probe_count_above() { (($(grep -c "$1" "$PROBE_LOG") > $2)); }

# Handle of the foreground window.
foreground() { ctl foreground | cut -d' ' -f1; }
foreground_is() { [[ "$(foreground)" == "$1" ]]; }
foreground_is_not() { [[ "$(foreground)" != "$1" ]]; }
# bring_to_front HANDLE WHAT: activates the window and waits until it is the
# foreground window.
bring_to_front() {
  ctl activate "#$1"
  wait_for 5 foreground_is "$1" || fail "could not put $2 in front"
}

# Puts the pointer at X Y through Wine (SetCursorPos), so that Wine's idea
# of it and the X pointer agree; xdotool alone moves only the X pointer, and
# a later SetCursorPos to the point Wine still believes in moves nothing.
place_pointer() {
  ctl setcursor "$1" "$2" >/dev/null
  wait_for 5 pointer_is "$1 $2" || fail "could not place the pointer at $1 $2 (X pointer $(pointer))"
}
pointer_is() { [[ "$(pointer)" == "$1" ]]; }

# The X pointer, "x y".
pointer() { xdotool getmouselocation | sed -E 's/^x:([0-9]+) y:([0-9]+).*/\1 \2/'; }

# Where the pointer rests after a run is shown, not judged: what the program
# did with it is judged from Wine's trace of its moves (cursor_warps). Under
# Wine on a bare X server, the window under a clicked point belongs to
# another process than the one holding the cursor confinement, and that
# process can report the pointer at the clicked point (as it saw it while
# confined) only after the program has put the cursor back; Wine's cursor
# position then follows the late report, and after several mouse lines in
# a row the next line saves that position and "restores" it.
report_pointer() {
  echo "     cursor afterwards: GetCursorPos $(ctl cursor), X pointer $(pointer) (was $1)"
}

# The points the program warped the cursor to, "x,y" per line, from the
# trace of a start_zepx run with ZEPX_CURSOR_TRACE set.
cursor_warps() { sed -n 's/.*X11DRV_SetCursorPos warped to \([0-9-]*,[0-9-]*\) .*/\1/p' "$1"; }

# Ends every program the script started, whether it passed or failed: a
# program left running would keep the script's output open. SIGTERM ends
# a Wine process at once; one still there after 5 s gets SIGKILL, so the
# final wait cannot hang. The children of a recorded process are ended
# too, in case one was started through a subshell after all. When the
# prefix is this script's own (run by hand), the programs those programs
# started (further instances) are ended with its wineserver; a shared
# prefix is left to its owner.
cleanup() {
  local pid pids=() left end
  for pid in "${E2E_PIDS[@]}"; do
    kill -0 "$pid" 2>/dev/null || continue
    pids+=("$pid" $(ps -o pid= --ppid "$pid" 2>/dev/null || true))
  done
  if ((${#pids[@]})); then
    kill "${pids[@]}" 2>/dev/null || true
    end=$((SECONDS + 5))
    while :; do
      left=()
      for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && left+=("$pid"); done
      ((${#left[@]} && SECONDS < end)) || break
      sleep 0.1
    done
    if ((${#left[@]})); then
      echo "$E2E_NAME: still running after SIGTERM, killed: ${left[*]}" >&2
      kill -KILL "${left[@]}" 2>/dev/null || true
    fi
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  fi
  if [[ -n $E2E_OWN_PREFIX ]]; then wineserver -k >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT
