#include "unit/ProgramScript.h"

#include <array>
#include <optional>
#include <stdexcept>

#include "runtime/Failure.h"
#include "unit/ProgramFixture.h"

namespace script {
namespace {

using judge::kPress;
using judge::kRelease;
constexpr rt::ScreenRect kOwnWindow{300, 300, 840, 520};
constexpr rt::ScreenRect kTrayIcon{1800, 1050, 1816, 1066};
constexpr std::int32_t kTraySelect = 1024;
constexpr std::array<int, 4> kHoldMs{200, 300, 650, 2200};
// Judged this long after each step: after everything it set off at once, before the next.
constexpr double kSettle = 0.004;

rt::ScreenPoint PointOf(Place place) {
  switch (place) {
    case Place::Plain: return {100, 100};
    case Place::Near: return {101, 102};  // within the double-click area of Plain
    case Place::Far: return {600, 650};
    case Place::LeftMonitor: return {-500, -300};
    case Place::OwnWindow: return {400, 400};
    case Place::TrayIcon: return {1808, 1058};
  }
  return {};
}

// One program on the fakes, played step by step and judged as it goes.
struct Running : ProgramOnFakes {
  judge::ButtonJudge judge;
  std::size_t observed = 0;
  bool away = false;
  bool ended = false;
  int hookInstallsWhenLost = -1;
  bool refuseArmed = false;
  bool failArmed = false;

  explicit Running(const Setup& setup) {
    fakes.mouse.buttonsSwapped = setup.buttonsSwapped;
    fakes.mouse.doubleClickMs = setup.doubleClickMs;
    fakes.mouse.doubleClickArea = {setup.doubleClickSide, setup.doubleClickSide};
    if (setup.trayIconKnown) fakes.tray.iconRect = kTrayIcon;
    ShowWindow();
  }

  // What applications saw since the last look, fed to the judge in order.
  void Observe() {
    const auto& log = fakes.mouse.delivered;
    for (; observed < log.size(); ++observed) {
      // The hand's input on the lock screen went past our hook and the applications here.
      const fake::DeliveredMouseEvent& e = log[observed];
      if (!e.elsewhere) judge.AppsSaw(e.message, e.point, e.extraInfo == modMouse::kInjectedTag);
    }
  }

  void Settle() {
    NoteRefusals();
    Observe();
    if (hookInstallsWhenLost >= 0 && fakes.mouse.hooksInstalled > hookInstallsWhenLost) {
      judge.HookGone(false);
      hookInstallsWhenLost = -1;
    }
    judge.Settled(fakes.mouse.keptDown);
  }

  void Tray(std::int32_t message) { form.cSysTray1.HandleTrayMessage(message, 0); }

  // The hand's button; what the shell tells our tray icon follows only what passed the hook.
  void Button(const Step& step) {
    const std::size_t b = static_cast<std::size_t>(step.button);
    const rt::ScreenPoint at = PointOf(step.place);
    const bool ownWindow = form.Me.Visible();
    fakes.mouse.ownWindow = ownWindow ? std::optional<rt::ScreenRect>(kOwnWindow) : std::nullopt;
    // Where the shell cannot say where the icon is, only its menu tells the program.
    const bool onOwnUi = (step.place == Place::TrayIcon && fakes.tray.iconRect) ||
                         (step.place == Place::OwnWindow && ownWindow);
    // On the other desktop no hook of ours and no application here sees it: the hand lets go
    // where it is.
    const bool releasedElsewhere = away && judge.HandHolds(step.button);
    const std::optional<bool> toggled = judge.HandToggles(step.button, at, onOwnUi);
    if (releasedElsewhere) fakes.mouse.DeliverAt(judge.HandPoint(), kRelease[b]);
    if (!toggled) return;
    const bool press = *toggled;
    const bool passed = fakes.mouse.DeliverAt(at, press ? kPress[b] : kRelease[b]) == 0;
    if (press && !passed) judge.PressKeptFromApps(step.button);
    if (step.place != Place::TrayIcon || !passed || ended) return;
    if (b == 0) {
      Tray(press ? rt::msg::kLButtonDown : rt::msg::kLButtonUp);
      if (!press) Tray(kTraySelect);
    } else if (b == 1) {
      Tray(press ? rt::msg::kRButtonDown : rt::msg::kRButtonUp);
      if (!press) {
        judge.GaveUp();
        fakes.menus.choose = step.choice % 6;
        Tray(rt::msg::kContextMenu);
      }
    }
  }

  void PressDuringInjection(const Step& step) {
    fakes.mouse.whileNextInjection = [this, step] {
      if (away || judge.HandHolds(step.button)) return;
      judge.HandAt(PointOf(step.place));
      judge.HandPress(step.button);
      fakes.mouse.DeliverAt(PointOf(step.place), kPress[static_cast<std::size_t>(step.button)]);
    };
  }

