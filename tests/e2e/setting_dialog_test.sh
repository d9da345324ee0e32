#!/usr/bin/env bash
# The settings dialog, driven with the pointer and the keyboard: opened from
# the menu on its first page and from the timer group's button on the
# "ZEP Event" page; a hot-key letter, the opacity, an event slot and a Loop
# file changed and confirmed, and the effects read back from the main window
# (Run and Stop captions, the hot keys pressed on the display, the window's
# opacity); a second round cancelled, which keeps only the letter, the
# opacity and nothing else; and the registry after the exit.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings
t_start=$(now_ms)

macro="$WORK/long waits.mcr"
write_macro "$macro" <<MCR
//ZEP Version 4.51
Wait=30000
Wait=30000
$(quick_settings 1 1)
MCR
chain="$WORK/chain.mcr"
write_macro "$chain" <<MCR
//ZEP Version 4.51
Wait=100
$(quick_settings 1 1)
MCR
caption="ZEPX - long waits.mcr"
DLG="ZEPX設定"

# ---- pointing at controls ------------------------------------------------------------

# child_rect WIN CLASS TEXT [N]: "l t r b" of the N-th child (from 0) of that
# class whose text is TEXT ("*" for any text).
child_rect() {
  ctl children "$1" | awk -v cls="$2" -v txt="$3" -v n="${4:-0}" '
    { match($0, / class=[^ ]+/); c = substr($0, RSTART + 7, RLENGTH - 7)
      t = substr($0, index($0, " text=") + 6)
      if (c != cls || (txt != "*" && t != txt)) next
      if (n-- > 0) next
      match($0, /rect=[-0-9]+,[-0-9]+,[-0-9]+,[-0-9]+/)
      split(substr($0, RSTART + 5, RLENGTH - 5), r, ",")
      print r[1], r[2], r[3], r[4]; found = 1; exit }
    END { exit !found }'
}
# click_on WIN CLASS TEXT [N]: a real click in the middle of that child.
click_on() {
  local l t r b
  read -r l t r b < <(child_rect "$@") || fail "no $2 \"$3\" in $1"
  place_pointer $(((l + r) / 2)) $(((t + b) / 2))
  xdotool click 1
}
# click_tab N NAME: the first tab clicked, then Right N times, as the tabs'
# widths follow the font; the page shown must then be NAME.
click_tab() {
  local l t r b k
  read -r l t r b < <(child_rect "$DLG" SysTabControl32 "*") || fail "no page control"
  place_pointer $((l + (r - l) * 14 / 476)) $((t + (r - l) * 10 / 476))
  xdotool click 1
  for ((k = 0; k < $1; k++)); do xdotool key Right; done
  wait_for 5 page_is "$2" || {
    import -window root "$WORK/failure.png"
    fail "the tab \"$2\" did not open its page (shown: $(page_shown))"
  }
}
# The page shown, by a control only it has.
page_shown() {
  ctl children "$DLG" | awk '/ vis=1 / {
    if (index($0, "text=ZEPXを最前面に表示")) print "全般"
    if (index($0, "text=ZEP Eventが発行されたときの動作を指定します")) print "ZEP Event"
    if (index($0, "text=Loop終了時に次のマクロファイルを順番に実行します")) print "Loop" }'
}
page_is() { [[ "$(page_shown)" == "$1" ]]; }
dialog_shown() { life tops "$DLG" | grep -q TSettingForm; }
dialog_hidden() { ! dialog_shown; }
opacity_label() { ctl text "$DLG" class:Static:5; }
# text_is SEL TEXT: the dialog's child shows exactly TEXT (for wait_for).
text_is() { [[ "$(ctl text "$DLG" "$1")" == "$2" ]]; }

# The open list of a drop-down is a top-level window of its own.
list_open() { life tops "" | grep -q ' ComboLBox '; }
list_closed() { ! list_open; }
open_list() {
  click_on "$DLG" ComboBox "*" "$1"
  wait_for 5 list_open || fail "drop-down $1 did not open"
}
# pick_letter N LETTER: the N-th letter list opened and the letter typed,
# which picks it and closes the list.
pick_letter() {
  open_list "$1"
  xdotool key "${2,,}"
  wait_for 5 list_closed || fail "typing a letter left the list open"
  wait_for 5 text_is "class:ComboBox:$1" "$2" || fail "letter list $1 shows $(ctl text "$DLG" "class:ComboBox:$1"), not $2"
}
# pick_slot N DOWNS: a slot selector opened, moved down DOWNS entries, closed.
pick_slot() {
  open_list "$1"
  xdotool key --delay 50 $(printf 'Down %.0s' $(seq "$2")) Return
  wait_for 5 list_closed || fail "Return left the list open"
}

