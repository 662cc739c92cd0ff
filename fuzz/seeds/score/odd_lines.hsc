  99999999999
-5
x

+12 trailing
