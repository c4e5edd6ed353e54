// The peers of the controls a dialog adds to the model: the slider, the shortcut box, the
// press area and the list box.
#pragma once
#include <memory>

#include "runtime/controls/Controls.h"
#include "runtime/win32/ChildPeer.h"

namespace win32 {

std::unique_ptr<ChildPeer> MakeSliderPeer(PeerHost& host, rt::Slider& slider);
std::unique_ptr<ChildPeer> MakeShortcutBoxPeer(PeerHost& host, rt::ShortcutBox& box);
std::unique_ptr<ChildPeer> MakePressAreaPeer(PeerHost& host, rt::PressArea& area);
std::unique_ptr<ChildPeer> MakeListBoxPeer(PeerHost& host, rt::ListBox& list);

}  // namespace win32
