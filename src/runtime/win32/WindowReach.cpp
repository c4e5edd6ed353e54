#include "runtime/win32/WindowReach.h"

#include <vector>

#include "runtime/win32/Handles.h"

namespace win32 {

std::optional<DWORD> IntegrityLevelOf(HANDLE process) {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return std::nullopt;
  const UniqueKernelHandle token(rawToken);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> buffer(size);
  if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return std::nullopt;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
  const PSID sid = label->Label.Sid;
  if (sid == nullptr || !::IsValidSid(sid)) return std::nullopt;
  const UCHAR count = *::GetSidSubAuthorityCount(sid);
  if (count == 0) return std::nullopt;
  return *::GetSidSubAuthority(sid, count - 1u);
}

std::optional<DWORD> IntegrityLevelOfProcess(DWORD processId) {
  const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return std::nullopt;
  return IntegrityLevelOf(process.get());
}

bool InjectedInputReaches(POINT point) {
  const HWND window = ::WindowFromPoint(point);
  if (window == nullptr) return true;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  if (processId == 0 || processId == ::GetCurrentProcessId()) return true;
  const std::optional<DWORD> ours = IntegrityLevelOf(::GetCurrentProcess());
  const std::optional<DWORD> theirs = IntegrityLevelOfProcess(processId);
  if (!ours || !theirs) return true;
  return *theirs <= *ours;
}

}  // namespace win32
