// The per-user settings store: named texts grouped by application and section, kept in
// HKEY_CURRENT_USER\Software\<application>\<section> as string values.
#pragma once
#include <string>
#include <vector>

#include "runtime/Dialogs.h"
#include "runtime/Registry.h"
#include "runtime/Texts.h"

class SettingsStore {
 public:
  // The product's name is what the one message about a refused write speaks of.
  SettingsStore(rt::Registry& registry, rt::Dialogs& dialogs, const rt::Texts& texts, std::wstring productName)
      : registry_(registry), dialogs_(dialogs), texts_(texts), productName_(std::move(productName)) {}
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Stores the text under the key, making the application and section keys when they are
  // missing and replacing any earlier text. A write the registry refuses is told to the
  // user once per run; the program goes on either way.
  void SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                   const std::wstring& text);

  // The stored text, or the default when the value, or any key on its path, is missing
  // or holds something other than text.
  std::wstring GetSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultText);

  // A list of texts, kept as one multi-string value; read back as stored, or empty when the
  // value or its key is missing or holds something else.
  void SaveList(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                const std::vector<std::wstring>& texts);
  std::vector<std::wstring> GetList(const std::wstring& application, const std::wstring& section,
                                    const std::wstring& key);

  // The key below HKEY_CURRENT_USER that holds one application's section.
  static std::wstring SectionPath(const std::wstring& application, const std::wstring& section);

  bool FailureReported() const { return failureReported_; }

 private:
  void ReportFailureOnce();

  rt::Registry& registry_;
  rt::Dialogs& dialogs_;
  const rt::Texts& texts_;
  std::wstring productName_;
  // A refused write is told once: a user who cannot write the settings should not be
  // stopped by the same box on every click.
  bool failureReported_ = false;
};

// Where this program keeps its settings (the maker, then the product), their names, and
// the texts of the two startup choices.
namespace settings {
inline constexpr const wchar_t* kApplication = L"Kestrova";
inline constexpr const wchar_t* kSection = L"Vornatic";
inline constexpr const wchar_t* kWindowsStartup = L"Windows Startup";
inline constexpr const wchar_t* kMinimized = L"Minimized";
// The global shortcut for Start/Stop ("Win+Shift+D", or "None"), and the holding badge ("On" or "Off").
inline constexpr const wchar_t* kHotkey = L"Hotkey";
inline constexpr const wchar_t* kIndicator = L"Indicator";
// Latching a press held still: "Off" or a hold time in milliseconds; and the right and middle
// buttons too ("On"/"Off").
inline constexpr const wchar_t* kLatch = L"Latch";
inline constexpr const wchar_t* kLatchRight = L"LatchRight";
inline constexpr const wchar_t* kLatchMiddle = L"LatchMiddle";
// The programs (file names, "notepad.exe") in whose windows the latch stays out, one a line.
inline constexpr const wchar_t* kLatchExceptions = L"LatchExceptions";
inline constexpr const wchar_t* kOn = L"On";
inline constexpr const wchar_t* kOff = L"Off";
}  // namespace settings
