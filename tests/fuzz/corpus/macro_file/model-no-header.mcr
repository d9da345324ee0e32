[F1]
Wait=5

Loop:2
 garbage