// RegStuff, the registry writer: writes and deletes registry values, and keeps the
// program's entry in the list of programs Windows starts at logon.
#pragma once
#include <cstdint>
#include <string>
#include <variant>

#include "runtime/Application.h"
#include "runtime/Registry.h"

// What a value holds before it is stored: text, or a number for a DWORD.
using RegData = std::variant<std::wstring, std::int32_t>;

class RegStuff {
 public:
  // The Run key, both below HKEY_LOCAL_MACHINE (every user) and HKEY_CURRENT_USER; the
  // program writes only the user's.
  static constexpr const wchar_t* kRunKey = L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";

  RegStuff(rt::Registry& registry, rt::Application& app) : registry_(registry), app_(app) {}
  RegStuff(const RegStuff&) = delete;
  RegStuff& operator=(const RegStuff&) = delete;

  // What one Run key holds for the executable named fileName in the program's folder.
  enum class RunEntry {
    kNone,         // no value by that name, or one that starts some other file
    kThisProgram,  // a value that starts this executable
    kUnreadable,   // the key or the value could not be read: nobody can tell
  };
  // Which entry still starts the program after a removal.
  enum class EntryLeft { kNone, kForEveryUser, kForThisUser };

  // Enters the executable named fileName, which lives in the program's folder, into this
  // user's Run key, unless an entry for every user starts it already. True when one of the
  // two now holds it.
  bool AddRunValue(const std::wstring& fileName);
  // Takes this executable's entries out of this user's Run key and, where Windows lets it,
  // out of every user's; an entry that is not there is no failure, and one that starts
  // another copy stays. Tells which entry that starts this executable would not go.
  EntryLeft DeleteRunValue(const std::wstring& fileName);
  // An entry by that name counts as this program's when the command it holds leads to the
  // running executable, however the path is written (quoted or not, any letter case, with
  // %VARIABLES% in a REG_EXPAND_SZ value).
  RunEntry FindRunEntry(rt::RegKey root, const std::wstring& fileName);

  // Opens an existing key (never creates it), writes one value and closes the key.
  // The status of the open when it fails, else that of the write.
  long SetKeyValue(rt::RegKey root, const std::wstring& subKey, const std::wstring& valueName, const RegData& data,
                   std::uint32_t type);
  // REG_SZ and REG_DWORD are written; any other type writes nothing and gives 0.
  long WriteValue(rt::RegKey key, const std::wstring& valueName, std::uint32_t type, const RegData& data);
  long DeleteKeyValue(rt::RegKey root, const std::wstring& subKey, const std::wstring& valueName);

  // The command Windows runs at logon: the full path, quoted, so that a folder with blanks
  // is neither split at a blank nor mistaken for a program at one of its prefixes.
  static constexpr const wchar_t* kLogonArgument = L"/logon";
  static std::wstring RunCommand(const std::wstring& folder, const std::wstring& fileName);
  static std::wstring ProgramPath(const std::wstring& folder, const std::wstring& fileName);

 private:
  // Deletes the entry in that root when it starts this executable; false when one that
  // does is still there afterwards.
  bool DeleteOwnEntry(rt::RegKey root, const std::wstring& fileName);

  rt::Registry& registry_;
  rt::Application& app_;
};
