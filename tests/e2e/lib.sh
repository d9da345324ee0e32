# The one helper library of the end-to-end journeys (and of scripts/bench.sh):
# the real zepx.exe under Wine on an X display, driven by zepxctl.exe and by
# real pointer and key input (xdotool), observed through probe.exe.
#
# Environment (scripts/test.sh sets it; by hand the defaults below apply and
# a display of our own is started when none is given): ZEPX_EXE,
# ZEPX_TOOLS_DIR (probe.exe, zepxctl.exe), ZEPX_ARTIFACTS, DISPLAY, WINEPREFIX.
#
# Rules of the journeys: every wait is for a condition with a deadline
# (wait_for, or the driver's own waits); a check that something did not
# happen first waits for a later event that proves the input was handled;
# time bounds only from timestamps the probe or the program records.
set -eEuo pipefail
# A command that ends the script through set -e is named with its line.
e2e_err() {
  local status=$?
  [[ $BASHPID == "$$" ]] || return 0  # a command substitution's failure is its caller's
  echo "FAIL [$E2E_NAME]: line $1: \"$2\" exited with $status" >&2
  [[ -z ${ZEPX_PID:-} ]] || kill -0 "$ZEPX_PID" 2>/dev/null || echo "FAIL [$E2E_NAME]: the program under test is no longer running" >&2
}
trap 'e2e_err "$LINENO" "$BASH_COMMAND"' ERR

E2E_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
E2E_NAME="$(basename "$0" .sh)"
[[ -n "${DISPLAY:-}" ]] || exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
: "${ZEPX_EXE:=$E2E_ROOT/build/win64/zepx.exe}"
: "${ZEPX_TOOLS_DIR:=$(dirname "$ZEPX_EXE")}"
: "${ZEPX_ARTIFACTS:=$E2E_ROOT/build/e2e-artifacts}"
E2E_OWN_PREFIX=""
if [[ -z "${WINEPREFIX:-}" ]]; then  # by hand: a prefix of our own
  export ZEPX_WINEPREFIX="${ZEPX_WINEPREFIX:-$E2E_ROOT/build/e2e-manual-prefix}"
  source "$E2E_ROOT/scripts/wine_env.sh"
  zepx_wine_prefix
  E2E_OWN_PREFIX=1
fi
export WINEDEBUG="${WINEDEBUG:--all}" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8  # code page 932
for f in "$ZEPX_EXE" "$ZEPX_TOOLS_DIR/probe.exe" "$ZEPX_TOOLS_DIR/zepxctl.exe"; do
  [[ -f "$f" ]] || { echo "$E2E_NAME: missing $f (build win64 first)" >&2; exit 1; }; done
ZEPX_ARTIFACTS="$(realpath -m "$ZEPX_ARTIFACTS")"  # Wine sees it through Z:
WORK="$ZEPX_ARTIFACTS/$E2E_NAME"
rm -rf "$WORK" && mkdir -p "$WORK"
E2E_PIDS=() ZEPX_PID="" PROBE_LOG=""
ZEPX_KEY='HKCU\Software\VELMOR\ZEPX'

# ---- files and the fixture -------------------------------------------------------

