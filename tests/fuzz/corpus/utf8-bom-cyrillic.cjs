[Skin]
Format = 1
[Window]
Background = #102030
[Button]
Face = #405060
Font = Шрифт, 10, bold, 204
