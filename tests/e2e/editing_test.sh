#!/usr/bin/env bash
# Composing and editing the batch list in the real window, as a user does:
# kinds picked in the drop-down, fields typed into, AddButton, rows and
# buttons clicked, F3 and F10 pressed in the list, Alt+A, Delete on a drop
# line, the detached list window beside it; then the list saved through
# the File menu and its dialog, compared byte for byte with a file written
# by hand from the line forms, cleared, loaded again, and the send-method
# switch answered both ways. Screenshots at 100 and 150 percent.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings

# The 150 percent screenshots set the display scaling of the prefix; it
# must not outlive this script, whatever way it ends.
dpi_key='HKCU\Control Panel\Desktop'
default_dpi() { wine reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1 || true; }
trap 'default_dpi; cleanup' EXIT
default_dpi

# Three windows of our own, so that the application list has a third entry
# for the target field to select.
for n in 1 2 3; do
  start_probe "ZEPX edit probe $n" "900,$((540 + n * 130)),360,110"
done

start_zepx_as ZEPX
Z="#$ZEPX_HWND"

# ---- finding controls and reading the window -------------------------------------------

CHILDREN=$(ctl children "$Z")
# "x y", the middle of the child whose text is exactly TEXT.
center_of() {
  awk -v t="$1" '{ i = index($0, " text="); if (!i || substr($0, i + 6) != t) next
    match($0, /rect=[-0-9]+,[-0-9]+,[-0-9]+,[-0-9]+/); split(substr($0, RSTART + 5, RLENGTH - 5), r, ",")
    print int((r[1] + r[3]) / 2), int((r[2] + r[4]) / 2); found = 1; exit } END { exit !found }' <<<"$CHILDREN"
}
# "x y", the middle of the nearest visible CLASS child to the right of the
# child with text TEXT, on the same row: the field a caption stands before.
right_of() {
  awk -v t="$1" -v cls="class=$2" '
    function rect(line, r) { match(line, /rect=[-0-9]+,[-0-9]+,[-0-9]+,[-0-9]+/)
      split(substr(line, RSTART + 5, RLENGTH - 5), r, ",") }
    { lines[NR] = $0; i = index($0, " text="); if (i && substr($0, i + 6) == t) anchor = NR }
    END { if (!anchor) exit 1; rect(lines[anchor], a); best = -1
      for (k = 1; k <= NR; k++) { if (index(lines[k], " " cls " ") == 0 || index(lines[k], "vis=1") == 0) continue
        rect(lines[k], r); d = r[1] - a[3]; if (d < 0 || (r[2] - a[2]) * (r[2] - a[2]) > 100) continue
        if (best < 0 || d < best) { best = d; x = int((r[1] + r[3]) / 2); y = int((r[2] + r[4]) / 2)
          split(lines[k], f, " "); h = f[1] } }
      if (best < 0) exit 1; print x, y, h }' <<<"$CHILDREN"
}
# Whether the child with exactly this text is enabled now (0 or 1).
enabled() {
  ctl children "$Z" | awk -v t="$1" '{ i = index($0, " text="); if (i && substr($0, i + 6) == t) {
    match($0, /en=[01]/); print substr($0, RSTART + 3, 1); exit } }'
}
click_xy() { xdotool mousemove "$1" "$2" click 1; }
click_on() {
  local x y
  read -r x y < <(center_of "$1") || fail "no control \"$1\""
  click_xy "$x" "$y"
}
click_row() {
  local x y
  read -r x y < <(ctl itempoint "$Z" "" "$1") || fail "no row $1"
  click_xy "$x" "$y"
}
# Clicks into a field and replaces its text by typing.
type_into() {  # type_into X Y TEXT
  click_xy "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 5 "$3"
}
checked() { [[ "$(ctl getcheck "$Z" "text:$1")" == "$2" ]]; }
toggle() {  # toggle CAPTION STATE: clicks a check box or radio and waits for STATE
  click_on "$1"
  wait_for 5 checked "$1" "$2" || fail "\"$1\" did not become $2"
}
kind() { ctl choose "$Z" class:ComboBox:0 "$1" || fail "kind $1 not chosen"; }
add() { click_on "ｺﾏﾝﾄﾞ追加"; }

