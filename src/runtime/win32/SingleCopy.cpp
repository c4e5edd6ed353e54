#include "runtime/win32/SingleCopy.h"

#include <shellapi.h>

#include <memory>

namespace win32 {
namespace {

// Local\ is the user's session: another user signed in on the same machine (or switched to)
// runs a copy of their own.
constexpr wchar_t kMutexName[] = L"Local\\Vornatic.OneCopyPerSession";

struct LocalFreer {
  void operator()(LPWSTR* block) const noexcept { ::LocalFree(block); }
};

}  // namespace

SingleCopy::SingleCopy() {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kMutexName);
  const DWORD error = ::GetLastError();
  mutex_.reset(mutex);
  if (mutex != nullptr)
    first_ = error != ERROR_ALREADY_EXISTS;
  else
    // A copy run by another user in this same session holds it and we may not open it; its
    // hook sees the same clicks, so this one is a second copy too. Any other refusal says
    // nothing about other copies, and running twice beats not running at all.
    first_ = error != ERROR_ACCESS_DENIED;
}

bool IsLogonStart(const wchar_t* commandLine) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreer> args(::CommandLineToArgvW(commandLine, &count));
  for (int i = 1; args && i < count; ++i)
    if (::CompareStringOrdinal(args.get()[i], -1, L"/logon", -1, TRUE) == CSTR_EQUAL) return true;
  return false;
}

}  // namespace win32
