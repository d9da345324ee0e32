//ZEP Version 4.51
Wait=222
Wait=333
Loop:1
SendAPI:1
