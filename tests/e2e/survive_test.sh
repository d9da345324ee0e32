#!/usr/bin/env bash
# Macros that outlast a changed desktop, with real windows: a click bound to
# the probe's client area by a pick with "ウインドウ基準の座標" lands at the
# same client point after the probe moved; a wait for a window the script
# opens two seconds into the run ends when it opens; a wait for a window that
# never opens stops the run at its deadline with its status; with
# "テキストをそのまま送信" on, text by SendInput arrives exactly as written.
# Lookup, covered and missing windows, scaling and polling are the unit
# tests' (tests/run); here each is reached once on the real system.
source "$(dirname "$0")/lib.sh"
reset_settings
title="ZEPX bound probe"
start_probe "$title"
probe=$PROBE_TOP
start_zepx

# ---- a pick bound to the probe, the probe moved, the click still at its point ----------
BOX=text:ウインドウ基準の座標
click "$Z" "$BOX"
wait_for 10 checked_is "$Z" "$BOX" 1 || fail "a click did not tick $BOX"
ctl choose "$Z" class:ComboBox:0 1 || fail "L_Click not chosen"
click "$Z" "text:マウス(ｷｰ/Text)送信先座標"
wait_for 10 text_is "$Z" text:座標指定するところをクリックして下さい 座標指定するところをクリックして下さい || fail "no picker prompt"
place_pointer "$((PROBE_CLIENT_X + 200))" "$((PROBE_CLIENT_Y + 150))"
xdotool click 1
wait_for 10 text_is "$Z" after:Edit:X: 200 || fail "the X box reads \"$(ctl text "$Z" after:Edit:X:)\" after the pick, not the client 200"
click "$Z" text:ｺﾏﾝﾄﾞ追加
expect_list "a click bound to the probe" "Win:LClick:200x150|$title@@ZepxProbe <$probe>"
click "$Z" after:Edit:指定Loop数: 30
xdotool key ctrl+a type 1
wait_for 10 text_is "$Z" after:Edit:指定Loop数: 1 || fail "one pass not set"
ctl move "#$probe" 120 80  # under the program's window: the run must bring it forward
mark=$(probe_lines)
run_macro 30000
expect_eq "the bound click at the client point of the moved probe" "WM_LBUTTONDOWN x=200 y=150,WM_LBUTTONUP x=200 y=150" \
  "$(probe_since "$mark" | awk '$4 ~ /BUTTON/ { print $4, $7, $8 }' | paste -sd',')"
close_zepx

# ---- waits for a late window and one that never opens; text exactly as written ---------
reg_dword UnicodeTextChecked 1
late="ZEPX late window"
text="Hello! こんにちは"
macro "$WORK/waits.mcr" 1 1 "WaitWindow:Open,30000,Stop|$late" "[ｱﾌﾟﾘを前面に]@@$late" "[Text]~~$text" \
  "WaitWindow:Open,1500,Stop|ZEPX never" "[Text]~~after"
start_zepx "$WORK/waits.mcr"
click "$Z" 'prefix:実行\r\n'
ctl waitstatus "$Z" "「$late」の出現待ち" 15000 >/dev/null || fail "the run did not wait for $late"
form_check "$Z" waiting
sleep 2  # the window opens two seconds into the wait, as a slow program's would
start_probe "$late"
status=$(ctl waitstatus "$Z" 時間切れで停止 30000) || fail "the run did not stop at the deadline: $status"
expect_eq "the wait for a window that never opens stopped the run" "時間切れで停止: 「ZEPX never」の出現待ち (1500ms)" "${status#* }"
expect_eq "the text typed once the late window opened, and nothing after the stop" "$(utf16_units "$text")" \
  "$(probe_input_since 0 | awk '$1 == "edit" && $2 == "WM_CHAR" { print $3 }' | paste -sd' ')"
expect_eq "the line of that wait stays selected" 3 "$(ctl selected "$Z")"
close_zepx
echo "PASS $E2E_NAME"
