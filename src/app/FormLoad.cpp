// The load handler: dresses the window (skin, hand pointer, caption, icon), sets the
// application title, now and then opens our home page, puts back the startup choices and
// puts the icon into the tray. The window is shown only after it returns.
#include <string>

#include "app/AppTitle.h"
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Product.h"

namespace {

constexpr const wchar_t* kCursorFile = L"\\HAND-M.CUR";
constexpr const wchar_t* kSkinFile = L"\\x\\o.cjs";
// One start in a hundred opens the home page.
constexpr int kHomePageDraws = 100;
constexpr int kHomePageDraw = 7;

}  // namespace

void Form1::Form_Load() {
  startupChoices_.SetLoading(true);
  // The status line says when auto-drag goes on and off, mostly while the window is away.
  platform_.accessibility.SetLiveSetting(Label1, rt::LiveSetting::Assertive);
  NumberedStatements s(platform_.dialogs, platform_.texts, L"Form_Load");
  s.Run(100, [&] { ApplySkin(); });
  if (s.Test(102, [&] { return FileExists(platform_.app.ProgramFolder() + kCursorFile); }))
    s.Run(104, [&] { Me.SetMouseIcon(platform_.files.LoadPicture(platform_.app.ProgramFolder() + kCursorFile)); });
  s.Run(106, [&] { VisitHomePage(); });
  s.Run(126, [&] {
    Me.SetCaption(displayName_);
    Me.SetIcon(platform_.app.ApplicationIcon());
    Main::SetAppTitle(globals_, displayName_);
  });
  s.Run(127, [&] {
    // The administrator's choices first: they decide what the boxes may show.
    userSettings_.TakeInPolicies();
    startupChoices_.RestoreStoredChoices();
  });
  if (s.Test(128, [&] { return Check4.Value() == 1; })) {
    s.Run(130, [&] { Check8.SetVisible(true); });
    if (s.Test(132, [&] { return Check8.Value() == 1; }))
      s.Run(134, [&] { Me.SetWindowState(rt::windowstate::kMinimized); });
  } else {
    s.Run(136, [&] { Check8.SetVisible(false); });
  }
  s.Run(138, [&] { cSysTray1.SetTrayTip(displayName_); });
  s.Run(140, [&] {
    cSysTray1.SetInTray(true);
    userSettings_.SayPolicyComplaint();
  });
  s.Run(142, [&] { userSettings_.ApplyStoredShortcut(); });
  s.Run(144, [&] { userSettings_.ApplyStoredIndicator(); });
  s.Run(146, [&] { userSettings_.ApplyStoredLatch(); });
  startupChoices_.SetLoading(false);
}

void Form1::ApplySkin() {
  const std::wstring skinPath = platform_.app.ProgramFolder() + kSkinFile;
  if (!platform_.files.IsOrdinaryFile(skinPath)) return;

  // The backgrounds change first, so they hold whatever the component then makes of the skin.
  Me.SetBackColor(rt::kButtonFace);
  for (rt::Control* control : Me.Controls())
    if (rt::HasPlainBackground(control->Kind())) control->SetBackColor(rt::kButtonFace);

  SkinFramework1.LoadSkin(skinPath, L"");
  SkinFramework1.SetOptions(SkinFramework1.Options() | SkinFramework::kSkinControls);
  SkinFramework1.SetButtonStateColors(true);
  SkinFramework1.SetSkinFonts(true);
  SkinFramework1.ApplyWindow(static_cast<std::int32_t>(Me.Handle()));
}

bool Form1::FileExists(const std::wstring& path) {
  try {
    platform_.files.LastModified(path);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void Form1::VisitHomePage() {
  platform_.random.Randomize(platform_.clock.TimeOfDay());
  const int draw = static_cast<int>(static_cast<double>(platform_.random.Rnd()) * kHomePageDraws) + 1;
  if (draw == kHomePageDraw) platform_.starter.OpenWebPage(product::kHomePage, rt::winstyle::kMinimizedFocus);
}
