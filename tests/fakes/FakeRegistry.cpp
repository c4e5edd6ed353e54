#include "fakes/FakeRegistry.h"

#include "runtime/Text.h"

namespace fake {

namespace {
constexpr std::uint32_t kSetValueRight = 0x0002;
constexpr std::uint32_t kCreateSubKeyRight = 0x0004;
}  // namespace

std::wstring FakeRegistry::Lower(std::wstring s) { return rt::AsciiLower(std::move(s)); }

std::wstring FakeRegistry::Normalize(const std::wstring& path) {
  std::wstring p = Lower(path);
  while (!p.empty() && p.back() == L'\\') p.pop_back();
  return p;
}

std::wstring FakeRegistry::Join(rt::RegKey root, const std::wstring& subKey) const {
  std::wstring base;
  if (root == rt::kHkeyCurrentUser)
    base = L"hkcu";
  else if (root == rt::kHkeyLocalMachine)
    base = L"hklm";
  else {
    auto it = handles_.find(root);
    if (it == handles_.end()) return L"";
    base = it->second;
  }
  return subKey.empty() ? base : Normalize(base + L"\\" + subKey);
}

void FakeRegistry::MakeKey(const std::wstring& path) {
  std::wstring p = Normalize(path);
  for (std::size_t pos = p.find(L'\\');; pos = p.find(L'\\', pos + 1)) {
    keys_[p.substr(0, pos)];
    if (pos == std::wstring::npos) break;
  }
}

bool FakeRegistry::KeyExists(const std::wstring& path) const { return keys_.count(Normalize(path)) != 0; }

long FakeRegistry::OpenKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) {
  const std::wstring path = Join(root, subKey);
  if (path.empty()) return rt::reg::kInvalidHandle;
  if (path != L"hkcu" && path != L"hklm" && keys_.count(path) == 0) return rt::reg::kFileNotFound;
  if (deniedOpens_.count(path) != 0) return rt::reg::kAccessDenied;
  if ((access & (kSetValueRight | kCreateSubKeyRight)) != 0 && Refused(path)) return rt::reg::kAccessDenied;
  *result = nextHandle_++;
  handles_[*result] = path;
  return rt::reg::kSuccess;
}

long FakeRegistry::CreateKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) {
  const std::wstring path = Join(root, subKey);
  if (path.empty()) return rt::reg::kInvalidHandle;
  if (Refused(path)) return rt::reg::kAccessDenied;
  if (keys_.count(path) == 0) {
    MakeKey(path);
    Changed(path);
  }
  return OpenKey(root, subKey, access, result);
}

long FakeRegistry::SetValue(rt::RegKey key, const std::wstring& name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
  auto it = handles_.find(key);
  if (it == handles_.end()) return rt::reg::kInvalidHandle;
  if (Refused(it->second)) return rt::reg::kAccessDenied;
  keys_[it->second][Lower(name)] = {type, data};
  log.push_back(L"set " + it->second + L"\\" + name);
  Changed(it->second);
  return rt::reg::kSuccess;
}

long FakeRegistry::QueryValue(rt::RegKey key, const std::wstring& name, std::uint32_t* type,
                              std::vector<std::uint8_t>* data) {
  auto it = handles_.find(key);
  if (it == handles_.end()) return rt::reg::kInvalidHandle;
  auto& values = keys_[it->second];
  auto v = values.find(Lower(name));
  if (v == values.end()) return rt::reg::kFileNotFound;
  if (type) *type = v->second.type;
  if (data) *data = v->second.data;
  return rt::reg::kSuccess;
}

long FakeRegistry::DeleteValue(rt::RegKey key, const std::wstring& name) {
  auto it = handles_.find(key);
  if (it == handles_.end()) return rt::reg::kInvalidHandle;
  if (Refused(it->second)) return rt::reg::kAccessDenied;
  if (undeletable_.count(it->second + L"\\" + Lower(name)) != 0) return rt::reg::kAccessDenied;
  if (keys_[it->second].erase(Lower(name)) == 0) return rt::reg::kFileNotFound;
  log.push_back(L"delete " + it->second + L"\\" + name);
  Changed(it->second);
  return rt::reg::kSuccess;
}

long FakeRegistry::CloseKey(rt::RegKey key) {
  return handles_.erase(key) != 0 ? rt::reg::kSuccess : rt::reg::kInvalidHandle;
}

std::wstring FakeRegistry::ExpandVariables(const std::wstring& text) {
  std::wstring out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find(L'%', at);
    const std::size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    out += text.substr(at, open - at);
    const std::wstring name = text.substr(open + 1, close - open - 1);
    const auto known = variables_.find(Lower(name));
    out += known != variables_.end() ? known->second : L"%" + name + L"%";  // an unknown name stays
    at = close + 1;
  }
  return out + text.substr(at);
}

struct FakeRegistry::Watch {
  std::wstring path;
  rt::EventPump* pump;
  std::function<void()> changed;
};

namespace {
class FakeKeyWatch : public rt::KeyWatch {
 public:
  explicit FakeKeyWatch(std::function<void()> end) : end_(std::move(end)) {}
  ~FakeKeyWatch() override { end_(); }

 private:
  std::function<void()> end_;
};
}  // namespace

std::unique_ptr<rt::KeyWatch> FakeRegistry::WatchKey(rt::RegKey root, const std::wstring& subKey,
                                                     rt::EventPump& pump, std::function<void()> changed) {
  auto watch = std::make_shared<Watch>(Watch{Join(root, subKey), &pump, std::move(changed)});
  watches_.push_back(watch);
  return std::make_unique<FakeKeyWatch>([this, key = watch.get()] {
    std::erase_if(watches_, [key](const std::shared_ptr<Watch>& w) { return w.get() == key; });
  });
}

void FakeRegistry::Changed(const std::wstring& path) {
  for (const auto& watch : watches_) {
    if (path != watch->path && path.rfind(watch->path + L"\\", 0) != 0) continue;
    // A call that comes after its watch has ended is dropped, as Windows does.
    watch->pump->Post([weak = std::weak_ptr<Watch>(watch)] {
      if (const auto alive = weak.lock()) alive->changed();
    });
  }
}

std::optional<RegValue> FakeRegistry::Value(const std::wstring& path, const std::wstring& name) const {
  auto k = keys_.find(Normalize(path));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.find(Lower(name));
  if (v == k->second.end()) return std::nullopt;
  return v->second;
}

std::optional<std::wstring> FakeRegistry::StringValue(const std::wstring& path, const std::wstring& name) const {
  auto v = Value(path, name);
  if (!v) return std::nullopt;
  // REG_SZ data is UTF-16LE with its terminating NUL.
  std::u16string units;
  for (std::size_t i = 0; i + 1 < v->data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(v->data[i] | (v->data[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return rt::FromUtf16(units);
}

std::size_t FakeRegistry::ValueCount(const std::wstring& path) const {
  auto k = keys_.find(Normalize(path));
  return k == keys_.end() ? 0 : k->second.size();
}

}  // namespace fake
