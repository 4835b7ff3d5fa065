#include "HostCallFaults.h"

#include <orv/Preferences.h>
#include <orvsgutils/ResourceLoader.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstdio>
#include <utility>

namespace testing_support {
namespace {

struct Counter {
  long armedAt = 0;
  long calls = 0;
};
Counter counters[2];

void count(HostCall call) {
  Counter& counter = counters[static_cast<int>(call)];
  ++counter.calls;
  if (counter.armedAt != 0 && counter.calls == counter.armedAt) throw HostCallFault();
}

// The host library's definition, the one after the program's in lookup order.
template <typename Function>
Function next(const char* symbol) {
  void* found = dlsym(RTLD_NEXT, symbol);
  if (found == nullptr) {
    std::fprintf(stderr, "no host definition of %s\n", symbol);
    std::abort();
  }
  return reinterpret_cast<Function>(found);
}

}  // namespace

void armHostCallFault(HostCall call, long k) { counters[static_cast<int>(call)] = {k, 0}; }

long hostCallsSinceArming(HostCall call) { return counters[static_cast<int>(call)].calls; }

}  // namespace testing_support

std::wstring orvsgutils::ResourceLoader::loadString(int id, HINSTANCE module) {
  using Real = std::wstring (*)(int, HINSTANCE);
  static const Real real = testing_support::next<Real>("_ZN10orvsgutils14ResourceLoader10loadStringB5cxx11EiP11HINSTANCE__");
  testing_support::count(testing_support::HostCall::StringFetch);
  return real(id, module);
}

// A member function takes its object as a first, hidden argument.
void orv::Preferences::add(std::shared_ptr<orvsg::IValue> value, std::shared_ptr<IPreferenceUI> widget) {
  using Real = void (*)(orv::Preferences*, std::shared_ptr<orvsg::IValue>, std::shared_ptr<IPreferenceUI>);
  static const Real real =
      testing_support::next<Real>("_ZN3orv11Preferences3addESt10shared_ptrIN5orvsg6IValueEES1_INS_13IPreferenceUIEE");
  testing_support::count(testing_support::HostCall::PreferencesAdd);
  real(this, std::move(value), std::move(widget));
}
