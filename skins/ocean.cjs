; Ocean: a calm blue skin for Vornatic.
; To use it, copy this file into a folder named "x" beside Vornatic.exe and name the copy
; o.cjs (so that it is x\o.cjs), then start Vornatic again. docs/skin-format.md says what
; every line means.

[Skin]
Format = 1
Name = Ocean

[Window]
Background = #E3EFF8
Text = #0B3954
Font = Tahoma, 9, bold

[Controls]
; Frames, labels and check boxes.
Background = #E3EFF8
Text = #0B3954

[Button]
Face = #1B6CA8
Text = #FFFFFF
Hover = #2F86C6
Pressed = #12507E
Border = #0B3954
Focus = #F4B400
Font = Tahoma, 11, bold
