#!/usr/bin/env bash
# Composing a list as a user does, with real clicks and keys: a kind picked,
# fields typed into, Add clicked, a modifier box ticked, rows clicked (the
# point shown), F3 in the list, Delete on a drop line, the detached list
# beside it, the window picker over another program's edit, Ctrl+C and
# Ctrl+V of a point, the command palette; then saved through the File menu
# and its dialog, cleared, loaded again, and the same at 150 percent.
# The rules of composing and editing are the unit tests' (tests/shell,
# tests/edit); here each is reached once through the real window.
source "$(dirname "$0")/lib.sh"
reset_settings
dpi_key='HKCU\Control Panel\Desktop'
default_dpi() { wine reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1 || true; }
trap 'default_dpi; cleanup' EXIT
# Three titled windows: the start-up's application list then selects its
# third entry, the target a key line wants.
start_probe "ZEPX probe 2" 830,0,300,100
start_probe "ZEPX probe 3" 830,110,300,100
title="ZEPX Picker Probe"
start_probe "$title"
start_zepx
type_into() {  # type_into SEL TEXT: a real click into the field, its text replaced by typing
  click "$Z" "$1" 30
  xdotool key ctrl+a
  xdotool type --delay 20 "$2"
  wait_for 10 text_is "$Z" "$1" "$2" || fail "the field $1 reads \"$(ctl text "$Z" "$1")\" after typing $2"
}
kind() { ctl choose "$Z" class:ComboBox:0 "$1" || fail "kind $1 not chosen"; }
add() { click "$Z" text:ｺﾏﾝﾄﾞ追加; }

kind 0
type_into class:Edit:0 2500
add
expect_list "a wait" "Wait=2500"
click "$Z" text:Shift
wait_for 10 checked_is "$Z" text:Shift 1 || fail "a click did not tick Shift"
kind 12
add
click "$Z" text:Shift
type_into after:Edit:X: 120
type_into after:Edit:Y: 45
kind 1
add
kind 5
add
expect_list "a key with Shift, a click and a drag pair" "Wait=2500|[F5]+Shift|L_Click:120x45|L_Drag:NoSet|L_Drop:NoSet"

click "$Z" text:リスト別窓
D="#$(ctl find "ZEPX Batch処理送信リスト (5行)")" || fail "no detached list"
ctl move "$D" 830 0
form_check "$D" detached-list guide-detached-list
click_row 2
wait_for 10 text_is "$Z" after:Edit:X: 120 || fail "a clicked click line does not show its point"
click_row 3
wait_for 10 text_is "$Z" after:Edit:X: 0 || fail "a clicked drag line without a point does not show 0"
click_row 4
xdotool key F3
expect_list "F3 in the list" "Wait=2500|[F5]+Shift|L_Click:120x45|L_Drag:NoSet|L_Drop:NoSet|[F3]"
[[ "$(ctl list "$D" | paste -sd'|')" == "$(ctl list "$Z" | paste -sd'|')" ]] || fail "the detached list is not the same"
click_row 4
click "$Z" text:ｺﾏﾝﾄﾞ削除
expect_list "Delete on a drop line" "Wait=2500|[F5]+Shift|L_Click:120x45|[F3]"

# ---- the picker over the probe's edit, then the point copied and pasted --------------
click_row 3
kind 5
add
click_row 4
click "$Z" "text:マウス(ｷｰ/Text)送信先座標"
wait_for 10 text_is "$Z" text:座標指定するところをクリックして下さい 座標指定するところをクリックして下さい ||
  fail "no picker prompt"
px=$((PROBE_EDIT_X + 40)) py=$((PROBE_EDIT_Y + PROBE_EDIT_H / 2))
place_pointer "$px" "$py"
descriptor="$title@@Edit <$PROBE_EDIT>"
wait_for 10 text_is "$Z" after:ComboBox:送信先: "$descriptor" || fail "the target field does not follow the pointer"
xdotool click 1
expect_list "the pick" "Wait=2500|[F5]+Shift|L_Click:120x45|[F3]|L_Drag:${px}x${py}|L_Drop:NoSet"
click_row 4
xdotool key ctrl+c
click_row 2
xdotool key ctrl+v
list="Wait=2500|[F5]+Shift|L_Click:${px}x${py}|[F3]|L_Drag:${px}x${py}|L_Drop:NoSet"
expect_list "Ctrl+C and Ctrl+V" "$list"

# ---- the palette: opened by its button, its buttons pick in the main window -----------
PAL="ZEPX コマンド入力フォーム"
click "$Z" text:コマンド入力
wait_for 10 shown "$PAL" || fail "the palette button did not open the palette"
ctl move "$PAL" 570 470
form_check "$PAL" palette guide-palette
click "$PAL" "text:[F5]"
wait_for 10 text_is "$Z" class:ComboBox:0 "[F5]" || fail "the palette's [F5] did not pick [F5] in the main window"
click "$PAL" class:msctls_trackbar32:0 40
xdotool key Home
wait_for 10 eval '[[ "$(ctl alpha "$PAL")" == 100 ]]' || fail "Home on the palette's slider: alpha $(ctl alpha "$PAL")"
echo "ok   the palette's slider turns its window"
click "$PAL" text:ボタンをクリックすると同時にコマンド追加
wait_for 10 checked_is "$PAL" text:ボタンをクリックすると同時にコマンド追加 1 || fail "auto-add not ticked"
click_row 5
click "$PAL" "text:[F12]"
list="$list|[F12]"
expect_list "a palette button with auto-add" "$list"
ctl close "$PAL"

# ---- saved through the File menu, cleared, loaded -------------------------------------
saved="$WORK/composed.mcr"
file_dialog() {  # file_dialog KEYS PATH: the dialog of that menu item, a path typed
  ctl menu "$Z" "$1"
  local h
  h=$(ctl box 15000 | awk 'NR == 1 { print $1 }') || fail "the menu $1 opened no dialog"
  xdotool mousemove $(ctl center "#$h")  # keys go to the window under the pointer
  xdotool type --delay 10 "$(winpath "$2")"
  xdotool key Return
}
file_dialog fs "$saved"
wait_for 15 text_is "$Z" "" "ZEPX - composed.mcr" || fail "saving did not name the file"
expect_eq "the file holds the list" "$list" "$(iconv -f CP932 -t UTF-8 "$saved" | tr -d '\r' | sed '1d' | head -n -6 | paste -sd'|')"
click "$Z" text:クリア
expect_box 6 "全ての行を削除します。よろしいですか？"
expect_list "Clear" ""
file_dialog fl "$saved"
expect_list "loading it again" "$list"
form_check "$Z" main-100 guide-main
click "$Z" text:WinMessage  # a send-method radio button: the question, cancelled
expect_box 2 '_event、SendInputからWinMessageに変更するには、Batch処理送信リストをクリアする必要があります\r\nクリアしてもよろしいですか？'
wait_for 10 checked_is "$Z" "text:SendInput(DirectX)" 1 && list_is "$list" || fail "Cancel did not keep SendInput and the list"
close_zepx

wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 || fail "could not set 150 percent"
start_zepx "$saved"
expect_list "the file at 150 percent" "$list"
form_check "$Z" main-150
close_zepx
echo "PASS $E2E_NAME"
