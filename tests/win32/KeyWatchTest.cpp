// Watching a registry key for the administrator's changes, against the real registry: a key
// that does not exist yet is watched through its parent, each change (made, written,
// deleted) reaches the program on its own thread, and after the watch ends none does.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "PumpUntil.h"
#include "runtime/win32/FailureRoute.h"
#include "runtime/win32/Win32EventPump.h"
#include "runtime/win32/Win32Registry.h"

namespace {

const wchar_t* const kParent = L"Software\\Kestrova\\VornaticKeyWatchTest";
// As the program watches Software\Policies for the values in a key below it.
const wchar_t* const kWatched = L"Software\\Kestrova\\VornaticKeyWatchTest\\Policies";
const wchar_t* const kValues = L"Software\\Kestrova\\VornaticKeyWatchTest\\Policies\\Kestrova\\Vornatic";
const wchar_t* const kMaker = L"Software\\Kestrova\\VornaticKeyWatchTest\\Policies\\Kestrova";

TEST(KeyWatchTest, EveryChangeAtOrBelowTheKeyIsToldOnTheWindowsThread) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kParent);
  HKEY parent = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kParent, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parent, nullptr), 0);
  ::RegCloseKey(parent);
  win32::FailureRoute failures;
  win32::Win32EventPump pump(::GetModuleHandleW(nullptr), failures);
  win32::Win32Registry registry;
  const DWORD thread = ::GetCurrentThreadId();
  int calls = 0;
  bool onThisThread = true;
  auto watch = registry.WatchKey(rt::kHkeyCurrentUser, kWatched, pump, [&] {
    ++calls;
    onThisThread = onThisThread && ::GetCurrentThreadId() == thread;
  });
  const auto toldAgain = [&](int before) { return win32test::PumpUntil(pump, [&] { return calls > before; }); };

  int before = calls;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kValues, L"Latch", REG_SZ, L"600", 8), 0);
  EXPECT_TRUE(toldAgain(before)) << "the keys made with the value";
  before = calls;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kValues, L"Latch", REG_SZ, L"900", 8), 0);
  EXPECT_TRUE(toldAgain(before)) << "the value written again";
  before = calls;
  ASSERT_EQ(::RegDeleteKeyValueW(HKEY_CURRENT_USER, kValues, L"Latch"), 0);
  EXPECT_TRUE(toldAgain(before)) << "the value deleted";
  before = calls;
  // Group Policy takes the program's key away with its last value.
  ASSERT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, kMaker), 0);
  EXPECT_TRUE(toldAgain(before)) << "the keys deleted";
  EXPECT_TRUE(onThisThread);

  watch.reset();
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kParent, L"Latch", REG_SZ, L"600", 8), 0);
  before = calls;
  EXPECT_FALSE(win32test::PumpUntil(pump, [&] { return calls > before; }, std::chrono::milliseconds(300)));
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kParent);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kParent);
}

}  // namespace
