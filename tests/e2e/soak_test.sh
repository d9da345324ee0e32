#!/usr/bin/env bash
# Soak: 10,000 passes of a mixed list posted by WinMessage to a probe. Every
# message must arrive; the program's memory and open descriptors, sampled
# every 1,000 passes, must stay flat; afterwards Stop (a real click) and the
# stop hot key (a real key press) still end a run. How fast they do is a
# figure for a quiet machine: printed here, not judged.
source "$(dirname "$0")/lib.sh"
reset_settings
PASSES=${SOAK_PASSES:-10000}
title="ZEPX Soak Probe"
start_probe "$title"
# The probe's frame logs and drops what arrives: an edit would slow down as it filled.
write_soak_macro "$WORK/soak.mcr" "$title" "$PROBE_TOP" "$PASSES"
start_zepx "$WORK/soak.mcr"
mark=$(probe_lines)
# What Linux knows of the Wine process (Wine 8 answers 0 for another
# process's memory): anonymous resident memory and open descriptors.
sample() { echo "$(awk '/^RssAnon/ { print $2 }' "/proc/$ZEPX_PID/status") $(ls "/proc/$ZEPX_PID/fd" | wc -l)"; }
ctl click "$Z" 'prefix:実行\r\n'
ctl waitstatus "$Z" 実行中 15000 >/dev/null || fail "the soak run did not start"
# The passes are counted in the probe's log (one Space a pass), so that no
# helper process is started while the program is busy.
kb=() fds=() next=1000 t0=$SECONDS
while :; do
  passes=$(probe_since "$mark" | grep -c 'WM_KEYDOWN wp=0x20 ' || true)
  if ((passes >= next)); then
    read -r k f < <(sample)
    kb+=("$k") fds+=("$f")
    echo "     pass $passes: RssAnon $k KiB, $f descriptors ($((SECONDS - t0)) s)"
    next=$(((passes / 1000 + 1) * 1000))
  fi
  ((passes < PASSES)) || break
  ((SECONDS - t0 < 900)) || fail "$passes of $PASSES passes after 15 minutes"
  sleep 1
done
ctl waitstatus "$Z" 待機中 30000 >/dev/null || fail "not idle after the passes"
expect_eq "passes shown" "$PASSES" "$(ctl passes "$Z")"
count() { probe_since "$mark" | awk -v m="$1" -v w="wp=$2" '$3 == "top" && $4 == m && $5 == w' | wc -l; }
expect_eq "messages received (a, b, Enter, Space)" "$PASSES $PASSES $PASSES $PASSES" \
  "$(count WM_CHAR 0x61) $(count WM_CHAR 0x62) $(count WM_KEYDOWN 0xD) $(count WM_KEYDOWN 0x20)"
# Flat: the last sample against the first after warm-up; a leak of one
# descriptor or one page a pass would be 10,000 of them.
((fds[-1] <= ${fds[1]:-${fds[0]}} + 20)) || fail "open descriptors grew from ${fds[1]:-${fds[0]}} to ${fds[-1]}"
((kb[-1] <= ${kb[1]:-${kb[0]}} + 2048)) || fail "memory grew from ${kb[1]:-${kb[0]}} KiB to ${kb[-1]} KiB"
echo "ok   descriptors ${fds[1]:-${fds[0]}} -> ${fds[-1]}, memory ${kb[1]:-${kb[0]}} -> ${kb[-1]} KiB"

stop_by() {  # stop_by button|hotkey: an endless-enough run ended by a real click or key
  ctl click "$Z" 'prefix:実行\r\n'
  ctl waitstatus "$Z" 実行中 15000 >/dev/null || fail "the run after the soak did not start"
  ctl waitstatus "$Z" 待機中 30000 >"$WORK/idle.$1" &
  local watcher=$! pressed
  pressed=$(date +%s%3N)
  if [[ $1 == button ]]; then click "$Z" 'prefix:待機\r\n'; else xdotool key --clearmodifiers ctrl+alt+x; fi
  wait "$watcher" || fail "the $1 did not stop the run"
  echo "ok   stopped by the $1 (idle seen $(($(cut -d' ' -f1 "$WORK/idle.$1") - pressed)) ms after it)"
}
stop_by button
stop_by hotkey
close_zepx
echo "PASS $E2E_NAME"