want=()
joined() { printf '%s\n' "$@"; }
list_is() { [[ "$(ctl list "$Z")" == "$1" ]]; }
# The list must become the expected lines (and the detached copy, when
# it is open, the same).
expect_list() {
  local expected
  expected=$(joined "${want[@]}")
  wait_for 5 list_is "$expected" || expect_eq "list after $1" "$expected" "$(ctl list "$Z")"
  echo "ok   list after $1: ${#want[@]} lines"
  if [[ -n ${D:-} ]]; then
    local copy
    copy=$(ctl list "$D")
    [[ "$copy" == "$expected" ]] || expect_eq "detached copy after $1" "$expected" "$copy"
    echo "ok   detached copy after $1: the same"
  fi
}
expect_selected() { expect_eq "selected row $2" "$1" "$(ctl selected "$Z")"; }

# ---- the target: the third entry of the refreshed application list ---------------------

toggle WinMessage 1  # an empty list: no question
read -r ax ay _ < <(right_of "送信先:" ComboBox) || fail "no target field"
T=$(ctl text "$Z" class:ComboBox:3)
third=$(life comboitems "$Z" | awk '$1 == 3 { if (++n == 3) { sub(/^3 /, ""); print; exit } }')
expect_eq "target field holds the third application entry" "$third" "$T"
[[ $T =~ \ \<[0-9]+\>$ ]] || fail "the target \"$T\" is no descriptor"

# ---- composing every family ------------------------------------------------------------------

read -r sx sy _ < <(right_of "時間(ミリ秒)" Edit) || fail "no wait field"
read -r xx xy xh < <(right_of "X:" Edit) || fail "no X field"
read -r yx yy yh < <(right_of "Y:" Edit) || fail "no Y field"
read -r tx ty _ < <(right_of "送信文字列 [Text] →" ComboBox) || fail "no text field"

kind 0
type_into "$sx" "$sy" 2500
add
want+=("Wait=2500")
expect_list "a wait"

type_into "$xx" "$xy" 120
type_into "$yx" "$yy" 45
kind 1
add
kind 4
add
kind 5
add
want+=("L_Click:120x45" "R_DClick:120x45" "L_Drag:NoSet" "L_Drop:NoSet")
expect_list "clicks and a drag pair"
# An appended pair leaves its drag line selected: what comes next would go
# above it. The last row is clicked to append again.
expect_selected 3 "after the pair"
click_row 4
kind 6
add
click_row 6
want+=("R_Drag:NoSet" "R_Drop:NoSet")
expect_list "the second pair"

# Entering the text field chooses the text kind by itself.
type_into "$tx" "$ty" "hello: 1x2 world"
wait_for 5 eval '[[ "$(ctl text "$Z" class:ComboBox:0)" == "[Text]" ]]' ||
  fail "entering the text field did not choose [Text]"
add
want+=("[Text]~~hello: 1x2 world|>$T")
expect_list "a text"

toggle Shift 1
toggle Ctrl 1
kind 12  # [F5]
add
toggle Shift 0
toggle Ctrl 0
kind 20  # [A]
add
kind 53  # [7]
add
kind 60  # [/]
add
want+=("[F5]+Shift+Ctrl|>$T" "[A]|>$T" "[7]|>$T" "[/]|>$T")
expect_list "keys"

# A keypad key: picking it says so (the pick reached the window as a user's).
kind 57  # [+]
wait_box 5000
expect_eq "keypad message" '[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\nShiftと同時押ししないと正しく出力されません。' "$BOX_TEXT"
life answer "$BOX_HWND" 1
add
toggle Alt 1
kind 61  # [Enter]
add
toggle Alt 0
kind 63  # [↓]
add
kind 76  # [Tab]
add
toggle Shift 1
kind 77  # [Windows]: bare, whatever is checked
add
toggle Shift 0
kind 81  # [Ctrl]
add
kind 82  # 【ZEP Event 1】
add
want+=("[+]|>$T" "[Enter]+Alt|>$T" "[↓]|>$T" "[Tab]|>$T" "[Windows]" "[Ctrl]|>$T" "【ZEP Event 1】")
expect_list "keypad, named keys, Windows, modifier key, event"

