// The smaller services: registry roots, random numbers, starting programs.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "runtime/Failure.h"
#include "runtime/win32/Win32ProgramStarter.h"
#include "runtime/win32/Win32Random.h"
#include "runtime/win32/Win32Registry.h"

namespace {

TEST(RegistryRootsTest, TheProgramsRootNumbersAreWindowsPredefinedKeys) {
  EXPECT_EQ(win32::ToHkey(rt::kHkeyCurrentUser), HKEY_CURRENT_USER);
  EXPECT_EQ(win32::ToHkey(rt::kHkeyLocalMachine), HKEY_LOCAL_MACHINE);
  win32::Win32Registry registry;
  rt::RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(rt::kHkeyCurrentUser, L"Software", rt::reg::kKeyRead, &key), rt::reg::kSuccess);
  EXPECT_NE(key, 0u);
  EXPECT_EQ(registry.CloseKey(key), rt::reg::kSuccess);
  EXPECT_EQ(registry.OpenKey(rt::kHkeyCurrentUser, L"Software\\No Such Key 7f3a", rt::reg::kKeyRead, &key),
            rt::reg::kFileNotFound);
  EXPECT_EQ(key, 0u);
}

TEST(RandomTest, ASeedRepeatsItsSequenceAndNumbersStayBelowOne) {
  win32::Win32Random random;
  random.Randomize(1234.5);
  std::vector<float> first;
  for (int i = 0; i < 1000; ++i) first.push_back(random.Rnd());
  random.Randomize(1234.5);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(random.Rnd(), first[i]);
  for (float r : first) {
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
  }
  random.Randomize(1234.25);
  EXPECT_NE(random.Rnd(), first[0]);
}

TEST(ProgramStarterTest, AProgramThatCannotStartFails) {
  win32::Win32ProgramStarter starter;
  EXPECT_THROW(starter.Start(L"Z:\\no\\such\\program-7f3a.exe", SW_SHOWMINIMIZED), rt::Failure);
  EXPECT_NO_THROW(starter.Start(L"cmd.exe /c exit 0", SW_SHOWMINIMIZED));
}

}  // namespace
