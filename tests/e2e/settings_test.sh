#!/usr/bin/env bash
# Settings in the real registry: a first start without the key is silent and
# its exit writes every value with its type; a key from an older version
# that lacks a value stops the load there with the first-run notice, keeps
# what was read before it, and is completed by the next exit, after which
# the notice does not come back.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/life_lib.sh"
reset_settings

# ---- first start: no key ------------------------------------------------------------
expect_eq "key absent before the first start" "" "$(reg_values)"
start_zepx_as "ZEPX"
echo "     first start done after ${START_MS} ms"
expect_no_box "first start without the key"
expect_eq "Run caption" "実行
(Ctrl+Alt+S)" "$(ctl text ZEPX 'prefix:実行\r\n' | tr -d '\r')"
expect_eq "still no key while running" "" "$(reg_values)"
close_zepx

dwords="AutoHandleChecked AutoRunChecked DCutCheck DCutCheck2 DCutHour DCutHour2 DCutMin DCutMin2
ECom11Index ECom12Index ECom13Index ECom14Index ECom15Index ECom21Index ECom22Index ECom23Index
ECom24Index ECom25Index ERadio2Index EndComboIndex FormLeft FormTop Layered LoCheck
LoopOfLoopChecked MinChecked PostMouseChecked PostRadioGroupIndex Radio1Index Radio2Index
StartComboIndex TopCheck WideCheck"
strings="DefMCRPath Exec1 Exec2 LastAddress Loop1 Loop2 Loop3 Loop4 Loop5 SarchAll SarchSay Say
StartAddress pLastAddress"
expected_types=$({
  for n in $dwords; do echo "$n REG_DWORD"; done
  for n in $strings; do echo "$n REG_SZ"; done
} | LC_ALL=C sort)
values=$(reg_values)
expect_eq "47 values written at exit, each with its type" "$expected_types" "$(awk '{print $1, $2}' <<<"$values")"
expect_eq "PostRadioGroupIndex" "REG_DWORD 0x1" "$(reg_get PostRadioGroupIndex)"
expect_eq "Layered" "REG_DWORD 0xff" "$(reg_get Layered)"
expect_eq "StartComboIndex" "REG_DWORD 0x12" "$(reg_get StartComboIndex)"
expect_eq "EndComboIndex" "REG_DWORD 0x17" "$(reg_get EndComboIndex)"
expect_eq "AutoHandleChecked" "REG_DWORD 0x1" "$(reg_get AutoHandleChecked)"
expect_eq "LogoutDateTime not written" "" "$(reg_get LogoutDateTime)"

# ---- a key without Layered ------------------------------------------------------------
# Values before Layered in load order are read; those after it keep their
# start values. DefMCRPath names a folder that does not exist: it is
# cleared together with Radio1Index. Say is empty and reads as "hi".
reg_remove Layered
reg_dword DCutCheck 1
reg_dword DCutHour 7
reg_dword Radio1Index 1
reg_sz DefMCRPath 'Z:\no\such\folder'
reg_dword StartComboIndex 1
reg_dword EndComboIndex 2
reg_dword AutoRunChecked 1

t0=$(now_ms)
spawn "$ZEPX_EXE" >>"$WORK/zepx.out" 2>&1
ZEPX_PID=$SPAWNED
ZEPX_CAPTION=ZEPX
wait_box 30000
echo "     notice shown $(($(now_ms) - t0)) ms after the start"
expect_eq "notice caption" "ZEPX" "$BOX_CAPTION"
expect_eq "first-run notice" \
  '一部レジストリ項目が見つかりませんでした.\r\nZEPX終了時に項目を新たに作成します.\r\nZEPXを初めて起動するときや、新バージョンを導入したときはこのメッセージが表示されます.' \
  "$BOX_TEXT"
shot_of "#$BOX_HWND" "$WORK/first-run-notice.png"
import -window root "$WORK/first-run-notice-screen.png"
wait_for 10 main_hwnd ZEPX || fail "no main window behind the notice"
ZEPX_HWND=$(main_hwnd ZEPX)
started "$ZEPX_HWND" && fail "start-up went on while the notice was up"
life answer "$BOX_HWND" 1
wait_for 10 started "$ZEPX_HWND" || fail "start-up did not finish after the notice was answered"
expect_no_box "after OK"

expect_eq "Run caption keeps S (the load stopped before StartComboIndex)" "実行
(Ctrl+Alt+S)" "$(ctl text ZEPX 'prefix:実行\r\n' | tr -d '\r')"
expect_eq "Stop caption keeps X" "待機
(Ctrl+Alt+X)" "$(ctl text ZEPX 'prefix:待機\r\n' | tr -d '\r')"
expect_eq "Event 1 check box loaded (before Layered)" "1" "$(ctl getcheck ZEPX 'text:ZEP Event 1')"
expect_eq "AutoHandle check box at its default" "1" "$(ctl getcheck ZEPX 'prefix:ウインドウハンドルの数値が')"

# The exit button completes the key with what the program holds.
ctl click ZEPX 'text:ZEPXを終了'
wait_for 15 not_running "$ZEPX_PID" || fail "zepx.exe still running after ZEPXを終了"
expect_eq "value names and types after the completing exit" "$expected_types" "$(reg_values | awk '{print $1, $2}')"
expect_eq "Layered written again" "REG_DWORD 0xff" "$(reg_get Layered)"
expect_eq "DCutCheck kept" "REG_DWORD 0x1" "$(reg_get DCutCheck)"
expect_eq "DCutHour kept" "REG_DWORD 0x7" "$(reg_get DCutHour)"
expect_eq "missing folder cleared" "REG_SZ" "$(reg_get DefMCRPath)"
expect_eq "Radio1Index back to 0 with it" "REG_DWORD 0x0" "$(reg_get Radio1Index)"
expect_eq "empty Say read as hi" "REG_SZ hi" "$(reg_get Say)"
expect_eq "StartComboIndex: start value, not the unread 1" "REG_DWORD 0x12" "$(reg_get StartComboIndex)"
expect_eq "EndComboIndex: start value" "REG_DWORD 0x17" "$(reg_get EndComboIndex)"
expect_eq "AutoRunChecked: not reached, so false" "REG_DWORD 0x0" "$(reg_get AutoRunChecked)"
expect_eq "StartAddress: not reached, so still empty" "REG_SZ" "$(reg_get StartAddress)"

# ---- the completed key loads silently and in full ---------------------------------------
reg_dword StartComboIndex 1
reg_dword EndComboIndex 2
start_zepx_as "ZEPX"
echo "     start with the full key done after ${START_MS} ms"
expect_no_box "start with the completed key"
expect_eq "Run caption from StartComboIndex 1" "実行
(Ctrl+Alt+B)" "$(ctl text ZEPX 'prefix:実行\r\n' | tr -d '\r')"
expect_eq "Stop caption from EndComboIndex 2" "待機
(Ctrl+Alt+C)" "$(ctl text ZEPX 'prefix:待機\r\n' | tr -d '\r')"
close_zepx
expect_eq "letters saved back" "REG_DWORD 0x1 REG_DWORD 0x2" "$(reg_get StartComboIndex) $(reg_get EndComboIndex)"
echo "PASS $E2E_NAME"
