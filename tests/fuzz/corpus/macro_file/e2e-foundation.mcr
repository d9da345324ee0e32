//ZEP Version 4.51
Wait=300
Wait=300
[±ÌßØ‚ð‘O–Ê‚É]@@ZEPX - foundation.mcr
Wait=300
Key:100
Click:100
Drag:200
SftAltCtl:50
Loop:2
SendAPI:1
