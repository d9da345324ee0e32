#!/usr/bin/env bash
# A recording made with real keys and clicks (xdotool) into the probe, begun
# from the Edit menu by its keys and ended by the real stop hot key; the
# list it leaves, played back by the same send method into a fresh probe at
# the same place, gives that probe the same keys, characters and presses.
source "$(dirname "$0")/lib.sh"
reset_settings
title="ZEPX記録窓"
record_status() { ctl --wait 0 text "$Z" prefix:記録 2>/dev/null; }
status_is() { [[ "$(record_status)" == "$1" ]]; }
# What reached a probe that playback must give again: the characters, the
# key-downs of keys that type none (modifiers and letters aside), and the
# button presses at their client points.
# The probe's process ended and its window gone: a fresh one with its title
# must be the only window a title finds.
end_probe() {
  kill "$1"
  wait_for 15 eval '! ctl --wait 0 rect "#$PROBE_TOP"' || fail "the probe \"$title\" did not end"
}
received() {
  probe_since "$1" | awk '$4 ~ /BUTTONDOWN$/ { print $3, $4, $7, $8 }
    $4 == "WM_CHAR" || ($4 == "WM_KEYDOWN" && $5 !~ /^wp=0x(1[0-2]|[3-5][0-9A-F])$/) { print $3, $4, $5 }' | paste -sd','
}

for method in 1 2; do
  start_probe "$title"
  probe_pid=$SPAWNED
  DELAYS="300 300 300 50" macro "$WORK/empty$method.mcr" "$method" 1
  start_zepx "$WORK/empty$method.mcr"
  bring_to_front "$ZEPX_HWND" "the program"
  mark=$(probe_lines)
  ctl menu "$Z" er
  wait_for 10 status_is "記録中 (0行) - Ctrl+Alt+X で終了" || fail "recording did not start: $(record_status)"
  [[ $method == 2 ]] || form_check "$Z" main-recording guide-recording
  read -r ex ey < <(ctl center "#$PROBE_TOP" class:Edit)
  xdotool mousemove "$ex" "$ey" click 1   # made while the program is still in front
  wait_for 10 foreground_is "$PROBE_TOP" || fail "the click did not bring the probe forward"
  xdotool type --delay 80 "ab"
  xdotool key --delay 80 shift+c Return
  cx=$((PROBE_CLIENT_X + 200)) cy=$((PROBE_CLIENT_Y + 300))
  xdotool mousemove "$cx" "$cy" click 1
  wait_for 10 probe_got "$mark" 'top WM_LBUTTONDOWN' || fail "the second click did not reach the probe"
  xdotool key ctrl+alt+x
  wait_for 10 eval '[[ "$(record_status)" == 記録終了* ]]' || fail "the stop key did not end the recording: $(record_status)"
  echo "ok   status after the stop key: $(record_status)"
  # SendInput types a text's capitals unshifted: only WinMessage merges them.
  typed="[Text]~~ab|[C]+Shift|[Enter]"
  e="|>$title@@Edit <$PROBE_EDIT>"
  [[ $method == 1 ]] || typed="[Text]~~abC$e|[Enter]$e"
  # The pauses depend on how fast this machine is today: they are only
  # shown. Wine may activate the probe before its hook sees the press that
  # did it, and then the window comes first.
  echo "     recorded: $(ctl list "$Z" | paste -sd'|')"
  got=$(ctl list "$Z" | grep -v '^Wait=' | paste -sd'|')
  front="[ｱﾌﾟﾘを前面に]@@$title" click1="L_Click:${ex}x$ey"
  [[ $got == "$front|$click1|"* ]] && got="$click1|$front|${got#"$front|$click1|"}"
  expect_eq "recording ($method), its pauses aside" "$click1|$front|$typed|L_Click:${cx}x$cy" "$got"
  recorded=$(received "$mark")
  end_probe "$probe_pid"

  start_probe "$title"
  probe_pid=$SPAWNED
  mark=$(probe_lines)
  run_macro 60000
  expect_eq "played back into a fresh probe ($method)" "$recorded" "$(received "$mark")"
  close_zepx
  end_probe "$probe_pid"
done
echo "PASS $E2E_NAME"
