#include "runtime/win32/SessionNotification.h"

#include <wtsapi32.h>

namespace win32 {
namespace {
using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);
}  // namespace

SessionNotification::SessionNotification(HWND window) {
  const auto registerFor = wtsapi_.Find<RegisterFn>("WTSRegisterSessionNotification");
  if (registerFor != nullptr && registerFor(window, NOTIFY_FOR_THIS_SESSION)) window_ = window;
}

void SessionNotification::Stop() {
  if (window_ == nullptr) return;
  if (const auto unregister = wtsapi_.Find<UnregisterFn>("WTSUnRegisterSessionNotification")) unregister(window_);
  window_ = nullptr;
}

}  // namespace win32
