#!/usr/bin/env bash
# The timed events in the real program. The clock label shows the time; an
# event line of a run opens the dial-up countdown, which is cancelled with a
# real click, then waits a second and stops the run; an event armed
# through the real hour and minute fields and its check box, at the next
# minute of the clock the test reads, starts a run from idle, and the event
# line in that run waits its second and lets the run go on.
#
# Only actions that are safe on any machine are configured: run, stop, the
# waits, and a countdown that is cancelled before it could count the
# connections. No power, shutdown or file action runs.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings
t_script=$(now_ms)

# ---- helpers --------------------------------------------------------------------

# The clock label's text, "hh時 mm分 ss秒".
clock_text() {
  ctl children "$ZEPX_CAPTION" |
    sed -n 's/.* class=Static text=\([0-9][0-9]時 [0-9][0-9]分 [0-9][0-9]秒\)$/\1/p' | head -n 1
}

# The clock label against the system clock: it ticks every second, so it
# may show the second before.
check_clock() {
  local before shown after t ok=
  before=$(date +%s)
  shown=$(clock_text)
  after=$(date +%s)
  for ((t = before - 1; t <= after; t++)); do
    [[ "$shown" == "$(date -d "@$t" +'%H時 %M分 %S秒')" ]] && ok=1
  done
  [[ -n $ok ]] || fail "the clock shows \"$shown\", the system clock $(date -d "@$before" +%T)..$(date -d "@$after" +%T)"
  echo "ok   the clock label shows the time: $shown"
}

# "handle en x y" of a child line of `ctl children`: its handle, enabled
# state and the centre of its rectangle.
child_centre() {
  sed -E 's/^([0-9]+) id=[-0-9]+ vis=[01] en=([01]) rect=([-0-9]+),([-0-9]+),([-0-9]+),([-0-9]+) .*/\1 \2 \3 \4 \5 \6/' |
    awk '{ print $1, $2, int(($3 + $5) / 2), int(($4 + $6) / 2) }'
}

# The check box of event 1 and the two edit fields after it (hour, minute):
# sets CHECK, HOUR and MINUTE to "handle en x y".
find_event1_controls() {
  local kids
  kids=$(ctl children "$ZEPX_CAPTION")
  CHECK=$(grep -m1 ' class=Button text=ZEP Event 1$' <<<"$kids" | child_centre)
  local after
  after=$(awk '/ class=Button text=ZEP Event 1$/ { on = 1; next } on && / class=Edit / { print }' <<<"$kids")
  HOUR=$(sed -n 1p <<<"$after" | child_centre)
  MINUTE=$(sed -n 2p <<<"$after" | child_centre)
  [[ -n $CHECK && -n $HOUR && -n $MINUTE ]] || fail "event 1's check box and time fields not found"
}

child_text() { ctl children "$ZEPX_CAPTION" | awk -v h="$1" '$1 == h { sub(/.* text=/, ""); print }'; }

# Types a number into a spin edit as a user does: a click into its text
# (left of the up/down button), End, the old digits deleted, the new typed.
type_into() {  # type_into "handle en x y" NUMBER
  local h en x y
  read -r h en x y <<<"$1"
  xdotool mousemove "$((x - 14))" "$y" click 1
  sleep 0.3
  xdotool key End BackSpace BackSpace BackSpace
  xdotool type --delay 80 "$2"
  sleep 0.3
}

cut_visible() { [[ -n "$(life tops '切断 - ZEP')" ]]; }
cut_hidden() { ! cut_visible; }

# Key-downs the probe got after line MARK: "qpc_us vk" per line.
keydowns_since() {
  probe_since "$1" | awk '$3 == "top" && $4 == "WM_KEYDOWN" { sub("wp=", "", $5); print $1, $5 }'
}

# ---- a complete settings key, then the action slots ------------------------------
# The program writes every value at its close; the slots are then set in the
# registry, as the settings dialog would store them.
start_zepx_as "ZEPX"
close_zepx
reg_dword ECom11Index 6   # event 1: マクロ実行
reg_dword ECom21Index 1   # event 2: ダイヤルアップ切断
reg_dword ECom22Index 10  #          １秒ウエイト
reg_dword ECom23Index 7   #          マクロ停止

title="ZEPX Event Probe"
start_probe "$title" 830,600,440,340
top=$PROBE_TOP

# ---- an event line inside a run: countdown cancelled, a second's wait, stop -------
# Two passes of [A], a wait, the event line of event 2, [B] and a wait, at
# the probe: write_event_macro PATH
write_event_macro() {
  write_macro "$1" <<MCR
//ZEP Version 4.51
[A]|>$title <$top>
Wait=300
【ZEP Event 2】
[B]|>$title <$top>
Wait=300
$(quick_settings 2 2)
MCR
}

macro="$WORK/event_line.mcr"
write_event_macro "$macro"
start_zepx "$macro"
check_clock
find_event1_controls
read -r _ en _ _ <<<"$HOUR"
expect_eq "event 1's hour field disabled while its check box is off" "0" "$en"

mark=$(probe_lines)
ctl click "$ZEPX_CAPTION" 'prefix:実行' || fail "no Run button"
wait_for 15 cut_visible || fail "the countdown dialog did not appear"
cut=$(life tops '切断 - ZEP' | awk '{ print $1; exit }')
kids=$(ctl children "#$cut")
count1=$(awk '/ class=Static text=[0-9]$/ { sub(/.* text=/, ""); print; exit }' <<<"$kids")
expect_eq "countdown text" "あと|秒でダイヤルアップネットワークは自動切断されます." \
  "$(awk '/ class=Static text=/ && !/ text=[0-9]$/ { sub(/.* text=/, ""); print }' <<<"$kids" | paste -sd'|')"
