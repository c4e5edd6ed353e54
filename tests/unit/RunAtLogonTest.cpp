// The two startup-option boxes: what they record in the settings and in the Run keys.
#include <gtest/gtest.h>

#include <functional>

#include "ProgramFixture.h"
#include "runtime/Failure.h"
#include "settings/RegText.h"
#include "settings/SettingsStore.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
const std::wstring kMachineRun = L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kUserRun = L"HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kSettings = L"HKCU\\Software\\Kestrova\\Vornatic";
// How the fake registry logs changes: the key path in lower case, then the value's name.
const std::wstring kSetStartup = L"set hkcu\\software\\kestrova\\vornatic\\Windows Startup";
const std::wstring kSetMinimized = L"set hkcu\\software\\kestrova\\vornatic\\Minimized";
const std::wstring kUserRunLog = L"hkcu\\software\\microsoft\\windows\\currentversion\\run\\";

class RunAtLogonTest : public ProgramTest {
 protected:
  RunAtLogonTest() {
    // Both Run keys exist on every Windows; the program never makes them.
    fakes.registry.MakeKey(kMachineRun);
    fakes.registry.MakeKey(kUserRun);
    fakes.app.folder = L"C:\\Program Files\\Vornatic";
    fakes.app.executable = L"C:\\Program Files\\Vornatic\\Vornatic.exe";
  }
  void TearDown() override { EXPECT_EQ(fakes.registry.OpenHandles(), 0u) << "a key was left open"; }

  std::optional<std::wstring> Setting(const wchar_t* key) { return fakes.registry.StringValue(kSettings, key); }
  std::optional<std::wstring> RunValue(const std::wstring& runKey, const std::wstring& name = L"Vornatic.exe") {
    const auto value = fakes.registry.Value(runKey, name);
    if (!value) return std::nullopt;
    return regtext::FromRegSz(value->data);
  }
  // Puts a value into a Run key as another run, or another program, would have.
  // Both Run keys as on a new machine, nothing refused.
  void ResetRunKeys() {
    fakes.registry = fake::FakeRegistry{};
    fakes.registry.MakeKey(kMachineRun);
    fakes.registry.MakeKey(kUserRun);
  }
  void StoreStartupChoice(const wchar_t* value) {
    SettingsStore(fakes.registry, fakes.dialogs, L"Vornatic")
        .SaveSetting(L"Kestrova", L"Vornatic", L"Windows Startup", value);
  }
  void PutRunValue(rt::RegKey root, const std::wstring& name, const std::wstring& data,
                   std::uint32_t type = rt::reg::kSz) {
    rt::RegKey key = 0;
    ASSERT_EQ(fakes.registry.OpenKey(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", rt::reg::kKeyAllAccess,
                                     &key),
              0);
    fakes.registry.SetValue(key, name, type, regtext::ToRegSz(data));
    fakes.registry.CloseKey(key);
  }
  std::size_t RunValueCount() { return fakes.registry.ValueCount(kMachineRun) + fakes.registry.ValueCount(kUserRun); }
};

// The program's folder is one its user can write: an entry for every user would start
// whatever that user puts there in everyone's session. So only the user's own list gets
// it, whether or not Windows would let this run write the machine's.
TEST_F(RunAtLogonTest, TickingEntersTheRunningExecutableQuotedForThisUserAlone) {
  for (const bool administrator : {true, false}) {
    SCOPED_TRACE(administrator ? "administrator" : "standard user");
    ResetRunKeys();
    if (!administrator) fakes.registry.DenyWrites(kMachineRun);
    fakes.app.executable = L"C:\\Program Files\\Vornatic\\Vornatic2.exe";  // not whatever else sits in the folder
    Program run{fakes.platform};
    Form1& window = run.Window();

    window.Check4.ToggleByUser();

    EXPECT_EQ(window.Check4.Value(), 1);
    EXPECT_TRUE(window.Check8.Visible());
    EXPECT_EQ(window.Check8.Value(), 0);
    EXPECT_EQ(Setting(L"Windows Startup"), L"On");
    EXPECT_FALSE(Setting(L"Minimized").has_value());
    const auto value = fakes.registry.Value(kUserRun, L"Vornatic2.exe");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, rt::reg::kSz);
    EXPECT_EQ(regtext::FromRegSz(value->data), L"\"C:\\Program Files\\Vornatic\\Vornatic2.exe\" /logon");
    EXPECT_EQ(fakes.registry.ValueCount(kUserRun), 1u);
    EXPECT_EQ(fakes.registry.ValueCount(kMachineRun), 0u);
    EXPECT_EQ(fakes.registry.log, (std::vector<std::wstring>{kSetStartup, L"set " + kUserRunLog + L"Vornatic2.exe"}));
    EXPECT_TRUE(fakes.dialogs.shown.empty());

    window.Check4.ToggleByUser();
    EXPECT_EQ(RunValueCount(), 0u);
    EXPECT_EQ(Setting(L"Windows Startup"), L"Off");
  }
}