# The application kind turns the text field sky blue (RGB A6 CA F0).
kind 84
type_into "$tx" "$ty" "Notepad"
pixel=$(import -window root -crop "1x1+$((tx + 100))+$ty" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1)
expect_eq "text field colour for an application" "#A6CAF0" "$pixel"
add
want+=("[ｱﾌﾟﾘを前面に]@@Notepad")
expect_list "an application"
expect_selected $((${#want[@]} - 1)) "after appending"

# ---- the detached list beside it -------------------------------------------------------------------

click_on "リスト別窓"
detached_caption="ZEPX Batch処理送信リスト (${#want[@]}行)"
D="#$(ctl --wait 5000 find "$detached_caption")" || fail "no detached window \"$detached_caption\""
ctl move "$D" 830 0
expect_list "opening the detached window"

# ---- editing in the list ---------------------------------------------------------------------------

click_row 4  # the drop line: a new line goes below it
kind 70      # [Esc]
add
want=("${want[@]:0:5}" "[Esc]|>$T" "${want[@]:5}")
expect_list "an insert below a drop line"
expect_selected 5 "after the insert"
expect_eq "detached caption after an add" "ZEPX Batch処理送信リスト <${#want[@]}行>" "$(ctl text "$D")"

# A row clicked shows its point: a drag line without one reads 0 0, a
# click line its own, a text (whose ":" is no point) leaves the fields and
# offers no coordinate copy or paste.
point_is() { [[ "$(ctl text "#$xh") $(ctl text "#$yh") $(enabled 座標Copy)$(enabled 座標Paste)" == "$1" ]]; }
click_row 3
wait_for 5 point_is "0 0 11" || fail "the point of L_Drag:NoSet is not shown as 0 0"
click_row 1
wait_for 5 point_is "120 45 11" || fail "the point of L_Click:120x45 is not shown"
click_row 8
expect_eq "row 8" "[Text]~~hello: 1x2 world|>$T" "$(ctl list "$Z" | sed -n 9p)"
wait_for 5 point_is "120 45 00" || fail "a text line still offers coordinate copy and paste"
echo "ok   rows clicked show their points (0 0, 120 45, none for a text)"

click_row $((${#want[@]} - 1))
xdotool key F3
want+=("[F3]|>$T")
expect_list "F3 in the list"
xdotool key F10
want+=("[F10]|>$T")
expect_list "F10 in the list"
expect_eq "F10 opened no menu: the list still has the focus" ListBox "$(ctl focus | cut -d' ' -f2)"

click_row 7  # R_Drop: the pair goes as a whole
expect_eq "row 7" "R_Drop:NoSet" "$(ctl list "$Z" | sed -n 8p)"
click_on "ｺﾏﾝﾄﾞ削除"
want=("${want[@]:0:6}" "${want[@]:8}")
expect_list "Delete on a drop line"
expect_selected 7 "after the delete"
expect_eq "detached caption after a delete" "ZEPX Batch処理送信リスト <${#want[@]}行>" "$(ctl text "$D")"

click_row 8  # [A]
xdotool key alt+a
want=("${want[@]:0:8}" "${want[@]:9:1}" "${want[@]:8:1}" "${want[@]:10}")
expect_list "Alt+A"
expect_selected 9 "after Alt+A"
xdotool key Up
wait_for 5 eval '[[ "$(ctl selected "$Z")" == 8 ]]' || fail "Up after Alt+A did not move the selection"
xdotool key Down
wait_for 5 eval '[[ "$(ctl selected "$Z")" == 9 ]]' || fail "Down did not move the selection"
echo "ok   the arrow keys still move the selection after Alt+A"

xdotool mousemove 1270 1010  # no tooltip in the pictures
shot_of "$Z" "$WORK/main-100.png"
shot_of "$D" "$WORK/detached-100.png"

# ---- save, compare, clear, load ----------------------------------------------------------------------

# The file the list must give, written from the line forms: T is the
# target descriptor chosen above.
expected_file="$WORK/expected.mcr"
write_macro "$expected_file" <<MCR
//ZEP Version 4.51
Wait=2500
L_Click:120x45
R_DClick:120x45
L_Drag:NoSet
L_Drop:NoSet
[Esc]|>$T
[Text]~~hello: 1x2 world|>$T
[F5]+Shift+Ctrl|>$T
[7]|>$T
[A]|>$T
[/]|>$T
[+]|>$T
[Enter]+Alt|>$T
[↓]|>$T
[Tab]|>$T
[Windows]
[Ctrl]|>$T
【ZEP Event 1】
[ｱﾌﾟﾘを前面に]@@Notepad
[F3]|>$T
[F10]|>$T
Key:1200
Click:1000
Drag:1200
SftAltCtl:250
Loop:0
SendAPI:2
MCR
file_lines() { iconv -f CP932 -t UTF-8 "$expected_file" | tr -d '\r' | sed '1d' | head -n -6; }
expect_eq "the list is the one the file was written from" "$(file_lines)" "$(joined "${want[@]}")"

saved="$WORK/edited.mcr"
# dialog KEYS PATH: opens a file dialog from the File menu and types a path.
dialog() {
  life menu "$Z" "$1"
  wait_box 10000
  local l t r b
  read -r l t r b < <(ctl rect "#$BOX_HWND")
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2))
  xdotool type --delay 5 "$(winpath "$2")"
  xdotool key Return
}
caption_is() { [[ "$(ctl text "$Z")" == "$1" ]]; }
dialog fs "$saved"
wait_for 10 caption_is "ZEPX - edited.mcr" || fail "saving did not name the file (caption \"$(ctl text "$Z")\")"
wait_for 5 test -s "$saved" || fail "nothing written to $saved"
cmp "$expected_file" "$saved" || fail "the saved file differs from the one written by hand"
echo "ok   saved file equals the hand-written one byte for byte ($(wc -c <"$saved") bytes)"

click_on "クリア"
wait_box 5000
expect_eq "clear question" "全ての行を削除します。よろしいですか？" "$BOX_TEXT"
life answer "$BOX_HWND" 6
want=()
expect_list "Clear"
expect_eq "detached caption after clearing" "Batch処理送信リスト (0行)" "$(ctl text "$D")"

dialog fl "$saved"
wait_for 10 caption_is "ZEPX - edited.mcr" || fail "loading did not name the file"
mapfile -t want < <(file_lines)
expect_list "loading it again"

# The target field takes 99 typed characters at most.
long=$(printf 'a%.0s' {1..120})
type_into "$ax" "$ay" "$long"
expect_eq "typed target length" 99 "$(ctl text "$Z" class:ComboBox:3 | tr -d '\n' | wc -c)"

# ---- the send-method switch, both answers ---------------------------------------------------------------

click_on "SendInput(DirectX)"
wait_box 5000
expect_eq "question leaving WinMessage" 'WinMessageから_event、SendInputに変更するには、Batch処理送信リストをクリアする必要があります\r\nクリアしてもよろしいですか？' "$BOX_TEXT"
life answer "$BOX_HWND" 2  # Cancel
wait_for 5 checked WinMessage 1 || fail "Cancel did not put WinMessage back"
expect_eq "SendInput after Cancel" 0 "$(ctl getcheck "$Z" "text:SendInput(DirectX)")"
expect_list "Cancel"

click_on "_event"
wait_box 5000
life answer "$BOX_HWND" 1  # OK
want=()
expect_list "OK"
wait_for 5 checked _event 1 || fail "OK did not switch to _event"
expect_eq "detached caption after the switch" "Batch処理送信リスト (0行)" "$(ctl text "$D")"

ctl close "$Z"
wait_for 15 not_running "$ZEPX_PID" || fail "zepx.exe did not close"

# ---- the same windows at 150 percent ------------------------------------------------------------------------

wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 || fail "could not set the scaling"
start_zepx "$saved"
ZEPX_HWND=$(ctl find "$ZEPX_CAPTION")
Z="#$ZEPX_HWND"
wait_for 30 started "$ZEPX_HWND" || fail "start-up at 150 percent did not finish"
CHILDREN=$(ctl children "$Z")
xdotool mousemove 1270 1010
shot_of "$Z" "$WORK/main-150.png"
click_on "リスト別窓"
D=
mapfile -t want < <(file_lines)
D="#$(ctl --wait 5000 find "ZEPX Batch処理送信リスト (${#want[@]}行)")" || fail "no detached window at 150 percent"
expect_list "the file at 150 percent"
# Without a window manager nothing draws the caption, and the main window
# would show through where it stands: the main window steps aside.
ctl move "$Z" 1300 0
ctl move "$D" 20 20
shot_of "$D" "$WORK/detached-150.png"
close_zepx
default_dpi

echo "screenshots: $WORK/{main,detached}-{100,150}.png"
echo "PASS $E2E_NAME"