winpath() { printf 'Z:%s' "${1//\//\\}"; }
# UTF-8 lines on stdin -> cp932 with CR LF, as the program writes them.
write_macro() { sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$1"; }
# The fixture: a macro file of LINES run PASSES times by send METHOD (0
# _event, 1 SendInput, 2 WinMessage) with the waits of DELAYS (after keys,
# clicks, drags, modifiers; short by default).
#   macro PATH METHOD PASSES LINE...
macro() {
  local path=$1 method=$2 passes=$3 k c d s
  shift 3
  read -r k c d s <<<"${DELAYS:-100 100 200 50}"
  printf '%s\n' "//ZEP Version 4.51" "$@" "Key:$k" "Click:$c" "Drag:$d" "SftAltCtl:$s" "Loop:$passes" \
    "SendAPI:$method" | write_macro "$path"
}
# The soak's list at TITLE <HWND>: per pass "ab" (two WM_CHAR), Enter and
# Space (two WM_KEYDOWN), a 1 ms wait and an event line without actions.
write_soak_macro() {  # write_soak_macro PATH TITLE HWND PASSES
  DELAYS="0 0 0 0" macro "$1" 2 "$4" "[Text]~~ab|>$2 <$3>" "[Enter]|>$2 <$3>" Wait=1 "[Space]|>$2 <$3>" "【ZEP Event 1】"
}
# The UTF-16 code units of a UTF-8 text as the probe logs them.
utf16_units() {
  printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx2 | xargs -n1 | while read -r u; do printf '0x%X\n' "$((16#$u))"; done | paste -sd' '
}

# ---- the registry ------------------------------------------------------------------

reset_settings() { wine reg delete "$ZEPX_KEY" /f >/dev/null 2>&1 || true; }
# reg_get NAME: "TYPE DATA" of one value, empty when it is missing.
reg_get() {
  wine reg query "$ZEPX_KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n { $1 = ""; sub(/^ /, ""); print }'
}
reg_dword() { wine reg add "$ZEPX_KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 || fail "reg add $1"; }

# ---- programs ------------------------------------------------------------------------

# The driver; a failure without its own message is named with its status.
ctl() { wine "$ZEPX_TOOLS_DIR/zepxctl.exe" "$@" || { local st=$?; echo "zepxctl $1: exit status $st" >&2; return $st; }; }
# spawn PROGRAM.exe ARGS...: started in the background (as a simple command,
# so $! is Wine itself) and ended by the clean-up. Sets SPAWNED.
spawn() {
  wine "$@" &
  SPAWNED=$!
  E2E_PIDS+=("$SPAWNED")
}
# start_probe TITLE [X,Y,W,H [CLASS]]: sets PROBE_LOG and the PROBE_* of its info file.
start_probe() {
  local n=${#E2E_PIDS[@]}
  PROBE_LOG="$WORK/probe$n.log"
  spawn "$ZEPX_TOOLS_DIR/probe.exe" "$1" "$(winpath "$PROBE_LOG")" "$(winpath "$WORK/probe$n.info")" "${2:-830,600,440,340}" ${3:+"$3"}
  wait_for 30 test -s "$WORK/probe$n.info" || fail "probe \"$1\" did not start"
  source "$WORK/probe$n.info"
}
# start_zepx [FILE [FILE...]]: the program with those macro files (Linux
# paths); waits for its main window "ZEPX - <first file>" (or "ZEPX") and for
# the end of start-up, seen from outside: the target list is filled, its
# own window among the entries, only after the settings load. Sets
# ZEPX_PID, ZEPX_CAPTION, ZEPX_HWND and Z ("#<handle>").
start_zepx() {
  local a args=()
  for a in "$@"; do args+=("$(winpath "$a")"); done
  ZEPX_CAPTION="ZEPX${1:+ - $(basename "$1")}"
  spawn "$ZEPX_EXE" "${args[@]}" >>"$WORK/zepx.out" 2>&1
  ZEPX_PID=$SPAWNED
  wait_for 30 main_hwnd "$ZEPX_CAPTION" || fail "no window \"$ZEPX_CAPTION\" after starting zepx.exe"
  ZEPX_HWND=$(main_hwnd "$ZEPX_CAPTION") Z="#$(main_hwnd "$ZEPX_CAPTION")"
  wait_for 30 started "$ZEPX_HWND" || fail "start-up of \"$ZEPX_CAPTION\" did not finish"
}
# The main window with exactly this caption (a message box is "ZEPX" too).
main_hwnd() { ctl tops "$1" | awk -v c="$1" '$3 == "TMainForm" && substr($0, index($0, $4)) == c { print $1; f = 1; exit } END { exit !f }'; }
started() { ctl comboitems "#$1" | grep -qF "<$1>"; }
close_zepx() {
  ctl close "$Z"
  wait_for 15 not_running "$ZEPX_PID" || fail "zepx.exe still running after WM_CLOSE"
}
# run_macro [MS]: clicks Run, waits for running and idle: sets RUN_STATUS.
run_macro() { RUN_STATUS=$(ctl run "$Z" "${1:-60000}" | sed -n 's/^RUNNING [0-9]* //p') || fail "the run did not complete"; }

# ---- waiting and checking --------------------------------------------------------------

not_running() { ! kill -0 "$1" 2>/dev/null; }
wait_for() {  # wait_for SECONDS CMD...: until CMD succeeds
  local end=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < end)) && sleep 0.1 || return 1; done
}
fail() {
  echo "FAIL [$E2E_NAME]: $*" >&2
  [[ -n "$PROBE_LOG" && -f "$PROBE_LOG" ]] && { echo "---- last lines of $PROBE_LOG" >&2; tail -n 20 "$PROBE_LOG" >&2; }
  import -window root "$WORK/failure.png" 2>/dev/null || true
  exit 1
}
expect_eq() {  # expect_eq WHAT EXPECTED ACTUAL
  [[ "$2" == "$3" ]] || { printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3" >&2; fail "$1"; }
  printf 'ok   %s: %s\n' "$1" "$(head -c 200 <<<"$3")"
}
# expect_box ID TEXT: a message box with TEXT ("|" between its labels, line
# breaks as \r\n) comes, and button ID answers it (1 OK, 2 Cancel, 6 Yes).
expect_box() {
  local out
  out=$(ctl box 15000 "$1") || fail "message box \"$2\": $out"
  expect_eq "message box" "TEXT $2" "$(sed -n '/^TEXT /p' <<<"$out")"
}
no_box() { ! ctl tops "" | grep -q ' #32770 '; }
shown() { [[ -n "$(ctl tops "$1")" ]]; }
hidden() { ! shown "$1"; }

# Probe log: "<us> <msgtime> <role> <MSG> wp=.. lp=.. [x= y=]" per message.
probe_lines() { wc -l <"$PROBE_LOG"; }
probe_since() { tail -n +"$(($1 + 1))" "$PROBE_LOG"; }
# "ROLE MSG wp lp" of the key, character and button messages after MARK.
probe_input_since() {
  probe_since "$1" | awk '$4 ~ /^WM_(KEY|SYSKEY|CHAR|SYSCHAR|[LR]BUTTON)/ { sub("wp=", "", $5); sub("lp=", "", $6); print $3, $4, $5, $6 }'
}
probe_got() { probe_since "$1" | grep -qE "$2"; }  # probe_got MARK REGEX
probe_clear() {  # empties the probe's edit
  local mark=$(probe_lines)
  ctl post "#$PROBE_TOP" 0x8002 0 0 && wait_for 10 probe_got "$mark" '^CLEARED' || fail "the probe did not clear its edit"
}

foreground_is() { [[ "$(ctl foreground | cut -d' ' -f1)" == "$1" ]]; }
bring_to_front() {  # bring_to_front HANDLE WHAT
  ctl activate "#$1"
  wait_for 10 foreground_is "$1" || fail "could not put $2 in front"
}
# The X pointer moved, then Wine told (SetCursorPos), so that both agree
# whatever Wine believed before (a warp to where Wine thinks the cursor
# already is does nothing).
place_pointer() {
  xdotool mousemove "$1" "$2"
  expect_eq "pointer placed" "$1 $2" "$(ctl setcursor "$1" "$2")"
}
# click WIN SEL [PERCENT]: a real click into a child, at PERCENT of its width.
click() {
  local x y
  read -r x y < <(ctl center "$1" "$2" "${3:-50}") || fail "no control \"$2\" in $1"
  xdotool mousemove "$x" "$y" click 1
}
# Two clicks on one row within the double-click time would be a double
# click, which selects nothing: each click lands 40 pixels from the last.
ROW_CLICK_SIDE=-20
click_row() {  # click_row ROW: a real click on a row of the main window's list
  local x y
  read -r x y < <(ctl itempoint "$Z" "" "$1") || fail "no row $1"
  ROW_CLICK_SIDE=$((-ROW_CLICK_SIDE))
  xdotool mousemove "$((x + ROW_CLICK_SIDE))" "$y" click 1
  wait_for 10 selected_is "$1" || fail "row $1 did not become selected"
}
selected_is() { [[ "$(ctl selected "$Z")" == "$1" ]]; }
checked_is() { [[ "$(ctl getcheck "$1" "$2")" == "$3" ]]; }  # checked_is WIN SEL 0|1
text_is() { [[ "$(ctl text "$1" "$2")" == "$3" ]]; }         # text_is WIN SEL TEXT
list_is() { [[ "$(ctl list "$Z" | paste -sd'|')" == "$1" ]]; }
expect_list() {  # expect_list WHAT LINE|LINE...
  wait_for 10 list_is "$2" || expect_eq "list after $1" "$2" "$(ctl list "$Z" | paste -sd'|')"
  echo "ok   list after $1"
}

# The check of every form the journeys open: a screenshot of the display,
# and no control cut off by the edge of its window: form_check WIN NAME
# [GUIDE]. With GUIDE the window alone is kept too, as the user's guide
# shows it (scripts/guide_shot.sh): build/artifacts/guide/GUIDE.png, a fresh
# copy of docs/GUIDE.png.
form_check() {
  xdotool mousemove 1270 1010  # no tooltip in the picture
  import -window root "$WORK/$2.png" || fail "screenshot $2"
  [[ -z ${3:-} ]] || bash "$E2E_ROOT/scripts/guide_shot.sh" "$(ctl text "$1" "")" "$ZEPX_ARTIFACTS/guide/$3.png" || fail "guide picture $3"
  local cut
  cut=$(ctl layout "$1") || fail "controls cut off in $2: $cut"
  echo "ok   $2: every control inside its window (build/artifacts/$E2E_NAME/$2.png)"
}

# Ends every program the script started, passed or failed: SIGTERM, and
# SIGKILL after 5 s, so that the final wait cannot hang.
cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${E2E_PIDS[@]}"; do
    timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -KILL "$pid" 2>/dev/null || true
  done
  [[ -z $E2E_OWN_PREFIX ]] || wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
