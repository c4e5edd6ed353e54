// The load handler: skin and button-face colours, the hand cursor, the home-page draw, the
// caption and title, the stored startup choices, and the tray icon; each failure reported
// under its statement number, with start-up going on.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "app/AppTitle.h"
#include "runtime/Failure.h"
#include "settings/RegText.h"
#include "settings/SettingsStore.h"

namespace {

const std::wstring kFolder = L"C:\\Program Files\\Vornatic";
const std::wstring kSkinPath = kFolder + L"\\x\\o.cjs";
const std::wstring kCursorPath = kFolder + L"\\HAND-M.CUR";
const std::string kSkin =
    "[Skin]\nFormat=1\n[Window]\nBackground=#E3EFF8\n[Controls]\nBackground=#D0E4F2\n"
    "[Button]\nFace=#1B6CA8\nText=#FFFFFF\nFont=Tahoma, 11, bold\n";
const wchar_t* const kAtLine = L"in Vornix2021/08/31.Form1.Form_Load at line ";

class StartUp : public ProgramTest {
 protected:
  explicit StartUp(std::wstring displayName = product::kDisplayName) : ProgramTest(10 * 3600.0, displayName) {}
  std::vector<rt::Control*> BackgroundControls() {
    return {&form.Frame1, &form.Frame2, &form.Check4, &form.Check8, &form.Label1};
  }

  // The statement numbers of the reports shown so far, read from their texts.
  std::vector<int> ReportedLines() const {
    std::vector<int> lines;
    for (const auto& box : fakes.dialogs.shown) {
      const auto at = box.text.find(kAtLine);
      if (box.title == L"Application Error" && at != std::wstring::npos)
        lines.push_back(std::stoi(box.text.substr(at + std::wcslen(kAtLine))));
    }
    return lines;
  }

  void Store(const wchar_t* key, const wchar_t* value) {
    SettingsStore(fakes.registry, fakes.dialogs, fakes.texts, L"Vornatic")
        .SaveSetting(L"Kestrova", L"Vornatic", key, value);
    fakes.registry.log.clear();
  }

  // The entry a run with the box ticked left: without it a stored "On" is not the truth.
  void EnterRunValue() {
    const std::wstring runKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    fakes.registry.MakeKey(L"HKCU\\" + runKey);
    rt::RegKey key = 0;
    ASSERT_EQ(fakes.registry.OpenKey(rt::kHkeyCurrentUser, runKey, rt::reg::kKeyAllAccess, &key), 0);
    fakes.registry.SetValue(key, L"Vornatic.exe", rt::reg::kSz,
                            regtext::ToRegSz(L"\"" + kFolder + L"\\Vornatic.exe\""));
    fakes.registry.CloseKey(key);
    fakes.registry.log.clear();
  }

