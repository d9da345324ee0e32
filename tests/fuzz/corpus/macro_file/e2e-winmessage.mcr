//ZEP Version 4.51
[Text]~~Ab!|>ZEPX probe <65614>
[Enter]|>ZEPX probe <65614>
[Text]~~日本語のテキスト|>ZEPX probe@@Edit <65620>
[Text]~~S|>ZEPX probe <131072>
L_Click:900x650
R_DClick:950x700
L_Drag:880x620
L_Drop:1000x720
Key:100
Click:100
Drag:200
SftAltCtl:50
Loop:1
SendAPI:2
