// The administrator's choices on the fakes: a policy value wins over the user's own,
// HKEY_LOCAL_MACHINE's over HKEY_CURRENT_USER's, one that cannot be read is said once and
// left out, a change is read while the program runs, and what a policy decides is greyed.
#include <gtest/gtest.h>

#include "fakes/FakeMenusAndWindows.h"
#include "settings/RegText.h"
#include "app/Program.h"
#include "fakes/FakePlatform.h"

namespace {

constexpr const wchar_t* kPolicyKey = L"Software\\Policies\\Kestrova\\Vornatic";

// A whole program on the fakes, with the registry written as an administrator and the user would.
struct PolicyWorld {
  fake::FakePlatform fakes;
  Program program{fakes.platform};
  Form1& form = program.Window();
  modMouse& mouse = program.Mouse();

  void Start() {
    form.cSysTray1Site.SetHandle(0x2001);
    form.Me.SetHandle(0x1001);
    program.Start();
  }
  void Write(rt::RegKey root, const std::wstring& subKey, const std::wstring& name, std::uint32_t type,
             const std::vector<std::uint8_t>& data) {
    const rt::OpenedKey key = rt::CreateRegistryKey(fakes.registry, root, subKey, rt::reg::kKeyAllAccess);
    EXPECT_EQ(fakes.registry.SetValue(key.key.get(), name, type, data), rt::reg::kSuccess);
  }
  void Policy(rt::RegKey root, const std::wstring& name, const std::wstring& text) {
    Write(root, kPolicyKey, name, rt::reg::kSz, regtext::ToRegSz(text));
  }
  void PolicySwitch(rt::RegKey root, const std::wstring& name, std::uint32_t value) {
    Write(root, kPolicyKey, name, rt::reg::kDword,
          {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8), 0, 0});
  }
  // As Group Policy's list box writes it: a key of its own, the items named 1, 2, 3, ...
  void PolicyList(rt::RegKey root, const std::vector<std::wstring>& items, std::uint32_t type = rt::reg::kSz) {
    for (std::size_t i = 0; i < items.size(); ++i)
      Write(root, std::wstring(kPolicyKey) + L"\\LatchExceptions", std::to_wstring(i + 1), type,
            regtext::ToRegSz(items[i]));
  }
  void RemovePolicy(rt::RegKey root, const std::wstring& name) {
    const rt::OpenedKey key = rt::OpenRegistryKey(fakes.registry, root, kPolicyKey, rt::reg::kKeyAllAccess);
    EXPECT_EQ(fakes.registry.DeleteValue(key.key.get(), name), rt::reg::kSuccess);
  }
  void User(const std::wstring& name, const std::wstring& text) {
    Write(rt::kHkeyCurrentUser, L"Software\\Kestrova\\Vornatic", name, rt::reg::kSz, regtext::ToRegSz(text));
  }
  std::optional<std::wstring> UserValue(const std::wstring& name) {
    return fakes.registry.StringValue(L"HKCU\\Software\\Kestrova\\Vornatic", name);
  }
  // The hold time the Settings window opens with, or 0 when the latch is off.
  int LatchShown() {
    form.SettingsDialog().Me.SetVisible(false);
    form.PushButton3.RaiseClick();
    const SettingsWindow& dialog = form.SettingsDialog();
    return dialog.LatchBox.Value() == 1 ? dialog.HoldSlider.Value() : 0;
  }
  std::size_t Balloons() {
    std::size_t balloons = 0;
    for (const auto& call : fakes.tray.calls)
      balloons += call.command == rt::nim::kModify && (call.record.uFlags & rt::nif::kInfo) && call.record.szInfo[0];
    return balloons;
  }
  const rt::MenuItem& TrayMenuItem(int command) {
    fakes.menus.choose = 0;
    form.cSysTray1.HandleTrayMessage(rt::msg::kContextMenu, 0);
    for (const rt::MenuItem& item : fakes.menus.shown.back())
      if (item.command == command) return item;
    throw std::runtime_error("no such item");
  }
};

class PolicyTest : public ::testing::Test, protected PolicyWorld {};

