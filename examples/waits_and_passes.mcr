//ZEP Version 4.51
// Waits between commands, three passes over the list.
[±ÌßØ‚ğ‘O–Ê‚É]@@(–³‘è) - ƒƒ‚’ 
[Text]~~pass
Wait=1500
[Enter]
Wait=500
Key:300
Click:1000
Drag:1200
SftAltCtl:250
Loop:3
SendAPI:1
