//ZEP Version 4.51
// Clicks, a double click, a right click and a drag and drop at screen
// points. Pick your own points with the window picker (XYButton).
L_Click:300x300
L_DClick:320x300
R_Click:340x300
L_Drag:300x320
L_Drop:500x320
Key:300
Click:500
Drag:800
SftAltCtl:250
Loop:1
SendAPI:1
