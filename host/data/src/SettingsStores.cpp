#include <ISettingsStore.h>
#include <MemorySettingsStore.h>

#include <iterator>

ISettingsStore::~ISettingsStore() = default;

namespace {

// What the profile functions skip around names: space, tab, VT, FF and CR.
bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || (c >= L'\v' && c <= L'\r'); }

// A glance at either end, for the names hosts pass, which have no blanks.
std::wstring_view trimmed(std::wstring_view name) {
  while (!name.empty() && isBlank(name.front())) name.remove_prefix(1);
  while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
  return name;
}

wchar_t lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// A name looked for, trimmed and folded once, so that a search folds only the
// stored names it passes, and not even those spelt as the name is (a host
// passes the same section text for all its options); a short name stays on
// the stack.
class FoldedName {
 public:
  explicit FoldedName(std::wstring_view name) : spelt_(trimmed(name)) {
    name = spelt_;
    wchar_t* out = small_;
    if (name.size() > std::size(small_)) {
      large_.resize(name.size());
      out = large_.data();
    }
    for (std::size_t i = 0; i < name.size(); ++i) out[i] = lower(name[i]);
    folded_ = std::wstring_view(out, name.size());
  }
  FoldedName(const FoldedName&) = delete;
  FoldedName& operator=(const FoldedName&) = delete;

  std::wstring_view spelt() const { return spelt_; }
  std::wstring_view folded() const { return folded_; }

 private:
  std::wstring_view spelt_;
  wchar_t small_[64];
  std::wstring large_;
  std::wstring_view folded_;
};

// As KeyOrder::compare(a, name).
int compareWith(std::wstring_view a, const FoldedName& name) {
  a = trimmed(a);
  if (a == name.spelt()) return 0;
  const std::wstring_view b = name.folded();
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const wchar_t x = lower(a[i]);
    if (x != b[i]) return x < b[i] ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

struct Probe {
  Probe(const wchar_t* section, const wchar_t* key) : first(section), second(key) {}
  FoldedName first;
  FoldedName second;
};

using Key = MemorySettingsStore::Entries::key_type;

}  // namespace

// The map finds a Probe through these, in the order KeyOrder::compare gives.
template <>
bool MemorySettingsStore::KeyOrder::operator()(const Key& stored, const Probe& probe) const {
  if (const int order = compareWith(stored.first, probe.first); order != 0) return order < 0;
  return compareWith(stored.second, probe.second) < 0;
}

template <>
bool MemorySettingsStore::KeyOrder::operator()(const Probe& probe, const Key& stored) const {
  if (const int order = compareWith(stored.first, probe.first); order != 0) return order > 0;
  return compareWith(stored.second, probe.second) > 0;
}

int MemorySettingsStore::KeyOrder::compare(std::wstring_view a, std::wstring_view b) {
  a = trimmed(a);
  b = trimmed(b);
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const wchar_t x = lower(a[i]), y = lower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

MemorySettingsStore::MemorySettingsStore() = default;

MemorySettingsStore::~MemorySettingsStore() = default;

bool MemorySettingsStore::flush() { return true; }

bool MemorySettingsStore::readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) {
  if (section == nullptr || key == nullptr || out == nullptr) return false;
  const auto found = entries_.find(Probe(section, key));
  if (found == entries_.end()) return false;
  *out = found->second;
  return true;
}

bool MemorySettingsStore::removeValue(const wchar_t* section, const wchar_t* key) {
  if (section == nullptr || key == nullptr) return false;
  const auto found = entries_.find(Probe(section, key));
  if (found == entries_.end()) return false;
  entries_.erase(found);
  return true;
}

bool MemorySettingsStore::writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) {
  if (section == nullptr || key == nullptr || value == nullptr) return false;
  const Probe probe(section, key);
  const auto at = entries_.lower_bound(probe);
  if (at != entries_.end() && !entries_.key_comp()(probe, at->first))
    at->second = *value;
  else
    entries_.emplace_hint(at, Key(section, key), *value);
  return true;
}