// The entry goes first: only once it is gone may the box and the settings say "Off".
TEST_F(RunAtLogonTest, ClearingWithMinimizedTickedDeletesThenRecordsMinimizedThenStartup) {
  form.Check4.ToggleByUser();
  form.Check8.ToggleByUser();
  fakes.registry.log.clear();

  form.Check4.ToggleByUser();

  EXPECT_EQ(form.Check8.Value(), 0);
  EXPECT_FALSE(form.Check8.Visible());
  EXPECT_EQ(fakes.registry.log,
            (std::vector<std::wstring>{L"delete " + kUserRunLog + L"Vornatic.exe", kSetMinimized, kSetStartup}));
  EXPECT_EQ(Setting(L"Minimized"), L"Off");
  EXPECT_EQ(Setting(L"Windows Startup"), L"Off");
  EXPECT_FALSE(RunValue(kUserRun).has_value());
}

TEST_F(RunAtLogonTest, ClearingWithMinimizedClearLeavesMinimizedAlone) {
  form.Check4.ToggleByUser();
  form.Check4.ToggleByUser();

  EXPECT_FALSE(Setting(L"Minimized").has_value());
  EXPECT_EQ(Setting(L"Windows Startup"), L"Off");
  EXPECT_FALSE(form.Check8.Visible());
  EXPECT_FALSE(RunValue(kUserRun).has_value());
}

TEST_F(RunAtLogonTest, TheMinimizedBoxRecordsItsStateAndNothingElse) {
  form.Check4.ToggleByUser();
  fakes.registry.log.clear();

  form.Check8.ToggleByUser();
  EXPECT_EQ(Setting(L"Minimized"), L"On");
  form.Check8.ToggleByUser();
  EXPECT_EQ(Setting(L"Minimized"), L"Off");

  EXPECT_EQ(fakes.registry.log, (std::vector<std::wstring>{kSetMinimized, kSetMinimized}));
  EXPECT_EQ(RunValue(kUserRun), L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\" /logon");
}

TEST_F(RunAtLogonTest, TheCommandFollowsTheFolderWhereverItIs) {
  struct Case {
    std::wstring folder, executable, command;
  };
  const Case cases[] = {
      {L"D:\\", L"D:\\Vornatic.exe", L"\"D:\\Vornatic.exe\" /logon"},  // a drive's root ends in its backslash
      {L"C:\\My Tools\\Drag Helper", L"C:\\My Tools\\Drag Helper\\Vornatic.exe",
       L"\"C:\\My Tools\\Drag Helper\\Vornatic.exe\" /logon"},
      {L"C:\\Users\\Zo\u00EB\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u30C4\u30FC\u30EB\U0001F5B1",
       L"C:\\Users\\Zo\u00EB\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u30C4\u30FC\u30EB\U0001F5B1"
       L"\\Vornatic.exe",
       L"\"C:\\Users\\Zo\u00EB\\\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u044B\\\u30C4\u30FC\u30EB\U0001F5B1"
       L"\\Vornatic.exe\" /logon"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "folder with " << c.folder.size() << " characters");
    fakes.app.folder = c.folder;
    fakes.app.executable = c.executable;
    form.Check4.ToggleByUser();
    EXPECT_EQ(RunValue(kUserRun), c.command);
    form.Check4.ToggleByUser();
    EXPECT_FALSE(RunValue(kUserRun).has_value());
  }
  // The character outside the basic plane is stored as its surrogate pair.
  fakes.app.folder = cases[2].folder;
  fakes.app.executable = cases[2].executable;
  form.Check4.ToggleByUser();
  const Bytes data = fakes.registry.Value(kUserRun, L"Vornatic.exe")->data;
  const Bytes pair{0x3D, 0xD8, 0xB1, 0xDD, '\\', 0};
  EXPECT_NE(std::search(data.begin(), data.end(), pair.begin(), pair.end()), data.end());
}

