#include "fakes/FakeMouse.h"

#include "runtime/Failure.h"

namespace fake {

namespace {
constexpr std::uint32_t kInjectedFlag = 1;  // LLMHF_INJECTED
}

rt::HookHandle FakeMouse::SetLowLevelHook(rt::MouseHookProcedure procedure) {
  if (failNextHook) {
    failNextHook = false;
    return 0;
  }
  ++hooksInstalled;
  const auto handle = nextHandle_++;
  hooks_[handle] = std::move(procedure);
  return handle;
}

bool FakeMouse::Unhook(rt::HookHandle handle) {
  ++unhookCalls;
  return hooks_.erase(handle) != 0;
}

std::intptr_t FakeMouse::CallNextHook(rt::HookHandle, int, std::uintptr_t message,
                                      const rt::LowLevelMouseEvent& event) {
  ++callNextCalls;
  delivered.push_back(
      {clock_.Now(), static_cast<std::uint32_t>(message), event.extraInfo, (event.flags & kInjectedFlag) != 0});
  return nextHookResult;
}

std::intptr_t FakeMouse::Deliver(std::uint32_t message, std::uintptr_t extraInfo, bool injected, int code) {
  rt::LowLevelMouseEvent event;
  event.extraInfo = extraInfo;
  event.flags = injected ? kInjectedFlag : 0;
  event.time = static_cast<std::uint32_t>(clock_.Now() * 1000);
  if (hooks_.empty()) {
    delivered.push_back({clock_.Now(), message, extraInfo, injected});
    return 0;
  }
  // The newest hook is called first, as the system does; copy it, the call may unhook.
  auto procedure = hooks_.rbegin()->second;
  return procedure(code, message, event);
}

void FakeMouse::InjectLeftButton(rt::LeftButtonAction action, std::uintptr_t extraInfo) {
  if (failNextPress && action == rt::LeftButtonAction::Press) {
    failNextPress = false;
    throw rt::Failure(L"Injection refused");
  }
  injections.push_back({clock_.Now(), action, extraInfo});
  const std::uint32_t message = action == rt::LeftButtonAction::Press ? 0x0201u : 0x0202u;
  // Injected input joins the input stream; the hook sees it when the thread next pumps.
  pump_.Post([this, message, extraInfo] { Deliver(message, extraInfo, true); });
}

void FakeMouse::UserEventAt(double at, std::uint32_t message, std::uintptr_t extraInfo, bool injected) {
  pump_.At(at, [this, message, extraInfo, injected] { Deliver(message, extraInfo, injected); });
}

void FakeMouse::UserClickAt(double at, double pressedFor) {
  UserEventAt(at, 0x0201);
  UserEventAt(at + pressedFor, 0x0202);
}

std::vector<DeliveredMouseEvent> FakeMouse::DeliveredOf(std::uint32_t message) const {
  std::vector<DeliveredMouseEvent> result;
  for (const auto& e : delivered)
    if (e.message == message) result.push_back(e);
  return result;
}

}  // namespace fake
