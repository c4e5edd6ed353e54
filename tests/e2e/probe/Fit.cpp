// "fit TITLE": for each visible child window of that top-level window, the width its text
// takes in the control's own font against the width the control gives it, in pixels, as
// JSON. A font handle means nothing outside the program that made it, so the measuring is
// done inside that program, by the probe's hook library (FitHook.cpp).
#include <windows.h>

#include <string>

#include "FitShared.h"
#include "Modes.h"
#include "Text.h"

namespace probe {
namespace {

std::wstring HookLibraryPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"probe_fit.dll";
}

}  // namespace

int RunFit(const Arguments& args) {
  if (args.size() < 2) return 2;
  HWND window = FindWindowW(nullptr, args[1].c_str());
  if (window == nullptr) return 1;
  HANDLE mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FitRequest), kFitMapping);
  auto* request = mapping ? static_cast<FitRequest*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, kFitDone);
  HMODULE library = LoadLibraryW(HookLibraryPath().c_str());
  auto proc =
      library ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, "FitHookProc"))) : nullptr;
  if (request == nullptr || done == nullptr || proc == nullptr) {
    WriteStdout("{\"error\": \"the probe could not set up its measuring\"}\n");
    return 1;
  }
  request->window = window;
  request->json[0] = '\0';
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, proc, library, GetWindowThreadProcessId(window, nullptr));
  PostMessageW(window, RegisterWindowMessageW(kFitMessage), 0, 0);
  const bool answered = hook != nullptr && WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
  if (hook) UnhookWindowsHookEx(hook);
  WriteStdout(answered ? std::string(request->json) : "{\"error\": \"the program did not answer\"}\n");
  UnmapViewOfFile(request);
  CloseHandle(mapping);
  CloseHandle(done);
  return answered ? 0 : 1;
}

}  // namespace probe