TEST_F(PolicyTest, PrecedenceAndWhatCannotBeRead) {
  using Write = std::function<void(PolicyWorld&)>;
  const auto latch = [](rt::RegKey root, const wchar_t* text) {
    return [=](PolicyWorld& t) { t.Policy(root, L"Latch", text); };
  };
  const auto hklm = rt::kHkeyLocalMachine, hkcu = rt::kHkeyCurrentUser;
  const auto list = [](rt::RegKey root, std::vector<std::wstring> items) {
    return [=](PolicyWorld& t) { t.PolicyList(root, items); };
  };
  using Names = std::vector<std::wstring>;
  struct Case {
    const char* what;
    std::vector<Write> writes;
    int holdMs;  // 0: off
    std::size_t balloons;
    Names exceptions = {L"user.exe"};
  };
  const std::vector<Case> cases{
      {"the user's own", {}, 0, 0},
      {"policy over the user's", {latch(hklm, L"600")}, 600, 0},
      {"a user's policy over the user's", {latch(hkcu, L"1200")}, 1200, 0},
      {"the machine's over the user's policy", {latch(hkcu, L"1200"), latch(hklm, L"600")}, 600, 0},
      {"a policy of Off", {latch(hklm, L"Off")}, 0, 0},
      {"unreadable: the next source holds", {latch(hklm, L"soon"), latch(hkcu, L"900")}, 900, 1},
      {"unreadable: the user's own holds", {latch(hklm, L"99")}, 0, 1},
      {"the wrong type is unreadable", {[](PolicyWorld& t) { t.PolicySwitch(rt::kHkeyLocalMachine, L"Latch", 600); }}, 0, 1},
      {"two unreadable, said in one balloon", {latch(hklm, L"x"), latch(hkcu, L"y")}, 0, 1},
      {"a list over the user's", {list(hkcu, {L"a.exe", L"b.exe"})}, 0, 0, Names{L"a.exe", L"b.exe"}},
      {"the machine's list over the user's policy", {list(hkcu, {L"a.exe"}), list(hklm, {L"m.exe"})}, 0, 0,
       Names{L"m.exe"}},
      {"an empty list key decides nothing", {list(hklm, {})}, 0, 0},
      {"a path in the list: the next source holds", {list(hklm, {L"C:\\x.exe"}), list(hkcu, {L"a.exe"})}, 0, 1,
       Names{L"a.exe"}},
      {"a list of numbers is unreadable",
       {[](PolicyWorld& t) { t.PolicyList(rt::kHkeyLocalMachine, {L"7"}, rt::reg::kDword); }}, 0, 1},
  };
  for (const Case& c : cases) {
    PolicyWorld t;
    t.User(L"Latch", L"Off");
    t.Write(rt::kHkeyCurrentUser, L"Software\\Kestrova\\Vornatic", L"LatchExceptions", rt::reg::kMultiSz,
            regtext::ToRegMultiSz({L"user.exe"}));
    for (const Write& write : c.writes) write(t);
    t.Start();
    EXPECT_EQ(t.LatchShown(), c.holdMs) << c.what;
    EXPECT_EQ(t.mouse.LatchOn(), c.holdMs != 0) << c.what;
    EXPECT_EQ(t.Balloons(), c.balloons) << c.what;
    EXPECT_EQ(t.form.SettingsDialog().LatchBox.Enabled(), c.holdMs == 0 && c.what != std::string("a policy of Off"))
        << c.what;
    EXPECT_EQ(t.form.SettingsDialog().ExceptionList.Items(), c.exceptions) << c.what;
    EXPECT_EQ(t.form.SettingsDialog().ExceptionsPolicyNote.Visible(), c.exceptions != Names{L"user.exe"}) << c.what;
    // What the user applies under a decided list leaves their own stored list alone.
    t.form.SettingsDialog().ApplyButton.SetEnabled(true);
    t.form.SettingsDialog().OkButton.RaiseClick();
    EXPECT_EQ(t.form.Settings().GetList(L"Kestrova", L"Vornatic", L"LatchExceptions"), Names{L"user.exe"})
        << c.what;
  }
}

