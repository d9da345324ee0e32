#!/usr/bin/env bash
# The command palette, driven with real clicks and keys: created hidden,
# opened by the main window's palette button; its buttons select kinds in
# the main window's CommandBox, the wait value goes across (by the button
# and by Enter), the modifier boxes are mirrored, the keypad note, the text
# field with "[確定]", its own opacity; then, with auto-add on, the lines the
# main window's Add puts into the batch list. Screenshots at 100 % and 150 %.
#
# The checks under "---- after Add" need the main window's composer (its
# Add, and its modifier boxes calling back into the palette); they are kept
# to the end, all are run, and any that fails fails the script.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings

PALETTE="ZEPX コマンド入力フォーム"
DPI_KEY='HKCU\Control Panel\Desktop'
# The display scaling of the prefix, put back however the script ends.
dpi_before=$(wine reg query "$DPI_KEY" /v LogPixels 2>/dev/null | tr -d '\r' |
  awk '$1 == "LogPixels" { print $3 }' || true)
restore_dpi() {
  if [[ -n $dpi_before ]]; then
    wine reg add "$DPI_KEY" /v LogPixels /t REG_DWORD /d "$((dpi_before))" /f >/dev/null 2>&1 || true
  else
    wine reg delete "$DPI_KEY" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
trap 'cleanup; restore_dpi' EXIT
t_start=$SECONDS

# ---- controls seen from outside ------------------------------------------------------

# A field of a child of WIN: its rect "l t r b" (screen), its id or its
# handle. SEL is "text:T" (exactly that text) or "class:NAME:N" (the N-th
# of that class, counting the children of children too).
child_field() {  # child_field WIN SEL rect|id|handle
  ctl children "$1" | tr -d '\r' | awk -v sel="$2" -v field="$3" '
    BEGIN {
      by_class = sel ~ /^class:/
      if (by_class) { split(sel, p, ":"); cls = p[2]; nth = p[3] + 0 } else want = substr(sel, 6)
    }
    {
      i = index($0, " text="); text = substr($0, i + 6)
      match($0, / class=[^ ]*/); c = substr($0, RSTART + 7, RLENGTH - 7)
      hit = by_class ? (c == cls && nth-- == 0) : (text == want)
      if (!hit) next
      if (field == "handle") print $1
      else if (field == "id") { match($0, /id=[0-9-]+/); print substr($0, RSTART + 3, RLENGTH - 3) }
      else { match($0, /rect=[-0-9,]+/); r = substr($0, RSTART + 5, RLENGTH - 5); gsub(",", " ", r); print r }
      found = 1; exit
    }
    END { exit !found }'
}
# A real click: the pointer moves into the control (at FRACTION of its
# width from the left, the middle by default) and the left button is
# pressed and released there.
click_on() {  # click_on WIN SEL [FRACTION_PERCENT]
  local l t r b
  read -r l t r b < <(child_field "$1" "$2" rect) || fail "no control \"$2\" in $1"
  xdotool mousemove "$((l + (r - l) * ${3:-50} / 100))" "$(((t + b) / 2))" click 1
  sleep 0.3
}
# The window's client area (without a window manager the caption is not
# always drawn by the time of the shot).
client_shot() {  # client_shot WIN FILE
  local x y w h
  read -r x y w h < <(ctl client "$1") || fail "no client area for $1"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2" || fail "screenshot $2"
  echo "     screenshot $2"
}
palette_shown() { [[ -n "$(life tops "$PALETTE")" ]]; }
palette_hidden() { [[ -z "$(life tops "$PALETTE")" ]]; }
open_palette() {
  click_on "#$ZEPX_HWND" "text:コマンド入力"
  wait_for 10 palette_shown || fail "the palette button did not open the palette"
}

# The main window's fields the palette writes (in creation order: CommandBox,
# ComboBoxEx1, SendTextEdit are its first three combo boxes, SpinEdit1 its
# first edit).
kind() { ctl text "#$ZEPX_HWND" class:ComboBox:0; }
kind_is() { [[ "$(kind)" == "$1" ]]; }
main_wait() { ctl text "#$ZEPX_HWND" class:Edit:0; }
main_text() { ctl text "#$ZEPX_HWND" class:ComboBox:2; }
# press BUTTON_TEXT EXPECTED_KIND: a palette button selects that kind.
press() {
  click_on "#$PAL" "text:$1"
  wait_for 5 kind_is "$2" || true
  expect_eq "palette $1 selects" "$2" "$(kind)"
}
# Types into the palette field that has the focus, replacing its text.
type_over() {
  xdotool key End shift+Home
  xdotool type --delay 30 "$1"
  sleep 0.3
}

# Probes first: with three titled windows on the desktop the main window's
# start-up list selects a target (its third entry), which Add wants for keys.
start_probe "ZEPX palette probe A" 900,10,300,120
start_probe "ZEPX palette probe B" 900,150,300,120
start_zepx_as "ZEPX"
expect_eq "start-up defaults of the main window" "時間(ミリ秒)|1000|送信文字列 [Text] →" \
  "$(kind)|$(main_wait)|$(ctl text "#$ZEPX_HWND" class:ComboBox:1)"
PAL=$(ctl find "$PALETTE") || fail "no palette window created at start-up"
palette_hidden || fail "the palette is shown at start-up"
echo "ok   palette created hidden at start-up (#$PAL)"

# ---- 100 %: open, look, buttons with auto-add off ----------------------------------------
open_palette
expect_eq "palette client size at 100 %" "700 540" "$(ctl client "#$PAL" | cut -d' ' -f3,4)"
# Below and right of the main window's input area, which stays clickable.
ctl move "#$PAL" 570 470
press "[F5]" "[F5]"
client_shot "#$PAL" "$WORK/palette-100.png"
press "R_Click" "R_Click"
press "L_Drag&&Drop" "L_Drag&Drop"
press "［PageDown］" "[PageDown]"
press "[BS]" "[BackSpace]"
press "[KANJI]" "[KANJI]"
press "[@]" "[@]"
press "[↓]" "[↓]"
press "ZEP Event 2" "【ZEP Event 2】"
expect_eq "batch list untouched with auto-add off" "" "$(ctl list "#$ZEPX_HWND")"

# The keypad note after "[*]", answered with OK.
click_on "#$PAL" "text:[*]"
wait_box 10000
expect_eq "keypad note" \
  '[+]と[*]キーはテンキーコマンドの為、テンキーが無いPCの場合\r\nShiftと同時押ししないと正しく出力されません。' "$BOX_TEXT"
expect_eq "[*] selected before the note" "[*]" "$(kind)"
life answer "$BOX_HWND" 1
wait_for 5 test -z "$(life boxes)" || fail "the keypad note did not close"

# The wait: typed into the palette's field, sent by its button, then by Enter.
click_on "#$PAL" class:Edit:0 30
type_over 2500
click_on "#$PAL" "text:時間(ミリ秒)"
expect_eq "wait button: kind and value" "時間(ミリ秒) 2500" "$(kind) $(main_wait)"
press "[Tab]" "[Tab]"
click_on "#$PAL" class:Edit:0 30
type_over 3000
xdotool key Return
sleep 0.5
expect_eq "Enter in the palette: the wait button" "時間(ミリ秒) 3000" "$(kind) $(main_wait)"

# Modifier boxes: the palette's clicks reach the main window's boxes.
click_on "#$PAL" "text:Shift"
click_on "#$PAL" "text:Ctrl"
click_on "#$PAL" "text:Ctrl"
expect_eq "palette Shift, Ctrl, Ctrl -> main Shift Alt Ctrl" "1 0 0" \
  "$(ctl getcheck "#$ZEPX_HWND" text:Shift) $(ctl getcheck "#$ZEPX_HWND" text:Alt) $(ctl getcheck "#$ZEPX_HWND" text:Ctrl)"

# Opacity: a click in the slider's channel left of the thumb steps it down
# a page, Home goes to the faintest, End back to opaque.
click_on "#$PAL" class:msctls_trackbar32:0 40
expect_eq "one page down: alpha" "245" "$(life alpha "#$PAL")"
xdotool key Home
sleep 0.3
expect_eq "Home: alpha" "100" "$(life alpha "#$PAL")"
import -window root "$WORK/palette-translucent.png"
xdotool key End
sleep 0.3
expect_eq "End: opaque, not layered" "none 0" "$(life alpha "#$PAL") $(($(life exstyle "#$PAL") & 0x80000))"

# The text field: application mode picked from the drop-down (by the
# messages the drop-down itself sends), the field entered, "[確定]".
mode=$(child_field "#$PAL" class:ComboBox:0 handle)
mode_id=$(child_field "#$PAL" class:ComboBox:0 id)
ctl post "#$mode" 0x014E 1 0
ctl post "#$PAL" 0x0111 "$(((1 << 16) | mode_id))" "$mode"
wait_for 5 kind_is "[ｱﾌﾟﾘを前面に]" || true
expect_eq "application mode: the field takes the focus, front-app selected" "[ｱﾌﾟﾘを前面に]" "$(kind)"
expect_eq "application mode: refresh button enabled" "1" \
  "$(ctl children "#$PAL" | grep -F 'text=<< ｱﾌﾟﾘ更新' | sed -E 's/.* en=([01]) .*/\1/')"
titles=$(life comboitems "#$PAL" | awk '$1 == 1 { $1 = ""; sub(/^ /, ""); print }')
grep -qxF "ZEPX palette probe A" <<<"$titles" && grep -qxF "ZEPX" <<<"$titles" ||
  fail "the palette's application list lacks the open windows: $titles"
echo "ok   palette application list: $(wc -l <<<"$titles") entries, the probes and ZEPX among them"
click_on "#$PAL" "text:[確定]"
sleep 0.3
palette_shown || fail "[確定] with an empty field closed the palette"
expect_eq "[確定] with an empty field copies nothing" "" "$(main_text)"
type_over Notepad
click_on "#$PAL" "text:[確定]"
wait_for 5 palette_hidden || fail "[確定] with text and auto-add off did not hide the palette"
expect_eq "[確定]: the text in the main window" "Notepad" "$(main_text)"

# Reopened: the state is as it was left.
open_palette
expect_eq "kept: mode, text, Shift, wait" "前面にするｱﾌﾟﾘ名 →|Notepad|1|3000" \
  "$(ctl text "#$PAL" class:ComboBox:0)|$(ctl text "#$PAL" class:ComboBox:1)|$(ctl getcheck "#$PAL" text:Shift)|$(ctl text "#$PAL" class:Edit:0)"

# ---- auto-add on: what the palette does now ---------------------------------------------
click_on "#$PAL" "text:ボタンをクリックすると同時にコマンド追加"
expect_eq "auto-add ticked" "1" "$(ctl getcheck "#$PAL" "text:ボタンをクリックすると同時にコマンド追加")"
click_on "#$PAL" class:Edit:0 30
type_over 2500
click_on "#$PAL" "text:時間(ミリ秒)"
expect_eq "auto-add wait: kind and value" "時間(ミリ秒) 2500" "$(kind) $(main_wait)"
press "L_Click" "L_Click"
press "[F5]" "[F5]"
click_on "#$PAL" "text:Shift"  # off again, in both windows
expect_eq "Shift unticked in the main window" "0" "$(ctl getcheck "#$ZEPX_HWND" text:Shift)"
click_on "#$PAL" class:Edit:1 30  # into the text field: front-app again
wait_for 5 kind_is "[ｱﾌﾟﾘを前面に]" || true
expect_eq "entering the field in application mode" "[ｱﾌﾟﾘを前面に]" "$(kind)"
click_on "#$PAL" "text:[確定]"
sleep 0.5
palette_shown || fail "[確定] with auto-add on closed the palette"
click_on "#$PAL" "text:[+]"
wait_box 10000
expect_eq "keypad note after [+] with auto-add" "[+]" "$(kind)"
life answer "$BOX_HWND" 1
wait_for 5 test -z "$(life boxes)" || fail "the keypad note did not close"
press "R_Drag&&Drop" "R_Drag&Drop"
client_shot "#$ZEPX_HWND" "$WORK/main-after-auto-add.png"

# ---- after Add: the batch list and the main window's modifier boxes --------------------------
pending=()
after_add() {  # after_add WHAT EXPECTED ACTUAL
  if [[ "$2" == "$3" ]]; then
    printf 'ok   %s\n' "$1"
  else
    printf 'FAIL %s (waits for the main window'"'"'s composer)\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3" >&2
    pending+=("$1")
  fi
}
after_add "batch list built through the main window's Add" "Wait=2500
L_Click:0x0
[F5]+Shift
[ｱﾌﾟﾘを前面に]@@Notepad
[+]
R_Drag:NoSet
R_Drop:NoSet" "$(ctl list "#$ZEPX_HWND" | tr -d '\r')"
click_on "#$ZEPX_HWND" "text:Alt"
after_add "main window's Alt mirrored into the palette" "1" "$(ctl getcheck "#$PAL" text:Alt)"
click_on "#$ZEPX_HWND" "text:Alt"

# ---- 150 % -------------------------------------------------------------------------------------
close_zepx
wine reg add "$DPI_KEY" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 || fail "could not set 150 %"
start_zepx_as "ZEPX"
PAL=$(ctl find "$PALETTE") || fail "no palette window created at start-up"
open_palette
expect_eq "palette client size at 150 %" "1050 810" "$(ctl client "#$PAL" | cut -d' ' -f3,4)"
press "［Home］" "[Home]"
client_shot "#$PAL" "$WORK/palette-150.png"
press "[F12]" "[F12]"
click_on "#$PAL" "text:Alt"
expect_eq "150 %: palette Alt -> main Alt" "1" "$(ctl getcheck "#$ZEPX_HWND" text:Alt)"
close_zepx
restore_dpi

echo "     run time $((SECONDS - t_start)) s"
if ((${#pending[@]})); then
  PROBE_LOG=""  # the probes only hold the desktop's window count here
  fail "${#pending[@]} check(s) waiting for the main window's composer: $(printf '"%s" ' "${pending[@]}")"
fi
echo "PASS $E2E_NAME"
