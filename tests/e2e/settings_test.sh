#!/usr/bin/env bash
# Settings and the program's life on the desktop, in the real registry and
# with real dialogs: a silent first start whose exit writes the key; a key
# lacking a value holds the start-up behind the first-run notice; the
# settings dialog from the menu by keys (letters, opacity, a Loop file from
# its file dialog, OK) and its effects on the captions, the hot keys pressed
# on the display while another window has the focus, the window's opacity
# and the registry; a command-line file run at
# once with its own send method; a further instance per further file; the
# About box; the File menu's exit saving the window position, restored at the
# next start; the Third Dawn check ending translucency. Which values load
# and how is the unit tests' (tests/settings); here each path is reached once.
source "$(dirname "$0")/lib.sh"
reset_settings
title="ZEPX settings probe"
start_probe "$title"
probe=$PROBE_TOP

# ---- a first start, then a key without one value ----------------------------------------
start_zepx
no_box || fail "a message box at the first start without the key"
ctl move "$Z" 137 91
ctl menu "$Z" fe
wait_for 15 not_running "$ZEPX_PID" || fail "File > Exit did not end zepx.exe"
expect_eq "position saved by the menu's exit" "REG_DWORD 0x89 REG_DWORD 0x5b" "$(reg_get FormLeft) $(reg_get FormTop)"
wine reg delete "$ZEPX_KEY" /v Layered /f >/dev/null 2>&1 || fail "reg delete Layered"
spawn "$ZEPX_EXE" >>"$WORK/zepx.out" 2>&1
ZEPX_PID=$SPAWNED ZEPX_CAPTION=ZEPX
ctl box 30000 >/dev/null || fail "no first-run notice"
wait_for 30 main_hwnd ZEPX || fail "no main window behind the notice"
ZEPX_HWND=$(main_hwnd ZEPX) Z="#$(main_hwnd ZEPX)"
started "$ZEPX_HWND" && fail "start-up went on while the notice was up"
expect_box 1 '一部レジストリ項目が見つかりませんでした.\r\nZEPX終了時に項目を新たに作成します.\r\nZEPXを初めて起動するときや、新バージョンを導入したときはこのメッセージが表示されます.'
wait_for 30 started "$ZEPX_HWND" || fail "start-up did not finish after the notice"
expect_eq "position restored" "137 91" "$(ctl rect "$Z" | cut -d' ' -f1,2)"
close_zepx
expect_eq "the exit completed the key" "REG_DWORD 0xff" "$(reg_get Layered)"

# ---- the settings dialog ----------------------------------------------------------------
DLG="ZEPX設定"
macro "$WORK/long waits.mcr" 1 1 Wait=30000 Wait=30000
macro "$WORK/chain.mcr" 1 1 Wait=100
start_zepx "$WORK/long waits.mcr"
xdotool mousemove $(ctl center "$Z")  # keys go to the window under the pointer
xdotool key alt+o
wait_for 10 eval '[[ -n "$(ctl tops "" | grep " #32768 ")" ]] || shown "$DLG"' || fail "Alt+O opened no menu"
xdotool key t
wait_for 10 shown "$DLG" || fail "the menu did not open the settings dialog"
form_check "$DLG" settings-general guide-settings-general
list_open() { ctl tops "" | grep -q ' ComboLBox '; }
pick_letter() {  # pick_letter N LETTER: the N-th letter list opened, the letter typed
  click "$DLG" "class:ComboBox:$1"
  wait_for 10 list_open || fail "letter list $1 did not open"
  xdotool key "${2,,}"
  wait_for 10 text_is "$DLG" "class:ComboBox:$1" "$2" || fail "letter list $1 does not show $2"
}
pick_letter 0 Q
pick_letter 1 Q
expect_box 1 "マクロ開始ホットキーとマクロ終了ホットキーを同じにすることはできません."
wait_for 10 no_box || fail "a second box after the equal letters"
pick_letter 1 W
click "$DLG" class:msctls_trackbar32:0
xdotool key Home Next Next Next
wait_for 10 eval '[[ "$(ctl alpha "$Z")" == 80 ]]' || fail "the main window's opacity is $(ctl alpha "$Z"), not 80"
echo "ok   the slider turned the main window at once: 80"
page_shows() { ctl children "$DLG" | grep -q " 1 1 .* $1"; }
page() {  # page N LABEL NAME: the first tab clicked, Right N times; the page known by a label of its own
  read -r _ _ _ _ l t _ _ < <(ctl children "$DLG" | grep ' SysTabControl32 ')
  xdotool mousemove $((l + 14)) $((t + 10)) click 1
  xdotool key Left Left Left  # from whichever tab has the focus to the first: the keys stop there
  for ((k = 0; k < $1; k++)); do xdotool key Right; done
  wait_for 10 page_shows "$2" || fail "no page $3"
  form_check "$DLG" "$3" "guide-$3"
}
page 1 "ZEP Eventが発行されたときの動作を指定します" settings-event
page 2 Loop終了時に次のマクロファイルを順番に実行します settings-loop
loop1=$(ctl children "$DLG" | awk '$9 == "Button" && $10 == "参照..." { if (n++ == 3) { print $1; exit } }')
click "#$loop1" ""
fd=$(ctl box 15000 | awk 'NR == 1 { print $1 }') || fail "the Loop 1 button opened no file dialog"
import -window root "$WORK/loop-file-dialog.png"  # Wine's own dialog: a picture, no layout check
xdotool mousemove $(ctl center "#$fd")  # keys go to the window under the pointer
xdotool type --delay 10 "$(winpath "$WORK/chain.mcr")"
xdotool key Return
wait_for 15 text_is "$DLG" class:Edit:3 "$(winpath "$WORK/chain.mcr")" || fail "Loop 1 reads \"$(ctl text "$DLG" class:Edit:3)\""
page 3 _event、SendInputでキーとテキストを送信するときの動作を指定します settings-keys
click "$DLG" text:OK
wait_for 10 hidden "$DLG" || fail "OK did not close the dialog"
expect_eq "Run and Stop captions after OK" "実行 (Ctrl+Alt+Q) 待機 (Ctrl+Alt+W)" \
  "$(ctl text "$Z" 'prefix:実行\r\n' | tr -d '\r' | paste -sd' ') $(ctl text "$Z" 'prefix:待機\r\n' | tr -d '\r' | paste -sd' ')"
