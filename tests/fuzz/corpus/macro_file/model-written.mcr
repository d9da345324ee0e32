//ZEP Version 4.51
[Text]~~こんにちは表示|>メモ帳 <1234>
【ZEP Event 1】
[ｱﾌﾟﾘを前面に]@@ソフト
[↑]+Shift+Ctrl
L_Drag:10x20
L_Drop:300x20
Wait=1500
Key:800
Click:900
Drag:1100
SftAltCtl:50
Loop:3
SendAPI:2
