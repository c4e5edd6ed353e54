# header
  [ SKIN ] ; c
format=1
[window]background=#abcdef
[button]
face=#000000