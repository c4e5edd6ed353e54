// The main window: its controls, its flags, and the event handlers of every Part of the
// program. The handlers live beside the subsystem they belong to (autodrag/, tray/,
// settings/, help/); this header is where they meet.
#pragma once
#include <cstdint>
#include <string>

#include "app/Globals.h"
#include "app/Product.h"
#include "autodrag/modMouse.h"
#include "runtime/Platform.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/UserControlSite.h"
#include "settings/RegStuff.h"
#include "settings/SettingsStore.h"
#include "settings/mStartUp.h"
#include "tray/cSysTray.h"
#include "ui/SkinFramework.h"

class Form1 {
  // First, so that every member below may be built from them.
  rt::Platform& platform_;
  Globals& globals_;
  modMouse& mouse_;

 public:
  Form1(rt::Platform& platform, Globals& globals, modMouse& mouse, SysTray& sysTray);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The window and its controls, named as laid out.
  rt::Form Me{L"Form1"};
  rt::PushButton PushButton2{L"PushButton2"};
  rt::Frame Frame2{L"Frame2"};
  rt::CheckBox Check4{L"Check4"};
  rt::CheckBox Check8{L"Check8"};
  rt::Frame Frame1{L"Frame1"};
  rt::Label Label1{L"Label1"};
  rt::PushButton PushButton1{L"PushButton1"};
  rt::TextBox Text1{L"Text1"};
  rt::UserControlSite cSysTray1Site{L"cSysTray1"};
  cSysTray cSysTray1;
  SkinFramework SkinFramework1;

  // Startup options: the per-user settings store and the run-at-logon entry.
  SettingsStore Settings{platform_.registry, platform_.dialogs};
  RegStuff RegistryValues{platform_.registry, platform_.app};
  mStartUp StartUp{platform_.app, RegistryValues};

  // Form-level state of the auto-drag controller.
  bool StopRequested = false;
  bool ButtonHeld = false;
  // Set while start-up gives the check boxes the stored choices, so their click
  // handling does not take those changes for the user's.
  bool Loading = false;

  // The name the caption, the tray tip and the application title are made from.
  std::wstring DisplayName{product::kDisplayName};

  // Start-up sequence.
  void Form_Load();
  void ApplySkin();
  bool FileExists(const std::wstring& path);
  void VisitHomePage();

  // Main window behaviour.
  void Form_Resize();
  void Form_QueryUnload(int& cancel, int& unloadMode);
  void Form_Unload(int& cancel);
  // On every way out: releases the button we hold for the user and the clicks held back.
  void LetGoOfTheButton();
  void Form_MouseMove(rt::MouseMoveArgs& args);
  void Frame1_MouseMove(rt::MouseMoveArgs& args);
  void Frame2_MouseMove(rt::MouseMoveArgs& args);

  // Auto-drag controller.
  void PushButton2_Click();
  void PushButton1_MouseMove(rt::MouseMoveArgs& args);
  void PushButton2_MouseMove(rt::MouseMoveArgs& args);

  // Tray restore.
  void cSysTray1_MouseUp(std::int16_t& button, std::int32_t& id);

  // Startup options.
  void Check4_Click();
  void Check8_Click();

  // Help.
  void PushButton1_Click();

 private:
  void BuildLayout();
  void ConnectEvents();
  // Pointer shapes follow one rule everywhere: the hourglass, once set, stays.
  void SetPointerUnlessHourglass(int shape);
};
