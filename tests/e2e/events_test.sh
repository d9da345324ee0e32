#!/usr/bin/env bash
# The timed events on the real clock: the clock label; an event line's
# countdown dialog cancelled with a real click, its further slots waiting a
# second and stopping the run; then an event armed through its check box
# and typed fields at the next minute, which starts a run from idle.
# Only actions safe on any machine: run, stop, waits, a cancelled countdown.
source "$(dirname "$0")/lib.sh"
reset_settings
start_zepx
close_zepx  # a complete key, then the event slots as the dialog stores them
reg_dword ECom11Index 6   # event 1: マクロ実行
reg_dword ECom21Index 1   # event 2: ダイヤルアップ切断, １秒ウエイト, マクロ停止
reg_dword ECom22Index 10
reg_dword ECom23Index 7
title="ZEPX event probe"
start_probe "$title"

# ---- an event line: the countdown, cancelled; a second's wait; the run stops ----------
event_macro() { macro "$1" 2 2 "[A]|>$title <$PROBE_TOP>" Wait=300 "【ZEP Event 2】" "[B]|>$title <$PROBE_TOP>" Wait=300; }
keydowns() { probe_since "$1" | awk '$3 == "top" && $4 == "WM_KEYDOWN" { sub("wp=", "", $5); print $1, $5 }'; }
event_macro "$WORK/event_line.mcr"
start_zepx "$WORK/event_line.mcr"
before=$(date +'%H時 %M分')
clock=$(ctl children "$Z" | grep -oE '[0-9]{2}時 [0-9]{2}分 [0-9]{2}秒$' | head -n 1)
[[ $clock == "$before"* || $clock == "$(date +'%H時 %M分')"* ]] || fail "the clock label reads \"$clock\" at $(date +%T)"
echo "ok   the clock label shows the time: $clock"
mark=$(probe_lines)
ctl click "$Z" 'prefix:実行\r\n'
CUT="切断 - ZEP"
wait_for 20 shown "$CUT" || fail "the countdown dialog did not appear"
count() { ctl children "$CUT" | awk '$9 == "Static" && NF == 10 && $10 ~ /^[0-9]$/ { print $10; exit }'; }
first=$(count)
wait_for 10 eval '(($(count) < first))' || fail "the countdown does not count down from $first"
expect_eq "the line before the event line was sent" "0x41" "$(keydowns "$mark" | awk '{ print $2 }' | paste -sd' ')"
form_check "$CUT" countdown
click "$CUT" text:キャンセル
ctl waitstatus "$Z" 待機中 15000 >/dev/null || fail "the event line's slots did not stop the run"
hidden "$CUT" || fail "Cancel did not close the countdown"
expect_eq "nothing after the event line was sent" "0x41" "$(keydowns "$mark" | awk '{ print $2 }' | paste -sd' ')"
close_zepx

# ---- event 1 armed at the next minute through its fields: a run from idle ---------------
reg_dword ECom21Index 10  # event 2 (the event line): １秒ウエイト only
reg_dword ECom22Index 0
reg_dword ECom23Index 0
event_macro "$WORK/timed.mcr"
start_zepx "$WORK/timed.mcr"
now=$(date +%s)
target=$(((now / 60 + (now % 60 > 40 ? 2 : 1)) * 60))
click "$Z" "text:ZEP Event 1"
wait_for 10 checked_is "$Z" "text:ZEP Event 1" 1 || fail "the check box of event 1 was not checked"
type_field() {  # type_field NTH_EDIT_AFTER_THE_CHECK_BOX NUMBER: as a user types into a spin edit
  local h x y
  read -r h x y < <(ctl children "$Z" | awk -v n="$1" '/ Button ZEP Event 1$/ { on = 1; next }
    on && $9 == "Edit" && !--n { print $1, int(($5 + $7) / 2) - 14, int(($6 + $8) / 2); exit }')
  xdotool mousemove "$x" "$y" click 1 key End BackSpace BackSpace BackSpace
  xdotool type --delay 50 "$2"
  wait_for 10 text_is "#$h" "" "$2" || fail "the field reads $(ctl text "#$h") after typing $2"
}
type_field 1 "$((10#$(date -d "@$target" +%H)))"
type_field 2 "$((10#$(date -d "@$target" +%M)))"
place_pointer 40 1000  # the fields are left as a user leaves them
mark=$(probe_lines)
status=$(ctl waitstatus "$Z" 実行中 $(((target - $(date +%s) + 30) * 1000))) || fail "the event did not start the run"
echo "     the run started $((${status%% *} - target * 1000)) ms after the minute"
((${status%% *} >= target * 1000 - 1000)) || fail "the event started the run before its minute"
ctl waitstatus "$Z" 待機中 30000 >/dev/null || fail "the run did not end"
keys=$(keydowns "$mark")
expect_eq "both passes sent, the event line in between" "0x41 0x42 0x41 0x42" "$(awk '{ print $2 }' <<<"$keys" | paste -sd' ')"
gaps=$(awk 'NR > 1 { printf "%d ", ($1 - prev) / 1000 } { prev = $1 }' <<<"$keys")
read -r ab1 _ ab2 <<<"$gaps"
((ab1 >= 1000 && ab2 >= 1000)) || fail "gaps between the keys ${gaps}ms: no second's wait at the event line"
echo "ok   gaps between the keys (probe's clock): ${gaps}ms"
close_zepx
reset_settings  # no armed event left behind
echo "PASS $E2E_NAME"
