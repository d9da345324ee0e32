; note
Loop:2

[F1]+Ctrl|>Ultima Online <1234>
L_Drop:NoSet
[Text]~~Key:1
Loop:4
SendAPI:0x2
Key: -7
// [F2]