TEST_F(RunAtLogonTest, TickingInTwoRunsOverwritesTheEntry) {
  PutRunValue(rt::kHkeyCurrentUser, L"Other.exe", L"C:\\Other\\Other.exe");
  form.Check4.ToggleByUser();
  {
    Program nextRun{fakes.platform};
    nextRun.Window().Check4.ToggleByUser();
  }
  EXPECT_EQ(fakes.registry.ValueCount(kUserRun), 2u);
  EXPECT_EQ(RunValue(kUserRun), L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\" /logon");
  EXPECT_EQ(RunValue(kUserRun, L"Other.exe"), L"C:\\Other\\Other.exe");
}

// An older version, run as administrator, entered the program for every user. Clearing the
// box takes that entry out as well where Windows lets this run, and leaves entries by our
// name that start another copy (an old install, the portable one) to that copy.
TEST_F(RunAtLogonTest, ClearingTakesThisProgramsEntriesOutOfBothKeysAndLeavesOtherCopies) {
  const std::wstring command = L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\"";
  PutRunValue(rt::kHkeyLocalMachine, L"Vornatic.exe", command);
  StoreStartupChoice(L"On");
  Program run{fakes.platform};
  Form1& window = run.Window();
  window.Form_Load();
  ASSERT_EQ(window.Check4.Value(), 1);

  window.Check4.ToggleByUser();

  EXPECT_TRUE(fakes.dialogs.shown.empty());
  EXPECT_EQ(window.Check4.Value(), 0);
  EXPECT_EQ(RunValueCount(), 0u);
  EXPECT_EQ(Setting(L"Windows Startup"), L"Off");

  window.Check4.ToggleByUser();
  PutRunValue(rt::kHkeyLocalMachine, L"Vornatic.exe", L"\"D:\\Portable\\Vornatic.exe\"");
  PutRunValue(rt::kHkeyCurrentUser, L"Vornatic.exe", L"C:\\Old\\Vornatic.exe /tray");
  window.Check4.ToggleByUser();
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  EXPECT_EQ(RunValue(kMachineRun), L"\"D:\\Portable\\Vornatic.exe\"");
  EXPECT_EQ(RunValue(kUserRun), L"C:\\Old\\Vornatic.exe /tray");
}

