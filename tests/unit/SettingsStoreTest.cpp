// The per-user settings store and the UTF-16 form its texts take in the registry.
#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeServices.h"
#include "fakes/FakeTexts.h"
#include "runtime/Dialogs.h"
#include "settings/RegText.h"
#include "settings/SettingsStore.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
const std::wstring kSection = L"HKCU\\Software\\Kestrova\\Vornatic";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(registry.OpenHandles(), 0u) << "a key was left open"; }

  fake::FakeRegistry registry;
  fake::FakeDialogs dialogs;
  SettingsStore store{registry, dialogs, fake::English(), L"Vornatic"};
};

TEST_F(SettingsStoreTest, FirstWriteMakesTheKeysAndASecondKeepsOnlyTheLastText) {
  ASSERT_FALSE(registry.KeyExists(L"HKCU\\Software\\Kestrova"));

  store.SaveSetting(L"Kestrova", L"Vornatic", L"Windows Startup", L"On");
  EXPECT_TRUE(registry.KeyExists(L"HKCU\\Software\\Kestrova"));
  ASSERT_TRUE(registry.KeyExists(kSection));
  const auto value = registry.Value(kSection, L"Windows Startup");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, 1u);  // REG_SZ
  EXPECT_EQ(value->data, (Bytes{'O', 0, 'n', 0, 0, 0}));

  store.SaveSetting(L"Kestrova", L"Vornatic", L"Windows Startup", L"Off");
  EXPECT_EQ(registry.StringValue(kSection, L"Windows Startup"), L"Off");
  EXPECT_EQ(registry.ValueCount(kSection), 1u);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsStoreTest, ReadingGivesTheDefaultWhereverThePathEnds) {
  EXPECT_EQ(store.GetSetting(L"Kestrova", L"Vornatic", L"Minimized", L"Off"), L"Off");  // no application key

  registry.MakeKey(L"HKCU\\Software\\Kestrova");
  EXPECT_EQ(store.GetSetting(L"Kestrova", L"Vornatic", L"Minimized", L"Off"), L"Off");  // no section key

  store.SaveSetting(L"Kestrova", L"Vornatic", L"Windows Startup", L"On");
  EXPECT_EQ(store.GetSetting(L"Kestrova", L"Vornatic", L"Minimized", L"Off"), L"Off");  // no value
  EXPECT_EQ(store.GetSetting(L"Kestrova", L"Vornatic", L"windows startup", L"Off"), L"On");

  // A number where text belongs is not a choice we wrote.
  rt::RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(rt::kHkeyCurrentUser, L"Software\\Kestrova\\Vornatic", rt::reg::kKeyAllAccess, &key), 0);
  registry.SetValue(key, L"Minimized", rt::reg::kDword, Bytes{1, 0, 0, 0});
  registry.CloseKey(key);
  EXPECT_EQ(store.GetSetting(L"Kestrova", L"Vornatic", L"Minimized", L"Off"), L"Off");
}

TEST_F(SettingsStoreTest, ARefusedWriteIsToldOncePerRunAndTheProgramGoesOn) {
  registry.DenyWrites(kSection);

  store.SaveSetting(L"Kestrova", L"Vornatic", L"Windows Startup", L"On");
  store.SaveSetting(L"Kestrova", L"Vornatic", L"Minimized", L"On");
  store.SaveSetting(L"Kestrova", L"Vornatic", L"Windows Startup", L"Off");

  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find(L"could not save your choice"), std::wstring::npos);
  EXPECT_EQ(dialogs.shown[0].style, rt::mb::kOkOnly | rt::mb::kExclamation);
  EXPECT_EQ(dialogs.shown[0].title, L"Vornatic");
  EXPECT_FALSE(registry.Value(kSection, L"Windows Startup").has_value());

  // Another run starts with a store of its own and tells the user again.
  SettingsStore nextRun{registry, dialogs, fake::English(), L"Vornatic"};
  nextRun.SaveSetting(L"Kestrova", L"Vornatic", L"Minimized", L"Off");
  EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(SettingsStoreTest, AWriteRefusedInsideAnOpenKeyIsAlsoTold) {
  registry.MakeKey(kSection);
  registry.DenyAllWrites();
  store.SaveSetting(L"Kestrova", L"Vornatic", L"Minimized", L"On");
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(store.FailureReported());
}

TEST(RegTextTest, TextBecomesLittleEndianUtf16WithOneNul) {
  EXPECT_EQ(regtext::ToRegSz(L""), (Bytes{0, 0}));
  // é (U+00E9), Ж (U+0416), and a character outside the basic plane (U+1F5B1) as a pair.
  const std::wstring text = L"\u00E9\u0416\U0001F5B1";
  const Bytes expected{0xE9, 0x00, 0x16, 0x04, 0x3D, 0xD8, 0xB1, 0xDD, 0, 0};
  EXPECT_EQ(regtext::ToRegSz(text), expected);
  EXPECT_EQ(regtext::FromRegSz(expected), text);
}

TEST(RegTextTest, ReadingStopsAtTheFirstNulAndToleratesRaggedData) {
  EXPECT_EQ(regtext::FromRegSz(Bytes{'O', 0, 'n', 0, 0, 0, 'x', 0}), L"On");
  EXPECT_EQ(regtext::FromRegSz(Bytes{'O', 0, 'n', 0}), L"On");       // no NUL stored
  EXPECT_EQ(regtext::FromRegSz(Bytes{'O', 0, 'n', 0, 'f'}), L"On");  // odd byte left over
  EXPECT_EQ(regtext::FromRegSz(Bytes{}), L"");
  EXPECT_EQ(regtext::FromRegSz(Bytes{0x3D, 0xD8, 0, 0}).size(), 1u);  // a lone half of a pair stays one unit
}

}  // namespace
