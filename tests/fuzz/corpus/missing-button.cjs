[Skin]
Format=1
[Window]
Background=#000000
