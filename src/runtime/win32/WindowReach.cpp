#include "runtime/win32/WindowReach.h"

#include "runtime/win32/Handles.h"

namespace win32 {

std::optional<DWORD> IntegrityLevelOf(HANDLE process) {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return std::nullopt;
  const UniqueKernelHandle token(rawToken);
  // The label and its one SID fit on the stack: no allocation, since the hook asks this.
  alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenIntegrityLevel, buffer, sizeof(buffer), &size)) return std::nullopt;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
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

bool InjectedInputReachesProcess(DWORD processId, std::optional<DWORD> ourLevel) {
  if (processId == 0 || processId == ::GetCurrentProcessId()) return true;
  const std::optional<DWORD> theirs = IntegrityLevelOfProcess(processId);
  if (!ourLevel || !theirs) return true;
  return *theirs <= *ourLevel;
}

bool InjectedInputReaches(HWND window, std::optional<DWORD> ourLevel) {
  if (window == nullptr) return true;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  return InjectedInputReachesProcess(processId, ourLevel);
}

}  // namespace win32
