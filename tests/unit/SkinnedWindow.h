// A window model with one control of every kind and our skin component on it, for the
// tests of what a skin changes and of what the window shows.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "fakes/FakeServices.h"
#include "ui/SkinFramework.h"

class SkinnedWindowTest : public ::testing::Test {
 protected:
  static constexpr rt::WindowHandle kWindow = 0x1001;
  static constexpr const wchar_t* kPath = L"C:\\Vornatic\\x\\o.cjs";

  SkinnedWindowTest() {
    for (rt::Control* control : std::initializer_list<rt::Control*>{&button, &frame, &label, &check, &option, &text})
      window.Add(*control);
    window.SetHandle(kWindow);
  }

  // Puts the skin file where start-up looks and loads it; the options are the test's.
  void LoadSkinFile(const std::string& skinText) {
    files.PutText(kPath, skinText);
    skins.LoadSkin(kPath, L"");
  }
  void ApplyToTheWindow() { skins.ApplyWindow(static_cast<std::int32_t>(kWindow)); }

  fake::FakeFileSystem files;
  rt::Form window{L"Form1"};
  rt::PushButton button{L"PushButton1"};
  rt::Frame frame{L"Frame1"};
  rt::Label label{L"Label1"};
  rt::CheckBox check{L"Check4"};
  rt::OptionButton option{L"Option1"};
  rt::TextBox text{L"Text1"};
  SkinFramework skins{files, window};
};