  void ExpectStartUpFinished() {
    EXPECT_EQ(form.Me.Caption(), L"Vornatic");
    EXPECT_EQ(form.cSysTray1.TrayTip(), L"Vornatic");
    EXPECT_TRUE(form.cSysTray1.InTray());
    EXPECT_FALSE(form.Choices().Loading());
  }
};

TEST_F(StartUp, WithoutASkinFileTheWindowIsDressedInItsLayoutColoursAndTheComponentIsNotCalled) {
  fake::FakeFile hidden;
  hidden.bytes.assign(kSkin.begin(), kSkin.end());
  hidden.hidden = true;  // a hidden file does not count
  fakes.files.Put(kSkinPath, hidden);
  ShowWindow();
  EXPECT_EQ(form.Me.BackColor(), rt::kWhite);
  for (rt::Control* control : BackgroundControls()) EXPECT_EQ(control->BackColor(), rt::kWhite) << control->Name();
  EXPECT_EQ(form.PushButton2.Look(), rt::ButtonLook{});
  EXPECT_EQ(form.SkinFramework1.Options(), 0);
  EXPECT_FALSE(form.SkinFramework1.ButtonStateColors() || form.SkinFramework1.SkinFonts());

  EXPECT_EQ(form.Me.Icon(), fakes.app.appIcon);
  EXPECT_EQ(program.State().AppTitle, L"Vornatic");
  EXPECT_FALSE(form.Check8.Visible());
  EXPECT_TRUE(form.Me.Visible());
  EXPECT_TRUE(fakes.starter.opened.empty());  // the draw at 0.5 is 51, not 7
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  ExpectStartUpFinished();
}

TEST_F(StartUp, ASkinFileIsLoadedAndAppliedWithEveryOptionOn) {
  fakes.files.PutText(kSkinPath, kSkin);
  ShowWindow();
  EXPECT_TRUE(form.SkinFramework1.SkinLoaded());
  EXPECT_EQ(form.SkinFramework1.Options(), SkinFramework::kSkinControls);
  EXPECT_EQ(form.Me.BackColor(), rt::Rgb(0xE3, 0xEF, 0xF8));
  for (rt::Control* control : BackgroundControls())
    EXPECT_EQ(control->BackColor(), rt::Rgb(0xD0, 0xE4, 0xF2)) << control->Name();
  for (rt::PushButton* button : {&form.PushButton1, &form.PushButton2}) {
    EXPECT_EQ(button->Look().face, rt::Rgb(0x1B, 0x6C, 0xA8));
    EXPECT_EQ(button->OwnFont().name, L"Tahoma");
  }
  EXPECT_EQ(form.Text1.BackColor(), rt::kWhite);
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  ExpectStartUpFinished();
}

TEST_F(StartUp, AFileThatIsNotASkinStillLeavesTheButtonFaceColourAndGoesUnnoticed) {
  fakes.files.PutText(kSkinPath, "[Skin]\nFormat=1\n");
  form.Form_Load();
  EXPECT_FALSE(form.SkinFramework1.SkinLoaded());
  EXPECT_EQ(form.Me.BackColor(), rt::kButtonFace);
  for (rt::Control* control : BackgroundControls()) EXPECT_EQ(control->BackColor(), rt::kButtonFace) << control->Name();
  // Push buttons and the text box are not part of the background.
  EXPECT_EQ(form.PushButton1.BackColor(), rt::kWhite);
  EXPECT_EQ(form.Text1.BackColor(), rt::kWhite);
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

// A file system whose reads fail: the component's load raises a failure.
class FailingReads : public fake::FakeFileSystem {
 public:
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::wstring&, std::size_t) override {
    throw rt::Failure(L"Device I/O error");
  }
};

// The whole program on the fakes, but with a file system whose reads fail.
struct ProgramWithFailingReads {
  fake::FakePlatform fakes;
  FailingReads files;
  rt::Platform platform{fakes.app,         fakes.pump,      fakes.clock, fakes.mouse,   fakes.tray,
                        fakes.windowProcs, fakes.registry,  files,       fakes.dialogs, fakes.starter,
                        fakes.random,      fakes.shortcuts, fakes.badge, fakes.session, fakes.accessibility,
                        fakes.menus,       fakes.windows,   fakes.texts, fakes.metrics, fakes.programs};
  Program program{platform};
};

TEST(StartUpSkinFailure, IsReportedAtLine100AndStartUpGoesOnWith102) {
  ProgramWithFailingReads p;
  p.files.PutText(kSkinPath, kSkin);
  fake::FakeFile cursor;
  cursor.picture = true;
  p.files.Put(kCursorPath, cursor);
  p.program.Window().Form_Load();

  ASSERT_EQ(p.fakes.dialogs.shown.size(), 1u);
  EXPECT_EQ(p.fakes.dialogs.shown[0].title, L"Application Error");
  EXPECT_EQ(p.fakes.dialogs.shown[0].text.rfind(L"Device I/O error\r\n", 0), 0u);
  EXPECT_NE(p.fakes.dialogs.shown[0].text.find(std::wstring(kAtLine) + L"100\r\r"), std::wstring::npos);
  // The colours set before the component was called stay; the rest of start-up ran.
  EXPECT_EQ(p.program.Window().Me.BackColor(), rt::kButtonFace);
  EXPECT_EQ(p.program.Window().Frame2.BackColor(), rt::kButtonFace);
  EXPECT_NE(p.program.Window().Me.MouseIcon(), nullptr);
  EXPECT_EQ(p.program.Window().Me.Caption(), L"Vornatic");
  EXPECT_TRUE(p.program.Window().cSysTray1.InTray());
}

TEST_F(StartUp, TheHandCursorBecomesTheWindowsCustomPointerPictureWhenItsFileIsThere) {
  form.Form_Load();
  EXPECT_EQ(form.Me.MouseIcon(), nullptr);  // no file: no picture, and nothing said
  EXPECT_TRUE(fakes.dialogs.shown.empty());

  fake::FakeFile cursor;
  cursor.picture = true;
  fakes.files.Put(kCursorPath, cursor);
  form.Form_Load();
  ASSERT_NE(form.Me.MouseIcon(), nullptr);
  EXPECT_EQ(form.Me.MouseIcon()->Type(), rt::pic::kIcon);
  // The buttons switch to it while the pointer is over them; start-up leaves the shape.
  EXPECT_EQ(form.Me.MousePointer(), rt::pointer::kDefault);
  EXPECT_TRUE(fakes.dialogs.shown.empty());
}

TEST_F(StartUp, ACursorFileThatIsNoPictureIsReportedAtLine104) {
  fakes.files.PutText(kCursorPath, "not a cursor");
  form.Form_Load();
  EXPECT_EQ(ReportedLines(), std::vector<int>{104});
  EXPECT_EQ(fakes.dialogs.shown[0].text.rfind(L"Invalid picture\r\n", 0), 0u);
  EXPECT_EQ(form.Me.MouseIcon(), nullptr);
  ExpectStartUpFinished();
}

TEST(AppTitle, KeepsNamesOfFortyCharactersAndCutsLongerOnesByWholeWords) {
  const std::wstring forty = L"Vornatic Drag Helper for Everyone 123456";
  ASSERT_EQ(forty.size(), 40u);
  EXPECT_EQ(Main::ShortenedTitle(forty), forty);
  EXPECT_EQ(Main::ShortenedTitle(L"Vornatic"), L"Vornatic");

  // Five words make 38 characters, six make 44.
  const std::wstring five = L"Vornatic Drag Helper Toolkit Ultimatum";
  ASSERT_EQ(five.size(), 38u);
  ASSERT_EQ((five + L" Extra").size(), 44u);
  EXPECT_EQ(Main::ShortenedTitle(five + L" Extra Edition"), five);
  // Blanks count as characters; a blank in the first place leaves nothing.
  EXPECT_EQ(Main::ShortenedTitle(L" " + std::wstring(45, L'x')), L"");
  EXPECT_THROW(Main::ShortenedTitle(std::wstring(41, L'x')), rt::Failure);
  EXPECT_THROW(Main::ShortenedTitle(std::wstring(41, L'x') + L" tail"), rt::Failure);
}

class StartUpWithALongName : public StartUp {
 protected:
  StartUpWithALongName() : StartUp(L"Vornatic Drag Helper Toolkit Ultimatum Extra Edition") {}
};

class StartUpWithANameThatCannotBeCut : public StartUp {
 protected:
  StartUpWithANameThatCannotBeCut() : StartUp(std::wstring(45, L'V')) {}
};

TEST_F(StartUpWithALongName, TheWindowAndTheTrayShowTheFullNameAndOnlyTheTitleIsShortened) {
  form.Form_Load();
  EXPECT_EQ(program.State().AppTitle, L"Vornatic Drag Helper Toolkit Ultimatum");
  EXPECT_EQ(form.Me.Caption(), form.DisplayName());
  EXPECT_EQ(form.cSysTray1.TrayTip(), form.DisplayName());
}

TEST_F(StartUpWithANameThatCannotBeCut, IsReportedAt126AndTheTitleStays) {
  form.Form_Load();
  EXPECT_EQ(ReportedLines(), std::vector<int>{126});
  EXPECT_EQ(fakes.dialogs.shown[0].text.rfind(L"Invalid procedure call or argument\r\n", 0), 0u);
  EXPECT_EQ(program.State().AppTitle, L"Vornatic") << "the title it had before";
  // Caption and icon come before the title in the same statement; 128 onwards ran.
  EXPECT_EQ(form.Me.Caption(), form.DisplayName());
  EXPECT_EQ(form.Me.Icon(), fakes.app.appIcon);
  EXPECT_FALSE(form.Check8.Visible());
  EXPECT_TRUE(form.cSysTray1.InTray());
}

TEST_F(StartUp, TheHomePageOpensExactlyWhenTheDrawIsSeven) {
  struct Draw {
    float r;
    bool opens;
  };
  // n = int(r * 100) + 1
  for (const Draw draw : {Draw{0.065f, true}, Draw{0.0609f, true}, Draw{0.0699f, true}, Draw{0.055f, false},
                          Draw{0.075f, false}, Draw{0.0f, false}, Draw{0.99999994f, false}}) {
    fake::FakePlatform fakes(12345.5);
    Program program{fakes.platform};
    fakes.random.next = draw.r;
    program.Window().Form_Load();
    ASSERT_EQ(fakes.random.seeds.size(), 1u);
    EXPECT_EQ(fakes.random.seeds[0], fakes.clock.TimeOfDay());  // seeded from the time of day
    if (draw.opens) {
      ASSERT_EQ(fakes.starter.opened.size(), 1u) << draw.r;
      EXPECT_EQ(fakes.starter.opened[0].address, L"https://www.kestrova.example/");
      EXPECT_EQ(fakes.starter.opened[0].windowStyle, 2);  // minimised, with the focus
    } else {
      EXPECT_TRUE(fakes.starter.opened.empty()) << draw.r;
    }
    EXPECT_TRUE(fakes.starter.started.empty()) << "no program is started by name";
  }
}

TEST_F(StartUp, AHomePageThatWillNotOpenIsReportedAt106AndStartUpGoesOn) {
  fakes.random.next = 0.065f;
  fakes.starter.fail = true;
  form.Form_Load();
  EXPECT_EQ(ReportedLines(), std::vector<int>{106});
  ExpectStartUpFinished();
}

TEST_F(StartUp, TheStoredChoicesAreRestoredWithoutWritingAnything) {
  EnterRunValue();
  Store(L"Windows Startup", L"On");
  Store(L"Minimized", L"Off");
  form.Form_Load();
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_EQ(form.Check8.Value(), 0);
  EXPECT_TRUE(form.Check8.Visible());
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);
  EXPECT_TRUE(fakes.registry.log.empty());  // neither the settings nor the run-at-logon value
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  ExpectStartUpFinished();
}

TEST_F(StartUp, OnlyTheWordOnTicksABox) {
  Store(L"Windows Startup", L"on");
  Store(L"Minimized", L"On");
  form.Form_Load();
  EXPECT_EQ(form.Check4.Value(), 0);
  EXPECT_FALSE(form.Check8.Visible());  // hidden while the run-at-logon box is clear
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);
  EXPECT_TRUE(fakes.registry.log.empty());
}

TEST_F(StartUp, BothChoicesOnStartsStraightInTheTray) {
  EnterRunValue();
  Store(L"Windows Startup", L"On");
  Store(L"Minimized", L"On");
  ShowWindow();
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_EQ(form.Check8.Value(), 1);
  EXPECT_FALSE(form.Me.Visible());
  EXPECT_TRUE(program.State().HiddenInTray);
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);  // hidden, not left minimised
  EXPECT_TRUE(form.cSysTray1.InTray());
  EXPECT_TRUE(fakes.registry.log.empty());
  EXPECT_TRUE(fakes.dialogs.shown.empty());
  // After start-up the boxes are the user's again: clearing Check8 records it.
  form.Check8.ToggleByUser();
  EXPECT_EQ(fakes.registry.log.size(), 1u);
}

}  // namespace
