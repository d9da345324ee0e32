# Helpers of the settings, hot-key and lifecycle end-to-end scripts, on top
# of lib.sh: the program's registry key, message boxes seen from another
# process (lifectl.exe), and a start without a macro file.
#
# Source it after lib.sh:  source "$(dirname "$0")/life_lib.sh"

ZEPX_KEY='HKCU\Software\VELMOR\ZEPX'

[[ -f "$ZEPX_TOOLS_DIR/lifectl.exe" ]] || { echo "$E2E_NAME: missing lifectl.exe" >&2; exit 1; }
life() { wine "$ZEPX_TOOLS_DIR/lifectl.exe" "$@"; }

# Milliseconds since the epoch, for the figures the scripts print.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# "NAME TYPE DATA" for every value of the key, sorted by name; nothing when
# the key is missing. An empty REG_SZ reads as "NAME REG_SZ".
reg_values() {
  wine reg query "$ZEPX_KEY" 2>/dev/null | tr -d '\r' |
    awk '/^    [^ ]/ { d = ""; for (i = 3; i <= NF; i++) d = d (i > 3 ? " " : "") $i;
                       print $1, $2 (d == "" ? "" : " " d) }' | LC_ALL=C sort
}
# reg_get NAME: "TYPE DATA" of one value, empty when it is missing.
reg_get() { reg_values | awk -v n="$1" '$1 == n { $1 = ""; sub(/^ /, ""); print }'; }
reg_dword() { wine reg add "$ZEPX_KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1 || fail "reg add $1"; }
reg_sz() { wine reg add "$ZEPX_KEY" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 || fail "reg add $1"; }
reg_remove() { wine reg delete "$ZEPX_KEY" /v "$1" /f >/dev/null 2>&1 || fail "reg delete $1"; }

# Starts zepx.exe with the given arguments (Wine paths already), waits for a
# window with CAPTION and for the end of its start-up. Sets ZEPX_PID,
# ZEPX_CAPTION, ZEPX_HWND and START_MS (launch to start-up done).
#
# The end of start-up is seen from outside: the target list is filled with
# the visible top-level windows (the program's own among them) only after
# the settings load, and a message box during the load holds it back until
# the box is answered. So a box of the load, if there is one, is up by then.
start_zepx_as() {
  local caption=$1
  shift
  local t0
  t0=$(now_ms)
  # Not into the script's own output: further instances inherit these
  # handles, and a pipe held open by one would keep the caller's tee
  # waiting after the script ended.
  spawn "$ZEPX_EXE" "$@" >>"$WORK/zepx.out" 2>&1
  ZEPX_PID=$SPAWNED
  ZEPX_CAPTION=$caption
  wait_for 30 main_hwnd "$caption" || fail "no window \"$caption\" after starting zepx.exe"
  ZEPX_HWND=$(main_hwnd "$caption")
  wait_for 30 started "$ZEPX_HWND" || fail "start-up of \"$caption\" did not finish (boxes: $(life boxes))"
  START_MS=$(($(now_ms) - t0))
}
# The handle of the main window with exactly this caption (a message box
# has the caption "ZEPX" too); fails when there is none.
main_hwnd() {
  life tops "$1" | awk -v c="$1" '{ h = $1; cls = $3; $1 = $2 = $3 = ""; sub(/^ +/, "")
    if (cls == "TMainForm" && $0 == c) { print h; found = 1; exit } } END { exit !found }'
}
started() { life comboitems "#$1" | grep -qF "<$1>"; }

# Exactly no message box anywhere on the display.
expect_no_box() {
  local boxes
  boxes=$(life boxes)
  expect_eq "no message box ($1)" "" "$boxes"
}

# The first box's handle and its text lines after waiting up to MS for it:
# sets BOX_HWND and BOX_TEXT (the Static texts, \r and \n as written).
wait_box() {
  local out
  out=$(life waitbox "$1") || fail "no message box within $1 ms"
  BOX_HWND=$(awk '/^BOX/ { print $2; exit }' <<<"$out")
  BOX_CAPTION=$(awk '/^BOX/ { $1 = $2 = $3 = ""; sub(/^ +/, ""); print; exit }' <<<"$out")
  BOX_TEXT=$(sed -n 's/^TEXT //p' <<<"$out")
}

# Screenshot of the display cropped to a window's rectangle (plus a margin).
shot_of() {  # shot_of WIN FILE
  local l t r b
  read -r l t r b < <(ctl rect "$1") || fail "no rectangle for $1"
  l=$((l < 8 ? 0 : l - 8)) t=$((t < 8 ? 0 : t - 8))
  import -window root -crop "$((r - l + 8))x$((b - t + 8))+$l+$t" +repage "$2" ||
    fail "screenshot $2"
}
