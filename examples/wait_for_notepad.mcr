//ZEP Version 4.51
// Start Notepad within 30 seconds: the run waits for its window, types into it,
// clicks at a point of its text area wherever the window is, then waits until
// Notepad is closed (at most ten minutes).
WaitWindow:Open,30000,Stop|–³‘è - ƒƒ‚’ @@Notepad
[±ÌßØ‚ğ‘O–Ê‚É]@@–³‘è - ƒƒ‚’ 
[Text]~~Hello
Win:LClick:40x40|–³‘è - ƒƒ‚’ @@Notepad
WaitWindow:Gone,600000,Next|–³‘è - ƒƒ‚’ @@Notepad
Key:300
Click:300
Drag:500
SftAltCtl:100
Loop:1
SendAPI:1
