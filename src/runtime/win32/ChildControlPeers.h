// The peer that fits each kind of control in the model.
#pragma once
#include <memory>

#include "runtime/win32/ChildPeer.h"

namespace win32 {

// nullptr for a kind that has no window of its own (a component).
std::unique_ptr<ChildPeer> MakeChildPeer(PeerHost& host, rt::Control& control);

}  // namespace win32