# The keys pressed on the display while the probe has the focus (X's keys go
# to the window under the pointer): the old start key is an ordinary key
# now; the new start key runs without taking the focus; the new stop key
# ends the run and brings the main window forward.
xdotool mousemove "$((PROBE_CLIENT_X + 100))" "$((PROBE_CLIENT_Y + 100))"
bring_to_front "$probe" "the probe"
mark=$(probe_lines)
xdotool key ctrl+alt+s
wait_for 10 probe_got "$mark" 'KEYDOWN wp=0x53 ' || fail "Ctrl+Alt+S did not reach the focused window once Q is the start key"
mark=$(probe_lines)
xdotool key ctrl+alt+q
status=$(ctl waitstatus "$Z" 実行中 15000) || fail "Ctrl+Alt+Q did not start a run"
expect_eq "the new start key runs; the status names the new stop key" "実行中 (SendInput) - Ctrl+Alt+Wで中断できます" "${status#* }"
foreground_is "$probe" || fail "the start key took the focus"
xdotool key ctrl+alt+w
ctl waitstatus "$Z" 待機中 15000 >/dev/null || fail "Ctrl+Alt+W did not stop the run"
wait_for 10 foreground_is "$ZEPX_HWND" || fail "the stop key did not bring the main window to the front"
probe_got "$mark" 'KEYDOWN wp=0x(51|57) ' && fail "a hot key reached the focused window too"
click "$Z" text:ZEPXを終了
wait_for 15 not_running "$ZEPX_PID" || fail "zepx.exe still running after ZEPXを終了"
expect_eq "letters, opacity and Loop 1 in the registry" "REG_DWORD 0x10 REG_DWORD 0x16 REG_DWORD 0x50 REG_SZ $(winpath "$WORK/chain.mcr")" \
  "$(reg_get StartComboIndex) $(reg_get EndComboIndex) $(reg_get Layered) $(reg_get Loop1)"

# ---- a command-line file run at once, further files in further instances -----------------
reg_dword AutoRunChecked 1
reg_dword PostRadioGroupIndex 0  # _event; the file's WinMessage must win
macro "$WORK/autorun.mcr" 2 1 "[Text]~~hi|>$title <$probe>" Wait=100
macro "$WORK/second file.mcr" 1 1 Wait=222
mark=$(probe_lines)
start_zepx "$WORK/autorun.mcr" "$WORK/second file.mcr"
# Posted to the probe's frame (role "top"): the file's WinMessage, not _event.
wait_for 30 probe_got "$mark" 'top WM_CHAR wp=0x69 ' || fail "no run at start"
ctl waitstatus "$Z" 待機中 15000 >/dev/null || fail "the run at start did not end"
expect_eq "the file ran once by its own method" "top 0x68,top 0x69" "$(probe_input_since "$mark" | awk '$2 == "WM_CHAR" { print $1, $3 }' | paste -sd,)"
wait_for 30 main_hwnd "ZEPX - second file.mcr" || fail "no second instance for \"second file.mcr\""
second=$(main_hwnd "ZEPX - second file.mcr")
wait_for 30 started "$second" || fail "the second instance did not finish its start-up"
expect_eq "the second instance shows its file, in its own process" "Wait=222 2" \
  "$(ctl list "#$second") $(ctl tops ZEPX | awk '$3 == "TMainForm" { print $2 }' | sort -u | wc -l)"
ctl close "#$second"
reg_dword AutoRunChecked 0

# ---- the About box; translucency and the Third Dawn check ----------------------------------
ctl menu "$Z" hu
wait_for 10 shown ZEPXについて || fail "Help > ZEPX Information did not open the About box"
form_check ZEPXについて about
click ZEPXについて text:OK
wait_for 10 hidden ZEPXについて || fail "OK did not close the About box"
close_zepx
reg_dword Layered 180
start_zepx
expect_eq "translucent at start" "180" "$(ctl alpha "$Z")"
start_probe "UO stand-in" 0,0,100,100 "Ultima Online Third Dawn"
expect_box 1 'UO:TD起動中は半透明Windowが使用できません\r\nOKをクリックするとZEPを終了しますので\r\n再度ZEPを起動し直してください'
wait_for 15 not_running "$ZEPX_PID" || fail "OK on the Third Dawn notice did not end the program"
echo "PASS $E2E_NAME"
