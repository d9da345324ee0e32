//ZEP Version 4.51
// Text typed into the window in front (SendInput). Japanese text reaches
// a window only by WinMessage: see winmessage_notepad.mcr.
[±ÌßØ‚ğ‘O–Ê‚É]@@(–³‘è) - ƒƒ‚’ 
[Text]~~Hello from ZEPX
[Enter]
Key:300
Click:1000
Drag:1200
SftAltCtl:250
Loop:1
SendAPI:1
