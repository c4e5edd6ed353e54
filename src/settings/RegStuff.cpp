#include "settings/RegStuff.h"

#include <cerrno>
#include <cwchar>
#include <limits>
#include <vector>

#include "runtime/Failure.h"
#include "settings/RegText.h"
#include "settings/RunCommandLine.h"

namespace {

std::wstring AsText(const RegData& data) {
  if (const auto* text = std::get_if<std::wstring>(&data)) return *text;
  return std::to_wstring(std::get<std::int32_t>(data));
}

std::int32_t AsNumber(const RegData& data) {
  if (const auto* number = std::get_if<std::int32_t>(&data)) return *number;
  const std::wstring& text = std::get<std::wstring>(data);
  wchar_t* end = nullptr;
  errno = 0;
  const long long value = std::wcstoll(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != L'\0') throw rt::Failure(L"Type mismatch");
  if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    throw rt::Failure(L"Overflow");
  return static_cast<std::int32_t>(value);
}

std::vector<std::uint8_t> LittleEndian(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
          static_cast<std::uint8_t>((bits >> 16) & 0xFF), static_cast<std::uint8_t>((bits >> 24) & 0xFF)};
}

}  // namespace

std::wstring RegStuff::ProgramPath(const std::wstring& folder, const std::wstring& fileName) {
  // The root of a drive already ends in its backslash.
  const bool endsWithBackslash = !folder.empty() && folder.back() == L'\\';
  return folder + (endsWithBackslash ? L"" : L"\\") + fileName;
}

std::wstring RegStuff::RunCommand(const std::wstring& folder, const std::wstring& fileName) {
  // The start at logon says so: when a copy already runs, it ends without a word instead
  // of bringing that copy's window out of the tray.
  return L"\"" + ProgramPath(folder, fileName) + L"\" " + kLogonArgument;
}

bool RegStuff::AddRunValue(const std::wstring& fileName) {
  if (FindRunEntry(rt::kHkeyLocalMachine, fileName) == RunEntry::kThisProgram) {
    // Entered for every user already, by an administrator or an older version: a second
    // entry would start it twice, and one of this user's own left by an earlier run goes.
    DeleteOwnEntry(rt::kHkeyCurrentUser, fileName);
    return true;
  }
  // The user's own list only. The program's folder is one a single user can write, and the
  // machine's list would start whatever that user puts there in everyone's session.
  // A new profile may not have the key yet.
  const rt::OpenedKey opened = rt::CreateRegistryKey(registry_, rt::kHkeyCurrentUser, kRunKey, rt::reg::kKeyRunAccess);
  const std::wstring command = RunCommand(app_.ProgramFolder(), fileName);
  return (opened.ok() && WriteValue(opened.key.get(), fileName, rt::reg::kSz, command) == rt::reg::kSuccess) ||
         FindRunEntry(rt::kHkeyCurrentUser, fileName) == RunEntry::kThisProgram;
}

RegStuff::EntryLeft RegStuff::DeleteRunValue(const std::wstring& fileName) {
  // Both, even when the first stays: whatever can go, goes.
  const bool machineStays = !DeleteOwnEntry(rt::kHkeyLocalMachine, fileName);
  const bool userStays = !DeleteOwnEntry(rt::kHkeyCurrentUser, fileName);
  if (machineStays) return EntryLeft::kForEveryUser;
  if (userStays) return EntryLeft::kForThisUser;
  return EntryLeft::kNone;
}

bool RegStuff::DeleteOwnEntry(rt::RegKey root, const std::wstring& fileName) {
  // An entry by our name that starts another copy (an old install, the portable one) is
  // that copy's to remove.
  if (FindRunEntry(root, fileName) != RunEntry::kThisProgram) return true;
  const long status = DeleteKeyValue(root, kRunKey, fileName);
  if (status == rt::reg::kSuccess || status == rt::reg::kFileNotFound) return true;
  // A refused delete says nothing about whether it is still there: look.
  return FindRunEntry(root, fileName) != RunEntry::kThisProgram;
}

RegStuff::RunEntry RegStuff::FindRunEntry(rt::RegKey root, const std::wstring& fileName) {
  const rt::OpenedKey opened = rt::OpenRegistryKey(registry_, root, kRunKey, rt::reg::kKeyRead);
  if (opened.status == rt::reg::kFileNotFound) return RunEntry::kNone;
  if (!opened.ok()) return RunEntry::kUnreadable;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  const long status = registry_.QueryValue(opened.key.get(), fileName, &type, &data);
  if (status == rt::reg::kFileNotFound) return RunEntry::kNone;
  if (status != rt::reg::kSuccess) return RunEntry::kUnreadable;
  if (type != rt::reg::kSz && type != rt::reg::kExpandSz) return RunEntry::kNone;
  std::wstring command = regtext::FromRegSz(data);
  // Windows fills in the variables of such a value before it runs it, and so do we.
  if (type == rt::reg::kExpandSz) command = registry_.ExpandVariables(command);
  return runcommand::StartsProgram(command, [this](const std::wstring& path) { return app_.IsThisExecutable(path); })
             ? RunEntry::kThisProgram
             : RunEntry::kNone;
}

long RegStuff::SetKeyValue(rt::RegKey root, const std::wstring& subKey, const std::wstring& valueName,
                           const RegData& data, std::uint32_t type) {
  const rt::OpenedKey opened = rt::OpenRegistryKey(registry_, root, subKey, rt::reg::kKeyRunAccess);
  if (!opened.ok()) return opened.status;
  return WriteValue(opened.key.get(), valueName, type, data);
}

long RegStuff::WriteValue(rt::RegKey key, const std::wstring& valueName, std::uint32_t type, const RegData& data) {
  switch (type) {
    case rt::reg::kSz:
      return registry_.SetValue(key, valueName, type, regtext::ToRegSz(AsText(data)));
    case rt::reg::kDword:
      return registry_.SetValue(key, valueName, type, LittleEndian(AsNumber(data)));
    default:
      return rt::reg::kSuccess;
  }
}

long RegStuff::DeleteKeyValue(rt::RegKey root, const std::wstring& subKey, const std::wstring& valueName) {
  const rt::OpenedKey opened = rt::OpenRegistryKey(registry_, root, subKey, rt::reg::kKeyRunAccess);
  if (!opened.ok()) return opened.status;
  return registry_.DeleteValue(opened.key.get(), valueName);
}
