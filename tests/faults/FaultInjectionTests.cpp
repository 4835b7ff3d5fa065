// Every allocation the importer's operations reach, every host call and every
// store call they make, failed in turn: each failure must reach the caller as
// thrown, with nothing leaked, no half-made result handed back and the
// caller's shares as they were.
#include "ImporterModule.h"
#include "ScriptedStore.h"

#include <orv/Preferences.h>
#include <orvimp/IDocument.h>
#include <orvsgutils/ResourceLoader.h>

#include <gtest/gtest.h>

#if defined(__linux__)
#include <dlfcn.h>
#endif

using namespace testing_support;

namespace {

enum Fault { StoreCall, StringFetch, PreferencesAdd, Allocation } armed;
long armedAt, hostCalls;

[[maybe_unused]] void countHostCall(Fault kind) {  // by the Linux host functions below
  if (armed == kind && ++hostCalls == armedAt) throw std::runtime_error("host call fault");
}

const char* const operations[] = {"createPlugin", "createDocument", "defaultPreferences", "loadPreferences",
                                  "savePreferences"};
std::shared_ptr<void> run(int operation, orvimp::IImporter& importer, const std::shared_ptr<ScriptedStore>& store,
                          const std::shared_ptr<orv::Preferences>& set) {
  switch (operation) {
    case 0: return makeImporter();
    case 1: return importer.createDocument(nullptr, L"C:\\parts\\bracket.sldprt");
    case 2: return importer.defaultPreferences();
    case 3: return importer.loadPreferences(store);
  }
  importer.savePreferences(store, set);
  return nullptr;
}

}  // namespace

#if defined(__linux__)
// The program's definitions, exported, come first in the module's symbol
// lookup; they forward to the host library's, the next definition.
std::wstring orvsgutils::ResourceLoader::loadString(int id, HINSTANCE module) {
  static const auto real = reinterpret_cast<std::wstring (*)(int, HINSTANCE)>(
      dlsym(RTLD_NEXT, "_ZN10orvsgutils14ResourceLoader10loadStringB5cxx11EiP11HINSTANCE__"));
  countHostCall(StringFetch);
  return real(id, module);
}

// A member function takes its object as a first, hidden argument.
void orv::Preferences::add(std::shared_ptr<orvsg::IValue> value, std::shared_ptr<IPreferenceUI> widget) {
  static const auto real =
      reinterpret_cast<void (*)(Preferences*, std::shared_ptr<orvsg::IValue>, std::shared_ptr<IPreferenceUI>)>(
          dlsym(RTLD_NEXT, "_ZN3orv11Preferences3addESt10shared_ptrIN5orvsg6IValueEES1_INS_13IPreferenceUIEE"));
  countHostCall(PreferencesAdd);
  real(this, std::move(value), std::move(widget));
}
#endif

TEST(FaultInjection, EachFailureInTurnReachesTheCallerAndLeavesNothingBehind) {
  const auto importer = makeImporter();
  const auto set = importer->loadPreferences(nullptr);
#if defined(__linux__)
  for (const Fault fault : {StoreCall, StringFetch, PreferencesAdd, Allocation}) {
#else
  for (const Fault fault : {StoreCall}) {
#endif
    for (int operation = 0; operation < 5; ++operation) {
      for (long k = 1;; ++k) {
        SCOPED_TRACE(::testing::Message() << operations[operation] << ", fault " << fault << " at " << k);
        const std::optional<long> before = liveAllocations();
        auto store = std::make_shared<ScriptedStore>();
        store->numbers = {{L"Read Solids", 0}, {L"Pmi Color", 0xFF}, {L"Set Reading Mode", 1}};
        store->throwAtCall = fault == StoreCall ? int(k) : 0;
        failAllocation(fault == Allocation ? k : 0);
        armed = fault, armedAt = k, hostCalls = 0;
        bool thrown = false;  // a call that returned although a fault struck would hand back a half-made result
        try {
          run(operation, *importer, store, set);
        } catch (const std::exception&) {
          thrown = true;
        }
        const bool struck = fault == Allocation  ? allocationFailed()
                            : fault == StoreCall ? store->calls.size() >= std::size_t(k)
                                                 : hostCalls >= k;
        failAllocation(0);
        armedAt = 0;
        EXPECT_EQ(thrown, struck);
        if (!struck) break;
        EXPECT_EQ(store.use_count() + set.use_count(), 2) << "a share of the store or the set was kept";
        store.reset();
        EXPECT_EQ(liveAllocations(), before) << "allocations leaked";
      }
    }
  }
}