# ---- the main window ---------------------------------------------------------------------

over_main() {
  local x y w h
  read -r x y w h < <(ctl client "$caption")
  place_pointer $((x + w / 2)) $((y + 60))
}
open_from_menu() {
  over_main
  xdotool key alt+o
  sleep 0.3
  xdotool key t
  wait_for 10 dialog_shown || fail "the menu did not open the settings dialog"
}
run_caption() { ctl text "$caption" 'prefix:実行\r\n' | tr -d '\r' | paste -sd ' '; }
stop_caption() { ctl text "$caption" 'prefix:待機\r\n' | tr -d '\r' | paste -sd ' '; }
# hot_key_runs LETTER: Ctrl+Alt+LETTER starts a run (after its second).
hot_key_runs() {
  local status
  over_main
  xdotool key "ctrl+alt+${1,,}"
  status=$(ctl waitstatus "$caption" 実行中 10000) || fail "Ctrl+Alt+$1 did not start a run"
  RUN_STATUS=$status
}
hot_key_stops() {
  over_main
  xdotool key "ctrl+alt+${1,,}"
  ctl waitstatus "$caption" 待機中 10000 >/dev/null || fail "Ctrl+Alt+$1 did not stop the run"
}
# A letter that is no hot key: still idle after the run's one-second start.
hot_key_idle() {
  over_main
  xdotool key "ctrl+alt+${1,,}"
  sleep 2
  expect_eq "Ctrl+Alt+$1 runs nothing" "待機中" "$(ctl status "$caption")"
}

start_zepx_as "$caption" "$(winpath "$macro")"

# ---- first round: from the menu, confirmed ----------------------------------------------------
open_from_menu
expect_eq "opened from the menu on the first page" "全般" "$(page_shown)"
shot_of "$DLG" "$WORK/page-general.png"

pick_letter 0 Q
expect_no_box "a start letter that differs from the stop letter"
pick_letter 1 Q
wait_box 5000
expect_eq "equal letters are told" \
  "マクロ開始ホットキーとマクロ終了ホットキーを同じにすることはできません." "$BOX_TEXT"
life answer "$BOX_HWND" 1
no_box() { [[ -z "$(life boxes)" ]]; }
wait_for 5 no_box || fail "the message stayed"
pick_letter 1 W
expect_eq "keys unchanged before OK" "実行 (Ctrl+Alt+S)" "$(run_caption)"

click_on "$DLG" msctls_trackbar32 "*"
xdotool key Home
xdotool key Next Next Next
wait_for 5 text_is class:Static:5 80 || fail "opacity label $(opacity_label), not 80"
alpha_is() { [[ "$(life alpha "$caption")" == "$1" ]]; }
wait_for 5 alpha_is 80 || fail "the main window's opacity is $(life alpha "$caption"), not 80"
echo "ok   the main window turned at once: 80"

click_tab 1 "ZEP Event"
shot_of "$DLG" "$WORK/page-event.png"
pick_slot 2 6
wait_for 5 text_is class:ComboBox:2 マクロ実行 ||
  fail "slot 1 of event 1 shows $(ctl text "$DLG" class:ComboBox:2)"
dialog_shown || fail "closing the slot list closed the dialog"

click_tab 2 "Loop"
shot_of "$DLG" "$WORK/page-loop.png"
click_on "$DLG" Button "参照..." 3
file_dialog_open() { life tops 開く | grep -q ' #32770 '; }
wait_for 10 file_dialog_open || fail "the Loop 1 button opened no file dialog"
read -r fd _ < <(life tops 開く | grep ' #32770 ')
read -r l t r b < <(ctl rect "#$fd")
shot_of "#$fd" "$WORK/loop-file-dialog.png"
place_pointer $(((l + r) / 2)) $(((t + b) / 2))
xdotool type --delay 20 "$(winpath "$chain")"
xdotool key Return
wait_for 10 text_is class:Edit:3 "$(winpath "$chain")" ||
  fail "Loop 1 holds \"$(ctl text "$DLG" class:Edit:3)\""

