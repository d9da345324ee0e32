//ZEP Version 4.51
; c

SendAPI:2
[F1]
Loops:5
[F2]
