#!/usr/bin/env bash
# The real program starts with a macro file, shows its lines, runs its passes
# with the method of the file, returns to idle and closes on WM_CLOSE.
source "$(dirname "$0")/lib.sh"
reset_settings

macro="$WORK/foundation.mcr"
# Three waits and a front-app line naming the program's own window, so the
# list holds half-width katakana and kanji as well as plain ASCII.
write_macro "$macro" <<MCR
//ZEP Version 4.51
Wait=300
Wait=300
[ｱﾌﾟﾘを前面に]@@ZEPX - foundation.mcr
Wait=300
$(quick_settings 2 1)
MCR

radio_checked() { [[ "$(ctl getcheck "$ZEPX_CAPTION" "$1")" == 1 ]]; }

start_zepx "$macro"
expect_eq "caption" "ZEPX - foundation.mcr" "$(ctl text "$ZEPX_CAPTION")"

expected=$(iconv -f CP932 -t UTF-8 "$macro" | tr -d '\r' |
  grep -v -E '^(//|(Key|Click|Drag|SftAltCtl|Loop|SendAPI):)')
actual=$(ctl list "$ZEPX_CAPTION")
expect_eq "list box lines" "$expected" "$actual"
expect_eq "selected row after load" "0" "$(ctl selected "$ZEPX_CAPTION")"
expect_eq "idle status" "待機中" "$(ctl status "$ZEPX_CAPTION")"

import -window root "$ZEPX_ARTIFACTS/main-window.png"

run_macro 20000
expect_eq "running status" "実行中 (SendInput) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"
expect_eq "idle status after the passes" "待機中" "$(ctl status "$ZEPX_CAPTION")"
# One pass is 3 x 300 ms of waits and 100 ms after the front-app line; the
# run starts 1 s after the request. Two passes: about 3 s in all, one pass
# would end near 2 s.
echo "     run took ${RUN_MS} ms (request to idle)"
((RUN_MS >= 2900 && RUN_MS <= 5000)) || fail "two passes should take 2.9 to 5 s, took $RUN_MS ms"

# The radio group takes a click from outside like a user's: _event now.
ctl click "$ZEPX_CAPTION" "text:_event"
wait_for 5 radio_checked "text:_event" || fail "the _event radio button did not become checked"
expect_eq "SendInput radio after the switch" "0" "$(ctl getcheck "$ZEPX_CAPTION" "text:SendInput(DirectX)")"
run_macro 20000
expect_eq "running status after the switch" "実行中 (_event) - Ctrl+Alt+Xで中断できます" "$RUN_STATUS"

close_zepx
expect_eq "window gone" "" "$(ctl --wait 0 find "$ZEPX_CAPTION" 2>/dev/null || true)"
echo "PASS $E2E_NAME"
