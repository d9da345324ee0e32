//ZEP Version 4.51
// The two timed events' action slots, run from within the list
// (set the slots in ZEPXê›íË > ZEP Event).
ÅyZEP Event 1Åz
Wait=1000
ÅyZEP Event 2Åz
Key:300
Click:1000
Drag:1200
SftAltCtl:250
Loop:1
SendAPI:1
