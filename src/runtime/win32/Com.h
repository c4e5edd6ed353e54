// COM on the calling thread for as long as an object lives, and one owner per COM interface.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <objbase.h>

#include <memory>

namespace win32 {

// A thread that has COM already keeps it as it was.
class ComApartment {
 public:
  ComApartment()
      : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) ::CoUninitialize();
  }

 private:
  bool initialised_;
};

struct ComReleaser {
  void operator()(IUnknown* object) const noexcept { object->Release(); }
};
template <typename Interface>
using UniqueCom = std::unique_ptr<Interface, ComReleaser>;

}  // namespace win32
