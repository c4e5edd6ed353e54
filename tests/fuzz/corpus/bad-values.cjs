[Skin]
Format = 1
[Window]
Background = #102030
[Button]
Face = #405060
Hover = #12345
Font = Arial, 11.255
