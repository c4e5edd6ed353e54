// "pointer": where the pointer is and which buttons the system holds down right now.
// This is how a scenario tells that no button was left stuck.
#include <windows.h>

#include <string>

#include "Modes.h"
#include "Text.h"

namespace probe {

int RunPointerQuery(const Arguments&) {
  POINT position{};
  GetCursorPos(&position);
  const bool left = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  const bool right = (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
  WriteStdout("{\"x\": " + std::to_string(position.x) + ", \"y\": " + std::to_string(position.y) +
              ", \"left\": " + (left ? "true" : "false") + ", \"right\": " + (right ? "true" : "false") + "}\n");
  return 0;
}

}  // namespace probe
