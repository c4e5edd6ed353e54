#include "fakes/FakeServices.h"

#include <algorithm>
#include <memory>

#include "runtime/Failure.h"
#include "runtime/Text.h"
#include "runtime/controls/Control.h"

namespace fake {

rt::PicturePtr MakePicture(int type, std::uintptr_t handle) { return std::make_shared<FakePicture>(type, handle); }

int FakeDialogs::MessageBox(const std::wstring& text, int style, const std::wstring& title) {
  shown.push_back({text, style, title});
  if (whileShown) whileShown(shown.back());
  return answer;
}

bool FakeApplication::IsThisExecutable(const std::wstring& path) {
  if (rt::EqualsIgnoringAsciiCase(path, executable)) return true;
  return std::find(otherNames.begin(), otherNames.end(), path) != otherNames.end();
}

void FakeApplication::EndProgram() {
  ended = true;
  throw rt::ProgramEnded{};
}

std::int64_t FakeFileSystem::LastModified(const std::wstring& path) {
  queried.push_back(path);
  if (files.count(path) == 0) throw rt::Failure(L"File not found");
  return 1;
}

bool FakeFileSystem::IsOrdinaryFile(const std::wstring& path) {
  queried.push_back(path);
  auto it = files.find(path);
  return it != files.end() && !it->second.directory && !it->second.hidden && !it->second.system;
}

std::optional<std::vector<std::uint8_t>> FakeFileSystem::ReadFile(const std::wstring& path, std::size_t maxBytes) {
  auto it = files.find(path);
  if (it == files.end() || it->second.directory || it->second.bytes.size() > maxBytes) return std::nullopt;
  return it->second.bytes;
}

rt::PicturePtr FakeFileSystem::LoadPicture(const std::wstring& path) {
  auto it = files.find(path);
  if (it == files.end()) throw rt::Failure(L"File not found: '" + path + L"'");
  if (!it->second.picture) throw rt::Failure(L"Invalid picture");
  return MakePicture(3, 0xC0 + files.size());
}

void FakeFileSystem::PutText(const std::wstring& path, const std::string& text) {
  FakeFile f;
  f.bytes.assign(text.begin(), text.end());
  Put(path, std::move(f));
}

void FakeStarter::Start(const std::wstring& commandLine, int windowStyle) {
  if (fail) throw rt::Failure(L"File not found");
  started.push_back({commandLine, windowStyle});
}

void FakeStarter::OpenWebPage(const std::wstring& address, int windowStyle) {
  if (fail) throw rt::Failure(L"No application is associated with the specified file for this operation.");
  opened.push_back({address, windowStyle});
}

std::uintptr_t FakeWindowProcs::ReplaceWindowProc(rt::WindowHandle window, rt::ProgramWindowProc procedure) {
  auto it = current.find(window);
  const std::uintptr_t previous = it == current.end() ? OriginalProcOf(window) : it->second;
  const std::uintptr_t id = nextProgramProc_++;
  programProcs_[id] = std::move(procedure);
  current[window] = id;
  return previous;
}

void FakeWindowProcs::RestoreWindowProc(rt::WindowHandle window, std::uintptr_t previous) {
  current[window] = previous;
}

std::intptr_t FakeWindowProcs::CallWindowProc(std::uintptr_t procedure, rt::WindowHandle window, std::uint32_t message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
  auto program = programProcs_.find(procedure);
  if (program != programProcs_.end()) return program->second(window, message, wParam, lParam);
  if (procedure == OriginalProcOf(window)) {
    originalCalls.push_back({window, message, wParam, lParam});
    return kOriginalResult;
  }
  return 0;  // a procedure value that was never a procedure: nothing runs
}

std::intptr_t FakeWindowProcs::Send(rt::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
  auto it = current.find(window);
  return CallWindowProc(it == current.end() ? OriginalProcOf(window) : it->second, window, message, wParam, lParam);
}

namespace {
std::wstring CaptionOf(const rt::Control& control) {
  const auto* captioned = dynamic_cast<const rt::CaptionedControl*>(&control);
  return captioned != nullptr ? captioned->Caption() : std::wstring();
}
}  // namespace

void FakeAccessibility::SetLiveSetting(const rt::Control& control, rt::LiveSetting setting) {
  told.push_back({control.Name(), setting, CaptionOf(control)});
}

void FakeAccessibility::LiveRegionChanged(const rt::Control& control) {
  told.push_back({control.Name(), std::nullopt, CaptionOf(control)});
}

}  // namespace fake