expect_eq "countdown buttons" "切断|キャンセル" \
  "$(awk '/ class=Button / { sub(/.* text=/, ""); print }' <<<"$kids" | paste -sd'|')"
shot_of "#$cut" "$WORK/countdown.png"
sleep 1.2
count2=$(ctl children "#$cut" | awk '/ class=Static text=[0-9]$/ { sub(/.* text=/, ""); print; exit }')
((count2 < count1 && count1 <= 9)) || fail "the countdown did not count down ($count1, then $count2)"
echo "ok   the countdown counts: $count1, then $count2"
status=$(ctl status "$ZEPX_CAPTION")
expect_eq "the run goes on under the countdown" "実行中" "${status%% *}"
expect_eq "the line before the event line was sent" "0x41" "$(keydowns_since "$mark" | awk '{ print $2 }' | paste -sd' ')"

cancel=$(grep -m1 ' class=Button text=キャンセル$' <<<"$kids" | child_centre)
read -r _ _ cx cy <<<"$cancel"
cut_visible || fail "the countdown ended before Cancel"
xdotool mousemove "$cx" "$cy" click 1
# The second's wait is timed in the run below, where the probe's clock
# shows it; here the tools' own start-up would hide it.
ctl waitstatus "$ZEPX_CAPTION" 待機中 10000 >/dev/null || fail "the event line did not stop the run"
echo "ok   Cancel closed the countdown and the event line's next slots stopped the run"
cut_visible && fail "Cancel did not close the countdown"
sleep 0.5
expect_eq "nothing after the event line was sent" "0x41" "$(keydowns_since "$mark" | awk '{ print $2 }' | paste -sd' ')"
close_zepx

# ---- an event armed through the fields at the next minute: a run from idle ----------
reg_dword ECom21Index 10  # event 2 (the event line): １秒ウエイト only
reg_dword ECom22Index 0
reg_dword ECom23Index 0
macro="$WORK/timed.mcr"
write_event_macro "$macro"
start_zepx "$macro"
check_clock

# The next minute by the program's clock, with at least 20 s to arm it.
now=$(clock_text)
h=$((10#${now:0:2})) m=$((10#${now:4:2})) s=$((10#${now:8:2}))
ahead=$((s > 40 ? 2 : 1))
target=$(((h * 60 + m + ahead) % 1440))
th=$((target / 60)) tm=$((target % 60))
wait_s=$(((target * 60 - (h * 3600 + m * 60 + s) + 86400) % 86400))
t_read=$(now_ms)
echo "     clock $now: event 1 armed for $(printf '%02d:%02d' "$th" "$tm"), ${wait_s} s ahead"

find_event1_controls
read -r _ _ x y <<<"$CHECK"
xdotool mousemove "$x" "$y" click 1
wait_for 5 test "$(ctl getcheck "$ZEPX_CAPTION" 'text:ZEP Event 1')" = 1 || fail "the check box was not checked"
find_event1_controls
read -r hour_h en _ _ <<<"$HOUR"
expect_eq "event 1's hour field enabled by its check box" "1" "$en"
type_into "$HOUR" "$th"
type_into "$MINUTE" "$tm"
read -r minute_h _ _ _ <<<"$MINUTE"
expect_eq "hour and minute typed" "$th $tm" "$(child_text "$hour_h") $(child_text "$minute_h")"
# Focus away from the fields, so that they are left as a user leaves them.
place_pointer 40 1000

mark=$(probe_lines)
left_ms=$((wait_s * 1000 - ($(now_ms) - t_read) - 2000))
((left_ms > 0)) && sleep "$((left_ms / 1000)).$(printf '%03d' $((left_ms % 1000)))"
expect_eq "idle until the minute" "待機中" "$(ctl status "$ZEPX_CAPTION")"
expect_eq "nothing sent before the minute" "" "$(keydowns_since "$mark")"
ctl waitstatus "$ZEPX_CAPTION" 実行中 15000 >/dev/null || fail "the event did not start the run"
started_ms=$(($(now_ms) - t_read - wait_s * 1000))
echo "     the run started ${started_ms} ms into the minute, as far as the clock read tells (within a second)"
((started_ms > -1000 && started_ms < 6000)) || fail "the run started ${started_ms} ms after the minute"
ctl waitstatus "$ZEPX_CAPTION" 待機中 30000 >/dev/null || fail "the run did not end"
keys=$(keydowns_since "$mark")
expect_eq "both passes sent, the event line in between" "0x41 0x42 0x41 0x42" "$(awk '{ print $2 }' <<<"$keys" | paste -sd' ')"
# The event line's second blocks between A and B; B to the next A is only
# the 300 ms wait.
gaps=$(awk 'NR > 1 { printf "%d ", ($1 - prev) / 1000 } { prev = $1 }' <<<"$keys")
read -r ab1 ba ab2 <<<"$gaps"
((ab1 >= 1250 && ab2 >= 1250 && ba < 1000)) || fail "gaps between the keys ${gaps}ms: no blocking second at the event line"
echo "ok   gaps between the keys: ${gaps}ms"
check_clock
shot_of "$ZEPX_CAPTION" "$WORK/main_clock.png"
close_zepx
reset_settings  # no armed event left behind for the next script
echo "     events test took $((($(now_ms) - t_script) / 1000)) s"
