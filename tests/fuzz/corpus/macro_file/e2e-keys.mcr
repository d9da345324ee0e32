//ZEP Version 4.51
[±ÌßØ‚ð‘O–Ê‚É]@@ZEPX probe
[A]
[A]+Shift
[Text]~~Ab!
Key:100
Click:100
Drag:200
SftAltCtl:50
Loop:1
SendAPI:0
Click:700