  void Settings(int choice) {
    SettingsWindow& dialog = form.SettingsDialog();
    form.PushButton3.RaiseClick();
    const auto tick = [](rt::CheckBox& box, bool on) {
      if ((box.Value() == 1) != on) box.ToggleByUser();
    };
    tick(dialog.LatchBox, (choice & 1) != 0);
    dialog.HoldSlider.SetValue(kHoldMs[static_cast<std::size_t>((choice >> 3) & 3)]);
    tick(dialog.RightBox, (choice & 2) != 0);
    tick(dialog.MiddleBox, (choice & 4) != 0);
    dialog.OkButton.RaiseClick();
  }

  void Do(const Step& step) {
    switch (step.act) {
      case Act::Button: return Button(step);
      case Act::LetGo:
        if (judge.HandHolds(step.button)) Button(step);
        return;
      case Act::PressDuringInjection: return PressDuringInjection(step);
      case Act::Move:
        judge.HandAt(PointOf(step.place));
        // The lock screen shares the pointer with the desktop: where the hand leaves it there
        // is where it is on the return.
        fakes.mouse.DeliverAt(PointOf(step.place), rt::msg::kMouseMove);
        return;
      case Act::LockOrReturn:
        away ? fakes.UnlockScreenAt(fakes.clock.Now()) : fakes.LockScreenAt(fakes.clock.Now());
        away = !away;
        judge.Away(away);
        return;
      case Act::HookLost:
        if (!fakes.mouse.HookInstalled()) return;
        fakes.mouse.TakeHooksAwayAt(fakes.clock.Now());
        judge.HookGone(true);
        hookInstallsWhenLost = fakes.mouse.hooksInstalled;
        return;
      case Act::RefuseInjection:
        NoteRefusals();
        fakes.mouse.refuseNextInjection = refuseArmed = true;
        return;
      case Act::FailInjection:
        NoteRefusals();
        fakes.mouse.throwOnNextInjection = failArmed = true;
        return;
      case Act::FailInHook: fakes.mouse.throwOnNextWindowLook = true; return;
      case Act::Close: {
        judge.GaveUp();
        static constexpr std::array<int, 3> kReasons{rt::closereason::kUser, rt::closereason::kWindowsEnding,
                                                     rt::closereason::kCode};
        form.Me.RequestClose(kReasons[static_cast<std::size_t>(step.choice % 3)]);
        return;
      }
      default: break;
    }
    // The rest is done at the keyboard or in our window, which are on the desktop left.
    if (away) return;
    switch (step.act) {
      case Act::StartStop:
        judge.GaveUp();
        form.PushButton2.RaiseClick();
        return;
      case Act::Shortcut:
        if (!fakes.shortcuts.registered) return;
        judge.GaveUp();
        fakes.shortcuts.PressAt(fakes.clock.Now(), *fakes.shortcuts.registered);
        return;
      case Act::Settings: return Settings(step.choice);
      default: return;
    }
  }

