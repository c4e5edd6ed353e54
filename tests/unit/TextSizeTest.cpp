// The user's text size, on the fakes: both windows take it up at once when Windows announces
// it, and at every size from 100 to 225 % and in every language nothing is cut off and
// nothing overlaps. At 96 DPI both windows fit the work area of a 1366 x 768 screen; at 144
// DPI the main window does up to 150 %, and the Settings window, which would need pages
// there beyond its two columns, is only measured.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "app/Program.h"
#include "fakes/FakePlatform.h"

namespace {

// Around a window's client area: its title bar and borders, as the Settings window allows.
constexpr int kFrameAround = 600;

const rt::Font& FontOf(const rt::Form& form, const rt::Control& control) {
  return control.OwnFont().name.empty() ? form.OwnFont() : control.OwnFont();
}

bool Fits(const rt::Form& form, rt::TextMetrics::Room room) {
  return form.ClientWidth() + kFrameAround <= room.width && form.ClientHeight() + kFrameAround <= room.height;
}

// What is wrong with a window's layout, one fault a line; empty when nothing is.
std::string Faults(const rt::Form& form, rt::TextMetrics& metrics) {
  std::ostringstream faults;
  const auto name = [](const rt::Control& c) { return std::string(c.Name().begin(), c.Name().end()); };
  const auto shown = [&](const rt::Control& c) {
    return c.Visible() && c.Kind() != rt::ControlKind::TextBox && c.Kind() != rt::ControlKind::UserControl;
  };
  for (const rt::Control* c : form.Controls()) {
    if (!shown(*c)) continue;
    const rt::TwipsRect b = c->Bounds();
    const int width = c->Container() ? c->Container()->Bounds().width : form.ClientWidth();
    const int height = c->Container() ? c->Container()->Bounds().height : form.ClientHeight();
    if (b.left < 0 || b.top < 0 || b.left + b.width > width || b.top + b.height > height)
      faults << name(*c) << " sticks out of what holds it\n";
    for (const rt::Control* other : form.Controls()) {
      if (other <= c || !shown(*other) || other->Container() != c->Container()) continue;
      const rt::TwipsRect o = other->Bounds();
      if (b.left < o.left + o.width && o.left < b.left + b.width && b.top < o.top + o.height && o.top < b.top + b.height)
        faults << name(*c) << " overlaps " << name(*other) << "\n";
    }
    const auto* captioned = dynamic_cast<const rt::CaptionedControl*>(c);
    const rt::ControlKind kind = c->Kind();
    if (captioned == nullptr || captioned->Caption().empty() ||
        (kind != rt::ControlKind::Label && kind != rt::ControlKind::CheckBox && kind != rt::ControlKind::PushButton))
      continue;
    const rt::Font& font = FontOf(form, *c);
    const bool wraps = kind != rt::ControlKind::PushButton;
    const bool fits = metrics.CaptionWidth(kind, captioned->Caption(), font) <= b.width ||
                      (wraps && metrics.CaptionHeight(kind, captioned->Caption(), font, b.width) <= b.height);
    if (!fits) faults << name(*c) << " cuts its caption off\n";
  }
  return faults.str();
}

TEST(TextSize, BothWindowsReflowForEveryTextSizeAndLanguage) {
  struct Screen {
    const char* what;
    rt::TextMetrics::Room room;
    int mainFitsUpTo, settingsFitsUpTo;  // percent
  };
  // 1366 x 768 less a 40-pixel taskbar, in twips at 96 and at 144 DPI.
  const Screen screens[] = {{"96 DPI", {1366 * 15, 728 * 15}, 225, 225}, {"144 DPI", {1366 * 10, 728 * 10}, 150, 0}};
  for (const Screen& screen : screens)
    for (unsigned language = 0; language < rt::kLanguageCount; ++language)
      for (const int percent : {100, 150, 225}) {
        SCOPED_TRACE(testing::Message() << screen.what << ", " << rt::kLanguageTags[language] << ", " << percent << " %");
        fake::FakePlatform fakes;
        fakes.texts.SetLanguage(static_cast<rt::Language>(language));
        fakes.metrics.workArea = screen.room;
        Program program(fakes.platform);
        Form1& form = program.Window();
        form.cSysTray1Site.SetHandle(0x2001);
        form.Me.SetHandle(0x1001);
        program.Start();
        SettingsWindow& dialog = form.SettingsDialog();
        // Announced while both run, as Windows does when the user moves the slider.
        fakes.metrics.SetTextSize(percent);
        EXPECT_EQ(dialog.Me.OwnFont().points, fakes.metrics.messageFont.points);
        EXPECT_EQ(form.PushButton2.OwnFont().points, std::round(11.25 * percent / 100 * 4) / 4);
        EXPECT_EQ(Faults(form.Me, fakes.metrics), "");
        EXPECT_TRUE(Fits(form.Me, screen.room) || percent > screen.mainFitsUpTo)
            << form.Me.ClientWidth() << " x " << form.Me.ClientHeight();
        // Every note a policy may show, and the line under the shortcut, take their room too.
        for (rt::Label* note : {&dialog.LatchPolicyNote, &dialog.ButtonsPolicyNote, &dialog.ExceptionsPolicyNote,
                                &dialog.BadgePolicyNote})
          note->SetVisible(true);
        dialog.TextSizeChanged();
        EXPECT_EQ(Faults(dialog.Me, fakes.metrics), "");
        EXPECT_TRUE(Fits(dialog.Me, screen.room) || percent > screen.settingsFitsUpTo)
            << dialog.Me.ClientWidth() << " x " << dialog.Me.ClientHeight();
      }
}

}  // namespace
