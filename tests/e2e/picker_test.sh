#!/usr/bin/env bash
# The window picker in the real program, driven with the X pointer: a pick
# over another program's edit control names it "title@@class <handle>" and
# writes the screen point into the selected drop line; a five-digit value
# typed into the X field is clamped when the field is left; coordinates are
# copied from one row and pasted into another, by the buttons and by Ctrl+C
# and Ctrl+V.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings
t0=$SECONDS

title="ZEPX Picker Probe"
start_probe "$title" 830,600,440,340
macro="$WORK/picker.mcr"
write_macro "$macro" <<MCR
//ZEP Version 4.51
L_Click:10x20
L_Drag:NoSet
L_Drop:NoSet
Wait=1000
$(quick_settings 1 2)
MCR
start_zepx "$macro"
ZEPX_HWND=$(ctl find "$ZEPX_CAPTION")
wait_for 30 started "$ZEPX_HWND" || fail "the start-up refresh of the target list did not happen"

# The controls, found by the texts of their own or of the label before
# them: "<handle> id=<n> vis= en= rect=l,t,r,b class=<c> text=<t>" per line.
children=$(ctl children "$ZEPX_CAPTION")
id_of_text() { awk -v t="text=$1" 'index($0, t) == length($0) - length(t) + 1 { sub(/^id=/, "", $2); print $2; exit }' <<<"$children"; }
id_after_text() {  # the first child of class $2 after the one with text $1
  awk -v t="text=$1" -v c="class=$2" '
    seen && $6 == c { sub(/^id=/, "", $2); print $2; exit }
    index($0, t) == length($0) - length(t) + 1 { seen = 1 }' <<<"$children"
}
center_of() {
  awk -v id="id=$1" '$2 == id { split(substr($5, 6), r, ","); print int((r[1] + r[3]) / 2), int((r[2] + r[4]) / 2); exit }' <<<"$children"
}
list_id=$(awk '$6 == "class=ListBox" { sub(/^id=/, "", $2); print $2; exit }' <<<"$children")
xy_button=$(id_of_text "マウス(ｷｰ/Text)送信先座標")
copy_button=$(id_of_text "座標Copy")
paste_button=$(id_of_text "座標Paste")
x_field=$(id_after_text "X:" Edit)
y_field=$(id_after_text "Y:" Edit)
target_box=$(id_after_text "送信先:" ComboBox)
for v in list_id xy_button copy_button paste_button x_field y_field target_box; do
  [[ -n ${!v} ]] || fail "control $v not found among the main window's children"
done
# AppComboBox's place among the drop-downs, for lifectl comboitems.
target_box_n=$(awk -v id="id=$target_box" '$6 == "class=ComboBox" { if ($2 == id) { print n; exit } n++ }' <<<"$children")

click_at() { xdotool mousemove "$1" "$2" click 1; }
click_control() { click_at $(center_of "$1"); }
click_row() {
  local l t r b
  read -r l t r b < <(ctl itemrect "$ZEPX_CAPTION" "id:$list_id" "$1") || fail "no row $1"
  click_at $(((l + r) / 2)) $(((t + b) / 2))
  wait_for 5 selected_is "$1" || fail "row $1 did not become selected"
}
selected_is() { [[ "$(ctl selected "$ZEPX_CAPTION" "id:$list_id")" == "$1" ]]; }
row() { ctl list "$ZEPX_CAPTION" "id:$list_id" | sed -n "$(($1 + 1))p"; }
row_is() { [[ "$(row "$1")" == "$2" ]]; }
field() { ctl text "$ZEPX_CAPTION" "id:$1"; }
field_is() { [[ "$(field "$1")" == "$2" ]]; }
status_is() { [[ "$(ctl text "$ZEPX_CAPTION" "text:$1")" == "$1" ]]; }

# ---- a pick over the probe's edit, the drop line selected ----------------------
click_row 2
click_control "$xy_button"
prompt="座標指定するところをクリックして下さい"
wait_for 5 status_is "$prompt" || fail "no picker prompt in the status label"
shot_of "$ZEPX_CAPTION" "$WORK/picking.png"

px=$((PROBE_EDIT_X + 40)) py=$((PROBE_EDIT_Y + PROBE_EDIT_H / 2))
descriptor="$title@@Edit <$PROBE_EDIT>"
place_pointer "$px" "$py"
# While pointing, the fields follow the cursor and nothing is fixed yet.
wait_for 5 field_is "$x_field" "$px" || fail "X field shows $(field "$x_field"), not $px"
wait_for 5 field_is "$target_box" "$descriptor" || fail "target field shows $(field "$target_box")"
expect_eq "Y while pointing" "$py" "$(field "$y_field")"
expect_eq "drop line before the click" "L_Drop:NoSet" "$(row 2)"

xdotool click 1
wait_for 5 status_is "待機中" || fail "the pick did not end on the click"
expect_eq "drop line after the pick" "L_Drop:${px}x${py}" "$(row 2)"
expect_eq "target field" "$descriptor" "$(field "$target_box")"
life comboitems "#$ZEPX_HWND" | grep -qxF "$target_box_n $descriptor" ||
  fail "the target list's first entry is not \"$descriptor\""
expect_eq "other rows untouched" "L_Click:10x20|L_Drag:NoSet|Wait=1000" "$(row 0)|$(row 1)|$(row 3)"

# ---- a five-digit X, clamped when the field is left --------------------------------
click_control "$x_field"
xdotool key --clearmodifiers End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 20 12345
wait_for 5 field_is "$x_field" 12345 || fail "typed X reads $(field "$x_field")"
xdotool key Tab
wait_for 5 field_is "$x_field" 9999 || fail "X after Tab reads $(field "$x_field"), not 9999"

# ---- copy and paste between rows ---------------------------------------------------
click_row 0
click_control "$copy_button"
click_row 1
click_control "$paste_button"
wait_for 5 row_is 1 "L_Drag:10x20" || fail "pasted row 1 reads $(row 1)"
wait_for 5 field_is "$x_field" 10 || fail "X after the paste reads $(field "$x_field")"
expect_eq "Y after the paste" "20" "$(field "$y_field")"
# The Edit menu's shortcuts, with the focus in the list.
click_row 2
xdotool key ctrl+c
click_row 0
xdotool key ctrl+v
wait_for 5 row_is 0 "L_Click:${px}x${py}" || fail "row 0 after Ctrl+V reads $(row 0)"
expect_eq "rows after copy and paste" "L_Click:${px}x${py}|L_Drag:10x20|L_Drop:${px}x${py}|Wait=1000" \
  "$(row 0)|$(row 1)|$(row 2)|$(row 3)"

close_zepx
echo "     took $((SECONDS - t0)) s"
echo "PASS $E2E_NAME"
