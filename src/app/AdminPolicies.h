// The administrator's choices, as the program keeps them: read at start and again whenever
// the policy keys change, with what cannot be read kept to be said once.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "runtime/EventPump.h"
#include "runtime/Registry.h"
#include "runtime/Texts.h"
#include "settings/PolicyValues.h"
#include "settingswindow/DecidedByPolicy.h"

class AdminPolicies {
 public:
  AdminPolicies(rt::Registry& registry, const rt::Texts& texts, rt::EventPump& pump)
      : registry_(registry), pump_(pump), reader_(registry, texts, &AdminPolicies::Understood) {}
  AdminPolicies(const AdminPolicies&) = delete;
  AdminPolicies& operator=(const AdminPolicies&) = delete;

  void Read();
  // From now on, changed runs after every change of the machine's or the user's policy keys.
  void Watch(std::function<void()> changed);
  // In the user's words, what could not be read and has not been said yet; then nothing.
  std::wstring TakeComplaint() { return std::exchange(complaint_, std::wstring()); }

  const policy::Decisions& Decisions() const { return decisions_; }
  // The Settings window's share of them.
  DecidedByPolicy Decided() const;

 private:
  // A policy text the program would not understand is no decision: the next source holds.
  static bool Understood(const rt::Texts& words, const std::wstring& name, const std::wstring& text);

  rt::Registry& registry_;
  rt::EventPump& pump_;
  policy::Reader reader_;
  policy::Decisions decisions_;
  std::wstring complaint_;
  // Last: a change reported while this is being taken down finds no watch to report it.
  // The machine's and the user's.
  std::array<std::unique_ptr<rt::KeyWatch>, 2> watches_;
};