click_on "$DLG" Button OK
wait_for 5 dialog_hidden || fail "OK did not close the dialog"
expect_eq "Run caption after OK" "実行 (Ctrl+Alt+Q)" "$(run_caption)"
expect_eq "Stop caption after OK" "待機 (Ctrl+Alt+W)" "$(stop_caption)"
hot_key_idle S
hot_key_runs Q
expect_eq "the running status names the new stop key" "実行中 (SendInput) - Ctrl+Alt+Wで中断できます" "$RUN_STATUS"
hot_key_stops W
echo "     first round done after $(($(now_ms) - t_start)) ms"

# ---- second round: from the timer group's button, cancelled -------------------------------------
click_on "$caption" Button 設定
wait_for 10 dialog_shown || fail "the timer group's button did not open the dialog"
expect_eq "opened on the event page" "ZEP Event" "$(page_shown)"
expect_eq "the slot as confirmed" "マクロ実行" "$(ctl text "$DLG" class:ComboBox:2)"
pick_slot 7 7
wait_for 5 text_is class:ComboBox:7 マクロ停止 || fail "slot 1 of event 2 not changed"
click_tab 0 "全般"
pick_letter 0 E
click_on "$DLG" msctls_trackbar32 "*"
xdotool key End
wait_for 5 text_is class:Static:5 255 || fail "opacity label $(opacity_label), not 255"
click_tab 2 "Loop"
click_on "$DLG" Edit "*" 4
xdotool type --delay 20 'C:\cancelled.mcr'
wait_for 5 text_is class:Edit:4 'C:\cancelled.mcr' || fail "typing into Loop 2 failed"
xdotool key Escape
wait_for 5 dialog_hidden || fail "Escape did not close the dialog"

expect_eq "Run caption kept after Cancel" "実行 (Ctrl+Alt+Q)" "$(run_caption)"
expect_eq "the opacity stays as the slider left it" "255" "$(life alpha "$caption")"
hot_key_idle E
hot_key_runs Q
hot_key_stops W

# The macro-file button opens the Loop page: the cancelled field is gone,
# the confirmed one is there, and the letter picked before Cancel is kept.
click_on "$caption" Button マクロファイル設定
wait_for 10 dialog_shown || fail "the macro-file button did not open the dialog"
expect_eq "opened on the Loop page" "Loop" "$(page_shown)"
expect_eq "Loop 1 as confirmed" "$(winpath "$chain")" "$(ctl text "$DLG" class:Edit:3)"
expect_eq "Loop 2 as before the cancelled round" "" "$(ctl text "$DLG" class:Edit:4)"
expect_eq "the start letter stored before Cancel" "E" "$(ctl text "$DLG" class:ComboBox:0)"
xdotool key Escape
wait_for 5 dialog_hidden || fail "Escape did not close the dialog"

# ---- exit and the registry ------------------------------------------------------------------------
click_on "$caption" Button ZEPXを終了
wait_for 15 not_running "$ZEPX_PID" || fail "zepx.exe still running after ZEPXを終了"
expect_eq "StartComboIndex: the letter picked before Cancel" "REG_DWORD 0x4" "$(reg_get StartComboIndex)"
expect_eq "EndComboIndex: W" "REG_DWORD 0x16" "$(reg_get EndComboIndex)"
expect_eq "Layered: the slider's last position" "REG_DWORD 0xff" "$(reg_get Layered)"
expect_eq "ECom11Index: confirmed" "REG_DWORD 0x6" "$(reg_get ECom11Index)"
expect_eq "ECom21Index: cancelled" "REG_DWORD 0x0" "$(reg_get ECom21Index)"
expect_eq "Loop1: confirmed" "REG_SZ $(winpath "$chain")" "$(reg_get Loop1)"
expect_eq "Loop2: cancelled" "REG_SZ" "$(reg_get Loop2)"
echo "     whole script $(($(now_ms) - t_start)) ms"
echo "PASS $E2E_NAME"