  // The refusals the fakes were told of that Windows has acted on since the last look, even
  // one inside a step that is still going on (close waits in the pump).
  void NoteRefusals() {
    if ((refuseArmed && !fakes.mouse.refuseNextInjection) || (failArmed && !fakes.mouse.throwOnNextInjection))
      judge.InjectionRefused();
    refuseArmed = fakes.mouse.refuseNextInjection;
    failArmed = fakes.mouse.throwOnNextInjection;
  }
  // Nothing more is refused from here: the end of a script gives every chance.
  void RefuseNoMore() {
    NoteRefusals();
    fakes.mouse.refuseNextInjection = fakes.mouse.throwOnNextInjection = false;
    refuseArmed = failArmed = false;
  }

};

// The end of every script: the user comes back to the desktop, lets go of everything there,
// clicks each button once (the chance for a put-back Windows refused before), and gives up
// whatever is held with a click on the tray icon (then Stop, if auto-drag is still on).
// Planned ahead: a Start's loop pumps inside its click, so a run is one schedule.
std::vector<Step> WindDown(const Script& script) {
  bool away = false;
  for (const Step& step : script.steps)
    if (step.act == Act::LockOrReturn) away = !away;
  std::vector<Step> steps;
  if (away) steps.push_back({Act::LockOrReturn, 0, Place::Plain, 0, 200});
  for (int b = 0; b < 3; ++b) steps.push_back({Act::LetGo, b, Place::Far, 0, 200});
  for (int b = 0; b < 3; ++b) {
    steps.push_back({Act::Button, b, Place::Far, 0, 200});
    steps.push_back({Act::Button, b, Place::Far, 0, 40});
  }
  steps.push_back({Act::Button, 1, Place::TrayIcon, 0, 200});
  steps.push_back({Act::Button, 1, Place::TrayIcon, 0, 100});
  return steps;
}

Outcome PlayOn(Running& run, const Script& script);

}  // namespace

// What stops a run for good, said in words a failure report can carry.
Outcome Play(const Script& script) {
  try {
    Running run(script.setup);
    return PlayOn(run, script);
  } catch (const fake::PumpWouldBlockForever&) {
    throw std::runtime_error("the program waits for ever with nothing left to happen");
  } catch (const fake::PumpLimitExceeded&) {
    throw std::runtime_error("the program pumps without end");
  } catch (const fake::UnhandledFailureInHandler&) {
    throw std::runtime_error("a failure left a handler with nobody to report it");
  } catch (const rt::ProgramEnded&) {
    throw std::runtime_error("the program ended outside a handler");
  }
}

namespace {
Outcome PlayOn(Running& run, const Script& script) {
  Outcome outcome;
  std::size_t next = 0;  // the first step not yet started
  double t = 1;
  const auto schedule = [&](std::size_t index, const Step& step) {
    t += step.gapMs / 1000.0;
    run.fakes.pump.At(t, [&, index, step] {
      next = index + 1;
      run.Do(step);
      run.fakes.pump.At(run.fakes.clock.Now() + kSettle, [&] { run.Settle(); });
    });
  };
  std::vector<Step> steps = script.steps;
  const std::size_t scripted = steps.size();
  for (const Step& step : WindDown(script)) steps.push_back(step);
  bool judged = false;
  try {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      // Between the last scripted step and the first of the end, which comes 200 ms later.
      if (i == scripted)
        run.fakes.pump.At(t + 0.1, [&] {
          run.RefuseNoMore();
          run.fakes.mouse.throwOnNextWindowLook = false;
          run.fakes.mouse.whileNextInjection = {};
        });
      schedule(i, steps[i]);
    }
    run.fakes.pump.At(t += 0.2, [&] {
      if (run.form.Drag().IsOn()) run.form.PushButton2.RaiseClick();
    });
    run.fakes.pump.At(t += 1.5, [&] {
      run.Observe();
      run.judge.Final(run.fakes.mouse.keptDown);
      judged = true;
    });
    run.fakes.pump.RunUntil(t + 0.1);
  } catch (const fake::PumpWouldBlockForever&) {
    // Auto-drag still on after the last Stop waits for input, as it would on Windows.
    if (!judged) throw;
  } catch (const rt::ProgramEnded&) {
    // Windows takes a gone program's hooks with it; what the hand does from here reaches
    // applications directly.
    run.ended = true;
    run.judge.Ended();
    run.fakes.mouse.SetHookLostHandler({});
    // Unhooking waits, as Windows does, until the input thread has done what it was given:
    // what we injected last has reached applications before the judge looks.
    const auto settle = [&] {
      run.fakes.mouse.Unhook(run.program.Mouse().MouseHookHandle());
      run.Settle();
    };
    settle();
    for (; next < steps.size(); ++next) {
      if (steps[next].act == Act::LockOrReturn) {
        run.away = !run.away;
        run.judge.Away(run.away);
      }
      if (steps[next].act == Act::Button || steps[next].act == Act::Move || steps[next].act == Act::LetGo)
        run.Do(steps[next]);
      settle();
    }
  }
  if (!judged) {
    run.Observe();
    run.judge.Final(0);
  }
  outcome.violations = run.judge.Violations();
  outcome.seen = run.fakes.mouse.Seen();
  outcome.steps = steps.size();
  return outcome;
}
}  // namespace

namespace {
const char* ActName(Act act) {
  switch (act) {
    case Act::Button: return "button";
    case Act::Move: return "move";
    case Act::StartStop: return "start/stop";
    case Act::Shortcut: return "shortcut";
    case Act::LockOrReturn: return "lock/return";
    case Act::HookLost: return "hook-lost";
    case Act::RefuseInjection: return "refuse-next-injection";
    case Act::FailInjection: return "fail-next-injection";
    case Act::FailInHook: return "fail-in-hook";
    case Act::Close: return "close";
    case Act::Settings: return "settings";
    case Act::PressDuringInjection: return "press-during-next-injection";
    case Act::LetGo: return "let-go";
  }
  return "?";
}
const char* PlaceName(Place place) {
  switch (place) {
    case Place::Plain: return "100,100";
    case Place::Near: return "101,102";
    case Place::Far: return "600,650";
    case Place::LeftMonitor: return "-500,-300";
    case Place::OwnWindow: return "own-window";
    case Place::TrayIcon: return "tray-icon";
  }
  return "?";
}
}  // namespace

std::ostream& operator<<(std::ostream& out, const Step& step) {
  out << "+" << step.gapMs << "ms " << ActName(step.act);
  if (step.act == Act::Button || step.act == Act::PressDuringInjection || step.act == Act::LetGo)
    out << "(" << "PSM"[step.button] << " @" << PlaceName(step.place) << ")";
  if (step.act == Act::Move) out << "(@" << PlaceName(step.place) << ")";
  if (step.choice != 0 && (step.act == Act::Button || step.act == Act::Close || step.act == Act::Settings))
    out << "[" << step.choice << "]";
  return out;
}

std::ostream& operator<<(std::ostream& out, const Script& script) {
  out << (script.setup.buttonsSwapped ? "swapped " : "") << "double-click " << script.setup.doubleClickMs << "ms/"
      << script.setup.doubleClickSide << "px" << (script.setup.trayIconKnown ? "" : ", tray icon unknown") << ":";
  for (const Step& step : script.steps) out << "\n  " << step;
  return out;
}

}  // namespace script