// Group Policy rewrites the values while the user works: each change counts at once, an
// unreadable value is said once however often it is read, and removing the value lets the
// user's own choice hold again. What the user applies meanwhile never overwrites their own.
TEST_F(PolicyTest, AChangeCountsAtOnceAndRemovingItGivesTheUserTheirChoiceBack) {
  User(L"Latch", L"Off");
  User(L"Indicator", L"On");
  Start();
  EXPECT_FALSE(mouse.LatchOn());

  Policy(rt::kHkeyLocalMachine, L"Latch", L"600");
  fakes.pump.RunUntil(1);
  EXPECT_TRUE(mouse.LatchOn());
  EXPECT_TRUE(TrayMenuItem(Form1::kLatchCommand).grayed);
  EXPECT_EQ(LatchShown(), 600);
  SettingsWindow& dialog = form.SettingsDialog();
  EXPECT_FALSE(dialog.LatchBox.Enabled());
  EXPECT_FALSE(dialog.HoldSlider.Enabled());
  EXPECT_TRUE(dialog.LatchPolicyNote.Visible());
  EXPECT_EQ(dialog.LatchPolicyNote.Caption(), L"Set by your organisation");
  EXPECT_TRUE(dialog.BadgeBox.Enabled());
  EXPECT_FALSE(dialog.BadgePolicyNote.Visible());
  // The user changes what is still theirs and applies: the latch they did not choose stays unwritten.
  dialog.BadgeBox.ToggleByUser();
  dialog.ApplyButton.RaiseClick();
  EXPECT_EQ(UserValue(L"Latch"), L"Off");
  EXPECT_EQ(UserValue(L"Indicator"), L"Off");

  Policy(rt::kHkeyCurrentUser, L"Indicator", L"sometimes");
  fakes.pump.RunUntil(2);
  Policy(rt::kHkeyCurrentUser, L"Hotkey", L"Ctrl+Alt+D");
  fakes.pump.RunUntil(3);
  EXPECT_EQ(Balloons(), 1u) << "the unreadable Indicator, once";
  // The open window follows at once.
  EXPECT_FALSE(dialog.ShortcutField.Enabled());
  EXPECT_EQ(dialog.ShortcutNote.Caption(), L"Set by your organisation");

  RemovePolicy(rt::kHkeyLocalMachine, L"Latch");
  fakes.pump.RunUntil(4);
  EXPECT_FALSE(mouse.LatchOn());
  EXPECT_FALSE(TrayMenuItem(Form1::kLatchCommand).grayed);
  EXPECT_TRUE(dialog.LatchBox.Enabled());
  EXPECT_FALSE(dialog.LatchPolicyNote.Visible());
}

// "No start at logon" clears and greys the box and takes out the entry we made; lifted,
// the user's stored choice holds again. "No Settings window" greys every way in and closes it.
TEST_F(PolicyTest, TheSwitchesTurnOffTheLogonBoxAndTheSettingsWindow) {
  User(L"Windows Startup", L"On");
  Start();
  ASSERT_EQ(form.Check4.Value(), 0) << "no entry in the Run key: the box shows what the next logon does";
  form.Check4.ToggleByUser();
  const auto entries = [this] {
    return fakes.registry.ValueCount(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  };
  ASSERT_EQ(entries(), 1u);
  form.PushButton3.RaiseClick();
  ASSERT_TRUE(form.SettingsDialog().IsOpen());

  PolicySwitch(rt::kHkeyLocalMachine, L"DisableRunAtLogon", 1);
  PolicySwitch(rt::kHkeyCurrentUser, L"DisableSettings", 1);
  fakes.pump.RunUntil(1);
  EXPECT_EQ(form.Check4.Value(), 0);
  EXPECT_FALSE(form.Check4.Enabled());
  EXPECT_FALSE(form.Check8.Visible());
  EXPECT_EQ(entries(), 0u);
  EXPECT_EQ(UserValue(L"Windows Startup"), L"On") << "the user's own choice stays";
  EXPECT_FALSE(form.PushButton3.Enabled());
  EXPECT_FALSE(form.SettingsDialog().IsOpen()) << "the open window goes";
  EXPECT_TRUE(TrayMenuItem(Form1::kSettingsCommand).grayed);
  EXPECT_FALSE(form.Me.SystemMenuItems().at(0).enabled);
  form.PushButton3.RaiseClick();
  form.Form_SystemMenuChosen(Form1::kSystemMenuSettings);
  EXPECT_FALSE(form.SettingsDialog().IsOpen());

  PolicySwitch(rt::kHkeyLocalMachine, L"DisableRunAtLogon", 0);
  PolicySwitch(rt::kHkeyCurrentUser, L"DisableSettings", 2);  // unreadable: left out
  fakes.pump.RunUntil(2);
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_TRUE(form.Check4.Enabled());
  EXPECT_EQ(entries(), 1u);
  EXPECT_TRUE(form.PushButton3.Enabled());
  EXPECT_TRUE(form.Me.SystemMenuItems().at(0).enabled);
  EXPECT_EQ(Balloons(), 1u);
}

}  // namespace
