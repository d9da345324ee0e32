#!/usr/bin/env bash
# A macro file run by each send method into the probe: real keys, text,
# clicks and a drag arrive through keybd_event/mouse_event and SendInput at
# the window a front-app line brought forward; by WinMessage they are posted
# to a window in the background, Japanese text as its characters, a stale
# handle looked up again by title, and the passes repeat.
source "$(dirname "$0")/lib.sh"
reset_settings
title="ZEPXテスト窓"
start_probe "$title"
screen() { echo "$((PROBE_CLIENT_X + $1))x$((PROBE_CLIENT_Y + $2))"; }
names=(_event SendInput WinMessage)

for method in 0 1; do
  macro "$WORK/inject$method.mcr" "$method" 1 "[ｱﾌﾟﾘを前面に]@@$title" "[A]" "[A]+Shift" "[Text]~~Ab!" \
    "L_Click:$(screen 200 150)" "L_Drag:$(screen 60 200)" "L_Drop:$(screen 300 230)"
  start_zepx "$WORK/inject$method.mcr"
  expect_list "loading the file" "[ｱﾌﾟﾘを前面に]@@$title|[A]|[A]+Shift|[Text]~~Ab!|L_Click:$(screen 200 150)|L_Drag:$(screen 60 200)|L_Drop:$(screen 300 230)"
  probe_clear
  bring_to_front "$ZEPX_HWND" "the program"  # the front-app line must bring the probe forward
  mark=$(probe_lines)
  run_macro 30000
  expect_eq "running status" "実行中 (${names[$method]}) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"
  probe_got "$mark" 'top WM_ACTIVATE wp=0x[1-9]' || fail "the front-app line did not activate the probe"
  expect_eq "${names[$method]}: keys and text typed into the focused edit" \
    "0x61 0x41 0x61 0x62 0x31" "$(probe_input_since "$mark" | awk '$1 == "edit" && $2 == "WM_CHAR" { print $3 }' | paste -sd' ')"
  expect_eq "${names[$method]}: click, drag and drop at their points" \
    "WM_LBUTTONDOWN x=200 y=150,WM_LBUTTONUP x=200 y=150,WM_LBUTTONDOWN x=60 y=200,WM_LBUTTONUP x=300 y=230" \
    "$(probe_since "$mark" | awk '$4 ~ /BUTTON/ { print $4, $7, $8 }' | paste -sd',')"
  close_zepx
done

# WinMessage: two passes posted to the probe while another window keeps the
# focus; the line aimed at a handle that no longer exists finds the probe
# by its title (AutoHandle, checked by default).
start_probe "ZEPX Other" 830,100,300,200
other=$PROBE_TOP
source "$WORK/probe0.info"
PROBE_LOG="$WORK/probe0.log"
japanese="日本語のテキスト"
macro "$WORK/post.mcr" 2 2 "[Text]~~Ab|>$title <$PROBE_TOP>" "[Enter]|>$title <$PROBE_TOP>" \
  "[Text]~~$japanese|>$title@@Edit <$PROBE_EDIT>" "[Text]~~S|>$title <99999>" \
  "L_Click:$(screen 200 150)" "R_DClick:$(screen 120 250)"
start_zepx "$WORK/post.mcr"
bring_to_front "$other" "the other window"
mark=$(probe_lines)
run_macro 30000
expect_eq "running status" "実行中 (WinMessage) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"
foreground_is "$other" || fail "posting took the focus from the other window"
pass="WM_CHAR 0x41,WM_CHAR 0x62,WM_KEYDOWN 0xD,WM_CHAR 0x53"
expect_eq "keys posted to the frame, twice, the stale handle found again" "$pass,$pass" \
  "$(probe_input_since "$mark" | awk '$1 == "top" && $2 ~ /^WM_(KEY|CHAR)/ { print $2, $3 }' | paste -sd',')"
units=$(utf16_units "$japanese")
expect_eq "Japanese text as UTF-16 characters to the edit (title@@class target)" "$units $units" \
  "$(probe_input_since "$mark" | awk '$1 == "edit" && $2 == "WM_CHAR" { print $3 }' | paste -sd' ')"
clicks="WM_LBUTTONDOWN x=200 y=150,WM_LBUTTONUP x=200 y=150,WM_RBUTTONDOWN x=120 y=250,WM_RBUTTONUP x=120 y=250,WM_RBUTTONDBLCLK x=120 y=250,WM_RBUTTONUP x=120 y=250"
expect_eq "mouse messages posted at the client points" "$clicks,$clicks" \
  "$(probe_since "$mark" | awk '$4 ~ /BUTTON/ { print $4, $7, $8 }' | paste -sd',')"
expect_eq "passes shown" "2" "$(ctl passes "$Z")"
close_zepx
echo "PASS $E2E_NAME"