// An entry an administrator made for every user, which this user may not change, already
// starts this program: ticking adds nothing (a second entry would start it twice) and takes
// away a per-user one an earlier run left. An entry by our name that starts another copy
// is no reason to hold back.
TEST_F(RunAtLogonTest, AMachineEntryForThisProgramIsNeverDoubledByAUserEntry) {
  struct Case {
    std::wstring machineCommand;
    bool startsThisProgram;
  };
  const Case cases[] = {
      {L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\"", true},
      {L"  \"C:\\Program Files\\Vornatic\\Vornatic.exe\" /tray", true},
      {L"C:\\Program Files\\Vornatic\\Vornatic.exe /tray", true},
      {L"\"D:\\Old\\Vornatic.exe\"", false},
      {L"\"C:\\Program Files\\Vornatic\\Vornatic.exe.old\"", false},
      {L"C:\\Program Files\\Vornatic\\Vornatic.exe2", false},
      {L"\"C:\\Program Files\\Vornatic\\\"", false},
      {L"\"\"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "machine entry #" << (&c - cases));
    ResetRunKeys();
    PutRunValue(rt::kHkeyLocalMachine, L"Vornatic.exe", c.machineCommand);
    if (c.startsThisProgram)  // left by an earlier run
      PutRunValue(rt::kHkeyCurrentUser, L"Vornatic.exe", L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\"");

    form.Check4.ToggleByUser();

    EXPECT_EQ(form.Check4.Value(), 1);
    EXPECT_TRUE(fakes.dialogs.shown.empty());
    EXPECT_EQ(RunValue(kMachineRun), c.machineCommand);
    if (c.startsThisProgram)
      EXPECT_FALSE(RunValue(kUserRun).has_value()) << "the program would start twice at logon";
    else
      EXPECT_EQ(RunValue(kUserRun), L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\" /logon");
    form.Choices().SetLoading(true);
    form.Check4.SetValue(0);
    form.Choices().SetLoading(false);
  }
}

// However an installer, an administrator or an older version wrote the path, Windows runs
// this program from it: such an entry shows as the ticked box at start, and clearing the box
// takes it out, from either key.
TEST_F(RunAtLogonTest, AnEntryThatWritesThePathAnotherWayCountsAsThisPrograms) {
  fakes.app.otherNames = {L"C:\\PROGRA~1\\Vornatic\\VORNAT~1.EXE", L"C:\\Program Files\\Vornatic\\VORNATIC.EXE"};
  struct Case {
    const char* name;
    std::wstring command;
    std::uint32_t type;
  };
  const Case cases[] = {
      {"other letter case", L"c:\\PROGRAM FILES\\vornatic\\VORNATIC.EXE", rt::reg::kSz},
      {"short name", L"C:\\PROGRA~1\\Vornatic\\VORNAT~1.EXE", rt::reg::kSz},
      {"variables", L"\"%PROGRAMFILES%\\Vornatic\\Vornatic.exe\" /tray", rt::reg::kExpandSz},
      {"variables, unquoted", L"%ProgramFiles%\\Vornatic\\Vornatic.exe", rt::reg::kExpandSz},
      {"variables and letter case", L"%programfiles%\\Vornatic\\VORNATIC.EXE", rt::reg::kExpandSz},
  };
  for (const Case& c : cases) {
    for (const rt::RegKey root : {rt::kHkeyCurrentUser, rt::kHkeyLocalMachine}) {
      SCOPED_TRACE(testing::Message() << c.name << (root == rt::kHkeyLocalMachine ? ", every user" : ", this user"));
      ResetRunKeys();
      fakes.registry.SetVariable(L"ProgramFiles", L"C:\\Program Files");
      StoreStartupChoice(L"Off");
      PutRunValue(root, L"VORNATIC.EXE", c.command, c.type);
      Program run{fakes.platform};
      Form1& window = run.Window();
      window.Form_Load();
      EXPECT_EQ(window.Check4.Value(), 1);
      EXPECT_EQ(Setting(L"Windows Startup"), L"On");

      window.Check4.ToggleByUser();

      EXPECT_EQ(window.Check4.Value(), 0);
      EXPECT_EQ(RunValueCount(), 0u);
      EXPECT_TRUE(fakes.dialogs.shown.empty());
    }
  }
  // Without its variables filled in, the same text leads nowhere: a REG_SZ value is run as
  // it stands, and an unknown variable stays as it is.
  ResetRunKeys();
  fakes.registry.SetVariable(L"ProgramFiles", L"C:\\Program Files");
  PutRunValue(rt::kHkeyCurrentUser, L"Vornatic.exe", L"%ProgramFiles%\\Vornatic\\Vornatic.exe", rt::reg::kSz);
  PutRunValue(rt::kHkeyLocalMachine, L"Vornatic.exe", L"%NoSuchFolder%\\Vornatic.exe", rt::reg::kExpandSz);
  EXPECT_EQ(form.RegistryValues().FindRunEntry(rt::kHkeyCurrentUser, L"Vornatic.exe"), RegStuff::RunEntry::kNone);
  EXPECT_EQ(form.RegistryValues().FindRunEntry(rt::kHkeyLocalMachine, L"Vornatic.exe"), RegStuff::RunEntry::kNone);
}

// Clearing the box while an entry that starts this program stays (the machine's, which
// only an administrator may change, or in rare setups the user's own): the box must not
// claim otherwise. One box says why; the box, the minimised choice and "On" stay.
TEST_F(RunAtLogonTest, AnEntryThatWillNotGoIsToldAndTheBoxStaysTicked) {
  const std::wstring command = L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\"";
  struct Case {
    const char* name;
    rt::RegKey root;
    std::function<void(fake::FakeRegistry&)> refuse;
    const wchar_t* says;
  };
  const Case cases[] = {
      {"machine key not writable", rt::kHkeyLocalMachine, [](auto& r) { r.DenyWrites(kMachineRun); },
       L"Vornatic could not be kept from starting when you log on: it is set to start for every user of this "
       L"computer, and only an administrator can change that.\r\n\r\nVornatic will still start when you log on, "
       L"so the box \"Load this software on Windows startup\" stays ticked."},
      {"machine value not deletable", rt::kHkeyLocalMachine,
       [](auto& r) { r.RefuseDeletion(kMachineRun, L"VORNATIC.EXE"); }, L"for every user of this computer"},
      {"user value not deletable", rt::kHkeyCurrentUser, [](auto& r) { r.RefuseDeletion(kUserRun, L"Vornatic.exe"); },
       L"Windows did not let it take itself out of the programs that start at logon."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRunKeys();
    fakes.dialogs.shown.clear();
    PutRunValue(c.root, L"Vornatic.exe", command);
    StoreStartupChoice(L"On");
    c.refuse(fakes.registry);
    Program run{fakes.platform};
    Form1& window = run.Window();
    window.Form_Load();
    window.Check8.ToggleByUser();
    ASSERT_EQ(window.Check4.Value(), 1);

    window.Check4.ToggleByUser();

    ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
    EXPECT_NE(fakes.dialogs.shown[0].text.find(c.says), std::wstring::npos) << fakes.dialogs.shown[0].text;
    EXPECT_EQ(fakes.dialogs.shown[0].style, rt::mb::kOkOnly | rt::mb::kExclamation);
    EXPECT_EQ(fakes.dialogs.shown[0].title, L"Vornatic");
    EXPECT_EQ(window.Check4.Value(), 1);
    EXPECT_TRUE(window.Check8.Visible());
    EXPECT_EQ(window.Check8.Value(), 1);
    EXPECT_EQ(Setting(L"Windows Startup"), L"On");
    EXPECT_EQ(Setting(L"Minimized"), L"On");
    EXPECT_EQ(RunValue(c.root == rt::kHkeyLocalMachine ? kMachineRun : kUserRun), command);
    EXPECT_EQ(fakes.registry.ValueCount(kMachineRun) + fakes.registry.ValueCount(kUserRun), 1u);
  }
}

// What the next logon does decides the box at start; a change is stored, without a word.
TEST_F(RunAtLogonTest, AtStartTheBoxShowsWhatTheNextLogonDoes) {
  struct Case {
    const char* name;
    const wchar_t* stored;
    std::function<void()> runKeys;
    int box;
    const wchar_t* storedAfter;
  };
  const std::wstring command = L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\"";
  const Case cases[] = {
      {"entry removed by someone", L"On", [] {}, 0, L"Off"},
      {"program moved", L"On", [&] { PutRunValue(rt::kHkeyLocalMachine, L"Vornatic.exe", L"\"D:\\Vornatic.exe\""); }, 0,
       L"Off"},
      {"user entry", L"On", [&] { PutRunValue(rt::kHkeyCurrentUser, L"Vornatic.exe", command); }, 1, L"On"},
      {"machine entry made elsewhere", L"Off", [&] { PutRunValue(rt::kHkeyLocalMachine, L"Vornatic.exe", command); }, 1,
       L"On"},
      {"machine key unreadable", L"On", [&] { fakes.registry.DenyOpens(kMachineRun); }, 1, L"On"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetRunKeys();
    StoreStartupChoice(c.stored);
    c.runKeys();
    const auto runValues = fakes.registry.ValueCount(kMachineRun) + fakes.registry.ValueCount(kUserRun);
    Program run{fakes.platform};
    Form1& window = run.Window();
    window.Form_Load();

    EXPECT_EQ(window.Check4.Value(), c.box);
    EXPECT_EQ(window.Check8.Visible(), c.box == 1);
    EXPECT_EQ(Setting(L"Windows Startup"), c.storedAfter);
    EXPECT_EQ(fakes.registry.ValueCount(kMachineRun) + fakes.registry.ValueCount(kUserRun), runValues)
        << "start-up changed a Run key";
    EXPECT_TRUE(fakes.dialogs.shown.empty());
  }
}

// Ticked while the machine's Run key cannot even be read: the user's own entry is made,
// and nothing is said.
TEST_F(RunAtLogonTest, TickingWorksWhenTheMachinesRunKeyCannotBeRead) {
  fakes.registry.DenyOpens(kMachineRun);
  form.Check4.ToggleByUser();
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_EQ(RunValue(kUserRun), L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\" /logon");
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

// A new profile may not have the user's Run key yet; the machine's is never made.
TEST_F(RunAtLogonTest, AMissingUserRunKeyIsMadeAndTheMachinesNever) {
  fakes.registry = fake::FakeRegistry{};
  form.Check4.ToggleByUser();
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_FALSE(fakes.registry.KeyExists(kMachineRun));
  EXPECT_EQ(RunValue(kUserRun), L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\" /logon");
}

TEST_F(RunAtLogonTest, WhenNeitherRunKeyTakesTheEntryTheUserIsToldAndTheBoxIsCleared) {
  fakes.registry.DenyWrites(kMachineRun);
  fakes.registry.DenyWrites(kUserRun);
  form.Check4.ToggleByUser();

  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"could not be set to start when you log on"), std::wstring::npos);
  EXPECT_EQ(fakes.dialogs.shown[0].style, rt::mb::kOkOnly | rt::mb::kExclamation);
  EXPECT_EQ(form.Check4.Value(), 0);
  EXPECT_FALSE(form.Check8.Visible());
  EXPECT_EQ(Setting(L"Windows Startup"), L"Off");
  EXPECT_EQ(fakes.registry.log, (std::vector<std::wstring>{kSetStartup, kSetStartup}));
  EXPECT_EQ(fakes.registry.ValueCount(kMachineRun) + fakes.registry.ValueCount(kUserRun), 0u);
}

TEST_F(RunAtLogonTest, AnEntryOfTheUsersThatCannotBeRewrittenStillStartsTheProgram) {
  PutRunValue(rt::kHkeyCurrentUser, L"Vornatic.exe", L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\"");
  fakes.registry.DenyWrites(kMachineRun);
  fakes.registry.DenyWrites(kUserRun);
  form.Check4.ToggleByUser();

  EXPECT_TRUE(fakes.dialogs.shown.empty());
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_EQ(Setting(L"Windows Startup"), L"On");
}

TEST_F(RunAtLogonTest, RefusedSettingsAreToldOnceAndTheEntryIsStillMade) {
  fakes.registry.DenyWrites(kSettings);
  form.Check4.ToggleByUser();
  form.Check8.ToggleByUser();
  form.Check4.ToggleByUser();
  form.Check4.ToggleByUser();

  ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
  EXPECT_NE(fakes.dialogs.shown[0].text.find(L"could not save your choice"), std::wstring::npos);
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_TRUE(RunValue(kUserRun).has_value());
}

TEST_F(RunAtLogonTest, ChoicesPutBackAtStartUpAreNotTakenForClicks) {
  form.Choices().SetLoading(true);
  form.Check4.SetValue(1);
  form.Check8.SetValue(1);
  form.Choices().SetLoading(false);

  EXPECT_TRUE(fakes.registry.log.empty());
  EXPECT_FALSE(form.Check8.Visible()) << "start-up, not the click, decides what shows";
}

TEST_F(RunAtLogonTest, ValuesAreWrittenByTypeAndEveryKeyIsClosed) {
  RegStuff& values = form.RegistryValues();
  const std::wstring subKey = L"Software\\Kestrova\\Test";
  fakes.registry.MakeKey(L"HKCU\\" + subKey);

  EXPECT_EQ(values.SetKeyValue(rt::kHkeyCurrentUser, subKey, L"Number", std::int32_t{0x12345678}, rt::reg::kDword), 0);
  EXPECT_EQ(fakes.registry.Value(L"HKCU\\" + subKey, L"Number")->data, (Bytes{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(values.SetKeyValue(rt::kHkeyCurrentUser, subKey, L"Negative", std::wstring(L"-2"), rt::reg::kDword), 0);
  EXPECT_EQ(fakes.registry.Value(L"HKCU\\" + subKey, L"Negative")->data, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(values.SetKeyValue(rt::kHkeyCurrentUser, subKey, L"Text", std::int32_t{7}, rt::reg::kSz), 0);
  EXPECT_EQ(fakes.registry.StringValue(L"HKCU\\" + subKey, L"Text"), L"7");

  EXPECT_EQ(values.SetKeyValue(rt::kHkeyCurrentUser, subKey, L"Binary", std::wstring(L"x"), 3), 0);
  EXPECT_FALSE(fakes.registry.Value(L"HKCU\\" + subKey, L"Binary").has_value());
  EXPECT_THROW(values.SetKeyValue(rt::kHkeyCurrentUser, subKey, L"Bad", std::wstring(L"12a"), rt::reg::kDword),
               rt::Failure);
  EXPECT_THROW(values.SetKeyValue(rt::kHkeyCurrentUser, subKey, L"Big", std::wstring(L"4294967296"), rt::reg::kDword),
               rt::Failure);

  EXPECT_EQ(values.SetKeyValue(rt::kHkeyCurrentUser, L"Software\\Missing", L"X", std::int32_t{1}, rt::reg::kDword),
            rt::reg::kFileNotFound);
  EXPECT_FALSE(fakes.registry.KeyExists(L"HKCU\\Software\\Missing"));
  EXPECT_EQ(values.DeleteKeyValue(rt::kHkeyCurrentUser, subKey, L"Absent"), rt::reg::kFileNotFound);
  EXPECT_EQ(values.DeleteKeyValue(rt::kHkeyCurrentUser, subKey, L"Text"), 0);
}

}  // namespace
