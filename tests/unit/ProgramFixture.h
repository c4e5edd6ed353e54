// A whole program on the fakes, with its window shown as after start-up.
#pragma once
#include <gtest/gtest.h>

#include "app/Program.h"
#include "fakes/FakePlatform.h"

// The program as the platform runs it, for a test fixture or a script of its own.
struct ProgramOnFakes {
  explicit ProgramOnFakes(double timeOfDayAtStart = 10 * 3600.0, std::wstring displayName = product::kDisplayName)
      : fakes(timeOfDayAtStart), program(fakes.platform, std::move(displayName)) {
    // As the Windows backend does at every callback boundary: a failure that leaves a
    // handler is reported and ends the program.
    fakes.pump.onUnhandledFailure = [this](const std::exception& e) {
      program.OnUnhandledFailure(e);
      fakes.app.EndProgram();
    };
  }

  fake::FakePlatform fakes;
  Program program;
  Form1& form = program.Window();
  modMouse& mouse = program.Mouse();

  // The window as the user first sees it: shown, with its tray control's own window.
  void ShowWindow() {
    form.cSysTray1Site.SetHandle(0x2001);
    form.Me.SetHandle(0x1001);
    program.Start();
  }
};

class ProgramTest : public ::testing::Test, protected ProgramOnFakes {
 protected:
  using ProgramOnFakes::ProgramOnFakes;

  // Clicks the Start/Stop button at a virtual time, as the platform dispatches a click.
  void ClickStartStopAt(double at) {
    fakes.pump.At(at, [this] { form.PushButton2.RaiseClick(); });
  }
};
