#!/usr/bin/env bash
# Keys, text, clicks, a drag and a front-app line through the injected-input
# methods (_event 0, SendInput 1), in the real program, against the probe.
source "$(dirname "$0")/lib.sh"
reset_settings

title="ZEPXテスト窓"
start_probe "$title" 760,560,440,340
# Points in the probe's client area below its edit strip: (client x, y).
click=(200 150)
drag_from=(60 200)
drag_to=(300 230)
screen() { echo "$((PROBE_CLIENT_X + $1))x$((PROBE_CLIENT_Y + $2))"; }

for method in 0 1; do
  name=(_event SendInput)
  echo "---- method $method (${name[$method]})"
  macro="$WORK/event$method.mcr"
  write_macro "$macro" <<MCR
//ZEP Version 4.51
[ｱﾌﾟﾘを前面に]@@$title
[A]
[A]+Shift
[Text]~~Ab!
L_Click:$(screen "${click[@]}")
L_Drag:$(screen "${drag_from[@]}")
L_Drop:$(screen "${drag_to[@]}")
Key:100
Click:100
Drag:200
SftAltCtl:50
Loop:1
SendAPI:$method
MCR
  probe_clear
  start_zepx "$macro"

  # The probe must not be in front before the run: the front-app line has
  # to bring it there.
  ctl activate "$ZEPX_CAPTION"
  wait_for 5 foreground_is_not "$PROBE_TOP" || fail "could not put the program in front of the probe"
  xdotool mousemove 40 1000
  pointer_before=$(pointer)
  mark=$(probe_lines)

  run_macro 30000
  expect_eq "running status" "実行中 (${name[$method]}) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"
  echo "     run took ${RUN_MS} ms"

  activated=$(probe_since "$mark" | awk '$3=="top" && $4=="WM_ACTIVATE" && $5!="wp=0x0"' | wc -l)
  ((activated >= 1)) || fail "the front-app line did not activate the probe"
  echo "ok   front-app line activated the probe"

  expect_eq "edit text ([A], [A]+Shift, [Text]~~Ab!)" "aAab1" "$(probe_text)"
  chars=$(probe_input_since "$mark" | awk '$2=="WM_CHAR" {print $1, $3}' | paste -sd' ')
  expect_eq "WM_CHAR to the edit" "edit 0x61 edit 0x41 edit 0x61 edit 0x62 edit 0x31" "$chars"
  shift_downs=$(probe_input_since "$mark" | awk '$2=="WM_KEYDOWN" && $3=="0x10"' | wc -l)
  expect_eq "Shift pressed once ([A]+Shift)" "1" "$shift_downs"

  buttons=$(probe_since "$mark" | awk '$4 ~ /BUTTON/ {print $3, $4, $7, $8}' | paste -sd',')
  expect_eq "button messages (click, drag, drop)" \
    "top WM_LBUTTONDOWN x=${click[0]} y=${click[1]},top WM_LBUTTONUP x=${click[0]} y=${click[1]},top WM_LBUTTONDOWN x=${drag_from[0]} y=${drag_from[1]},top WM_LBUTTONUP x=${drag_to[0]} y=${drag_to[1]}" \
    "$buttons"
  expect_eq "pointer back where it was" "$pointer_before" "$(pointer)"

  close_zepx
done
echo "PASS $E2E_NAME"
