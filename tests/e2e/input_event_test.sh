#!/usr/bin/env bash
# Keys, text, clicks, a drag and a front-app line through the injected-input
# methods (_event 0, SendInput 1), in the real program, against the probe.
source "$(dirname "$0")/lib.sh"
reset_settings

title="ZEPXテスト窓"
start_probe "$title" 830,600,440,340
# Points in the probe's client area below its edit strip: (client x, y).
click=(200 150)
drag_from=(60 200)
drag_to=(300 230)
screen() { echo "$((PROBE_CLIENT_X + $1))x$((PROBE_CLIENT_Y + $2))"; }

# A run of macro lines against the probe: run_lines NAME METHOD LINES...
# Sets MARK and POINTER_BEFORE (see run_marked).
run_lines() {
  local name=$1 method=$2
  shift 2
  local macro="$WORK/$name.mcr"
  { printf '%s\n' "//ZEP Version 4.51" "$@"; quick_settings 1 "$method"; } | write_macro "$macro"
  start_zepx "$macro"
  # The probe must not be in front before the run: a front-app line has to
  # bring it there.
  ctl activate "$ZEPX_CAPTION"
  wait_for 5 foreground_is_not "$PROBE_TOP" || fail "could not put the program in front of the probe"
  run_marked 30000
  echo "     $name: run took ${RUN_MS} ms"
}

names=(_event SendInput)
for method in 0 1; do
  echo "---- method $method (${names[$method]})"
  probe_clear
  trace="$WORK/keys$method-cursor.trace"
  ZEPX_CURSOR_TRACE=$trace run_lines "keys$method" "$method" "[ｱﾌﾟﾘを前面に]@@$title" "[A]" "[A]+Shift" "[Text]~~Ab!" \
    "L_Click:$(screen "${click[@]}")"
  expect_eq "running status" "実行中 (${names[$method]}) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"

  activated=$(probe_since "$MARK" | awk '$3=="top" && $4=="WM_ACTIVATE" && $5!="wp=0x0"' | wc -l)
  ((activated >= 1)) || fail "the front-app line did not activate the probe"
  echo "ok   front-app line activated the probe"

  expect_eq "edit text ([A], [A]+Shift, [Text]~~Ab!)" "aAab1" "$(probe_text)"
  chars=$(probe_input_since "$MARK" | awk '$2=="WM_CHAR" {print $1, $3}' | paste -sd' ')
  expect_eq "WM_CHAR to the edit" "edit 0x61 edit 0x41 edit 0x61 edit 0x62 edit 0x31" "$chars"
  shift_downs=$(probe_input_since "$MARK" | awk '$2=="WM_KEYDOWN" && $3=="0x10"' | wc -l)
  expect_eq "Shift pressed once ([A]+Shift)" "1" "$shift_downs"
  buttons=$(probe_since "$MARK" | awk '$4 ~ /BUTTON/ {print $3, $4, $7, $8}' | paste -sd',')
  expect_eq "click" \
    "top WM_LBUTTONDOWN x=${click[0]} y=${click[1]},top WM_LBUTTONUP x=${click[0]} y=${click[1]}" \
    "$buttons"
  # What the program did with the cursor, from Wine's own record of its
  # moves: to the click point, then back to where it was. Where the pointer
  # rests afterwards is Wine's business: the clicked program can report the
  # point late and drag Wine's idea of the cursor back there (see
  # report_pointer in lib.sh), so it is shown, not judged.
  expect_eq "cursor moved to the click and back (Wine's trace of the program)" \
    "$((PROBE_CLIENT_X + click[0])),$((PROBE_CLIENT_Y + click[1])) ${POINTER_BEFORE/ /,}" \
    "$(cursor_warps "$trace" | paste -sd' ')"
  report_pointer "$POINTER_BEFORE"
  close_zepx

  # The pair presses at the drag point and releases at the drop point.
  run_lines "drag$method" "$method" "[ｱﾌﾟﾘを前面に]@@$title" \
    "L_Drag:$(screen "${drag_from[@]}")" "L_Drop:$(screen "${drag_to[@]}")"
  buttons=$(probe_since "$MARK" | awk '$4 ~ /BUTTON/ {print $3, $4, $7, $8}' | paste -sd',')
  expect_eq "drag and drop" \
    "top WM_LBUTTONDOWN x=${drag_from[0]} y=${drag_from[1]},top WM_LBUTTONUP x=${drag_to[0]} y=${drag_to[1]}" \
    "$buttons"
  report_pointer "$POINTER_BEFORE"
  close_zepx
done
echo "PASS $E2E_NAME"
