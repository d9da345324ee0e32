#!/usr/bin/env bash
# Real global hot keys, pressed on the X display while another program has
# the focus: the start key runs the loaded macro and leaves the focus where
# it is, the stop key exists only during the run, stops it and brings the
# main window to the front; letters from the registry change both keys.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings

macro="$WORK/long waits.mcr"
write_macro "$macro" <<MCR
//ZEP Version 4.51
Wait=30000
Wait=30000
$(quick_settings 1 1)
MCR
caption="ZEPX - long waits.mcr"

start_probe "ZEPX hot-key probe" 830,600,440,340
probe=$PROBE_TOP

# The probe holds the focus; keys that are not hot keys land in it. With no
# window manager the X focus is PointerRoot: xdotool's keys go to the X
# window under the pointer, so the pointer rests on the probe too.
focus_probe() {
  xdotool mousemove "$((PROBE_CLIENT_X + PROBE_CLIENT_W / 2))" "$((PROBE_CLIENT_Y + PROBE_CLIENT_H / 2))"
  bring_to_front "$probe" "the probe"
}
# probe_got MARK VK: the probe saw a key-down of VK after MARK.
probe_got() { probe_since "$1" | grep -qE "KEYDOWN wp=$2 "; }

# press_start LETTER: the start key from the probe's focus; the run must
# start (after its one-second pre-wait) without taking the focus.
# press_stop LETTER: the stop key ends the run and raises the main window.
press_start() {
  local key=${1,,} vk mark t0 status
  vk=$(printf '0x%X' "'$1")
  focus_probe
  mark=$(probe_lines)
  t0=$(now_ms)
  xdotool key "ctrl+alt+$key"
  status=$(ctl waitstatus "$caption" 実行中 10000) || fail "Ctrl+Alt+$1 did not start a run (status \"$status\")"
  echo "     Ctrl+Alt+$1 to running status: $(($(now_ms) - t0)) ms"
  RUN_STATUS=$status
  probe_got "$mark" "$vk" && fail "Ctrl+Alt+$1 reached the focused window too"
  expect_eq "focus left with the probe by the start key" "$probe" "$(foreground)"
}
press_stop() {
  local key=${1,,} vk mark t0 status
  vk=$(printf '0x%X' "'$1")
  mark=$(probe_lines)
  t0=$(now_ms)
  xdotool key "ctrl+alt+$key"
  status=$(ctl waitstatus "$caption" 待機中 10000) || fail "Ctrl+Alt+$1 did not stop the run (status \"$status\")"
  echo "     Ctrl+Alt+$1 to idle status: $(($(now_ms) - t0)) ms"
  expect_eq "idle status" "待機中" "$status"
  probe_got "$mark" "$vk" && fail "Ctrl+Alt+$1 reached the focused window during the run"
  wait_for 5 foreground_is "$ZEPX_HWND" || fail "the stop key did not bring the main window to the front (foreground: $(ctl foreground))"
  echo "ok   main window brought to the front by the stop key"
}
# The stop key is free while idle: pressed now it is an ordinary key.
expect_stop_key_free() {
  local vk mark
  vk=$(printf '0x%X' "'$1")
  focus_probe
  mark=$(probe_lines)
  xdotool key "ctrl+alt+${1,,}"
  wait_for 5 probe_got "$mark" "$vk" || fail "Ctrl+Alt+$1 while idle did not reach the focused window"
  echo "ok   Ctrl+Alt+$1 while idle is an ordinary key ($2)"
  expect_eq "still idle" "待機中" "$(ctl status "$caption")"
}

# ---- the default keys -------------------------------------------------------------------
start_zepx_as "$caption" "$(winpath "$macro")"
expect_stop_key_free X "before any run"
press_start S
expect_eq "running status names the stop key" "実行中 (SendInput) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"
press_stop X
expect_stop_key_free X "after the run"
close_zepx

# ---- letters from the registry: A starts, Z stops --------------------------------------
reg_dword StartComboIndex 0
reg_dword EndComboIndex 25
start_zepx_as "$caption" "$(winpath "$macro")"
expect_no_box "start with the letters set"
expect_eq "Run caption" "実行
(Ctrl+Alt+A)" "$(ctl text "$caption" 'prefix:実行\r\n' | tr -d '\r')"
expect_eq "Stop caption" "待機
(Ctrl+Alt+Z)" "$(ctl text "$caption" 'prefix:待機\r\n' | tr -d '\r')"
# S is nobody's key now: it reaches the probe and starts nothing.
focus_probe
mark=$(probe_lines)
xdotool key ctrl+alt+s
wait_for 5 probe_got "$mark" 0x53 || fail "Ctrl+Alt+S did not reach the focused window once A is the start key"
echo "ok   Ctrl+Alt+S is an ordinary key once A is the start key"
press_start A
expect_eq "running status names Z" "実行中 (SendInput) - Ctrl+Alt+Zで中断できます" "$RUN_STATUS"
press_stop Z
close_zepx
echo "PASS $E2E_NAME"
