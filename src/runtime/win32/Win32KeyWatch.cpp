#include "runtime/win32/Win32KeyWatch.h"


namespace win32 {
namespace {

constexpr DWORD kWhatChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

}  // namespace

Win32KeyWatch::Win32KeyWatch(HKEY root, std::wstring subKey, rt::EventPump& pump, std::function<void()> changed)
    : root_(root), subKey_(std::move(subKey)), changed_(std::move(changed)) {
  event_.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!event_) return;
  doorbell_ = pump.MakeDoorbell([this] {
    // Armed again before the key is read, so that a change made while it is read is seen.
    Arm();
    changed_();
  });
  Arm();
  if (!::RegisterWaitForSingleObject(&wait_, event_.get(), &Win32KeyWatch::Signalled, this, INFINITE,
                                     WT_EXECUTEINWAITTHREAD))
    wait_ = nullptr;
}

Win32KeyWatch::~Win32KeyWatch() {
  // Waits for a callback under way, so that none rings a doorbell that is gone.
  if (wait_ != nullptr) ::UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
}

void Win32KeyWatch::Arm() {
  std::wstring path = subKey_;
  for (;;) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root_, path.c_str(), 0, KEY_NOTIFY, &opened) == ERROR_SUCCESS) {
      watched_.reset(opened);
      break;
    }
    if (path.empty()) {
      watched_.reset();
      return;
    }
    const std::size_t slash = path.rfind(L'\\');
    path.resize(slash == std::wstring::npos ? 0 : slash);
  }
  // Each registration answers once; a failed one leaves the values as last read.
  ::RegNotifyChangeKeyValue(watched_.get(), TRUE, kWhatChanges, event_.get(), TRUE);
}

void CALLBACK Win32KeyWatch::Signalled(void* self, BOOLEAN /*timedOut*/) {
  // A ring that cannot be sent now is lost with the change it stood for; the next change rings again.
  static_cast<Win32KeyWatch*>(self)->doorbell_->Ring();
}

}  // namespace win32
