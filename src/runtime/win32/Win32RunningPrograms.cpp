#include "runtime/win32/Win32RunningPrograms.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

#include "runtime/Text.h"
#include "runtime/win32/Handles.h"

namespace win32 {
namespace {

// Room for the longest path a program is started from in practice; a longer one is not
// told, which leaves the latch as it is.
constexpr std::size_t kPathChars = 2048;

// The file name of the process's image, into the buffer; 0 when it cannot be had.
std::size_t FileNameOfProcess(DWORD processId, std::span<wchar_t> buffer) noexcept {
  if (processId == 0) return 0;
  // Enough to ask a name, also of a program running as administrator.
  const UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return 0;
  std::array<wchar_t, kPathChars> path;
  DWORD length = static_cast<DWORD>(path.size());
  if (!::QueryFullProcessImageNameW(process.get(), 0, path.data(), &length)) return 0;
  const std::wstring_view whole(path.data(), length);
  const std::size_t slash = whole.find_last_of(L"\\/");
  const std::wstring_view name = slash == std::wstring_view::npos ? whole : whole.substr(slash + 1);
  if (name.empty() || name.size() > buffer.size()) return 0;
  std::copy(name.begin(), name.end(), buffer.begin());
  return name.size();
}

BOOL CALLBACK CollectProcess(HWND window, LPARAM into) {
  if (::IsWindowVisible(window) && ::GetWindowTextLengthW(window) > 0) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    reinterpret_cast<std::set<DWORD>*>(into)->insert(processId);
  }
  return TRUE;
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
    return rt::FoldFileNameCase(x) < rt::FoldFileNameCase(y);
  });
}

}  // namespace

std::vector<std::wstring> Win32RunningPrograms::WithOpenWindows() {
  std::set<DWORD> processes;
  ::EnumWindows(&CollectProcess, reinterpret_cast<LPARAM>(&processes));
  processes.erase(::GetCurrentProcessId());
  std::vector<std::wstring> names;
  for (const DWORD processId : processes) {
    std::array<wchar_t, kLongestFileName> name;
    const std::size_t length = FileNameOfProcess(processId, name);
    if (length > 0) names.emplace_back(name.data(), length);
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  // One entry a program, however many copies of it run.
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::wstring& a, const std::wstring& b) { return rt::SameFileName(a, b); }),
              names.end());
  return names;
}

std::size_t Win32RunningPrograms::FileNameOf(std::uint32_t program, std::span<wchar_t> buffer) noexcept {
  return FileNameOfProcess(program, buffer);
}

}  // namespace win32
