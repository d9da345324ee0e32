//ZEP Version 4.51
// WinMessage: keys and text posted to a window named by its title and
// class, in the background too. <0> is no window: with AutoHandle
// checked ZEPX finds Notepad's edit by its title and class at the start.
[Text]~~ZEPX‚©‚ç‚±‚ñ‚É‚¿‚ÍB|>(–³‘è) - ƒƒ‚’ @@Edit <0>
[Enter]|>(–³‘è) - ƒƒ‚’ @@Edit <0>
[Text]~~WinMessage reaches a window in the background.|>(–³‘è) - ƒƒ‚’ @@Edit <0>
[Enter]|>(–³‘è) - ƒƒ‚’ @@Edit <0>
Key:200
Click:1000
Drag:1200
SftAltCtl:250
Loop:1
SendAPI:2
