; every key of the format
[Skin]
Format = 1
Name = Every Key

[Window]
Background = #E3EFF8
Text = #0B3954
Font = Tahoma, 9, bold

[Controls]
Background = #D0E4F2
Text = #123456

[Button]
Face = #1B6CA8
Text = #FFFFFF
Hover = #2F86C6
Pressed = #12507E
Border = #0B3954
Focus = #F4B400
Font = Arial Narrow, 11.25, regular, 204
