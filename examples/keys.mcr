//ZEP Version 4.51
// Keys, sent to the window in front: a letter, a letter with Shift,
// Enter, an arrow key and a function key with Ctrl.
[±ÌßØ‚ğ‘O–Ê‚É]@@(–³‘è) - ƒƒ‚’ 
[Z]
[E]+Shift
[P]
[X]+Shift
[Enter]
[ª]
[End]
[F5]+Ctrl
Key:300
Click:1000
Drag:1200
SftAltCtl:250
Loop:1
SendAPI:0
