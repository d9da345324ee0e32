//ZEP Version 4.51
// The demonstration bash scripts/run.sh gives without arguments: Wine's
// Notepad is typed into by WinMessage (in the background, Japanese
// included) and clicked into; its edit is found by title and class.
[Text]~~ZEPXのデモです。このテキストはWinMessageで送られました。|>(無題) - メモ帳@@Edit <0>
[Enter]|>(無題) - メモ帳@@Edit <0>
[Text]~~Typed by ZEPX, one WM_CHAR per byte.|>(無題) - メモ帳@@Edit <0>
[Enter]|>(無題) - メモ帳@@Edit <0>
L_Click:40x43
[Text]~~<クリックでここへ>|>(無題) - メモ帳@@Edit <0>
Key:150
Click:500
Drag:1200
SftAltCtl:250
Loop:1
SendAPI:2
