// Every allocation the importer's operations reach and every store call they
// make, failed in turn: each failure must reach the caller as thrown, with
// nothing leaked, no half-made result handed back and the caller's shares as
// they were. The host calls they make fail only when they cannot allocate,
// and on Linux the program's operator new serves the host libraries too.
#include "ImporterModule.h"
#include "ScriptedStore.h"

#include <orv/Preferences.h>
#include <orvimp/IDocument.h>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

enum Fault { StoreCall, Allocation };

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

TEST(FaultInjection, EachFailureInTurnReachesTheCallerAndLeavesNothingBehind) {
  const auto importer = makeImporter();
  const auto set = importer->loadPreferences(nullptr);
  // Where allocations are not counted (a DLL binds to the C runtime's own
  // operator new), the store calls alone.
  const std::vector<Fault> faults = liveAllocations() ? std::vector{StoreCall, Allocation} : std::vector{StoreCall};
  for (const Fault fault : faults) {
    for (int operation = 0; operation < 5; ++operation) {
      for (long k = 1;; ++k) {
        SCOPED_TRACE(::testing::Message() << operations[operation] << ", fault " << fault << " at " << k);
        const std::optional<long> before = liveAllocations();
        auto store = std::make_shared<ScriptedStore>();
        store->numbers = {{L"Read Solids", 0}, {L"Pmi Color", 0xFF}, {L"Set Reading Mode", 1}};
        store->throwAtCall = fault == StoreCall ? int(k) : 0;
        failAllocation(fault == Allocation ? k : 0);
        bool thrown = false;  // a call that returned although a fault struck would hand back a half-made result
        try {
          run(operation, *importer, store, set);
        } catch (const std::exception&) {
          thrown = true;
        }
        const bool struck = fault == Allocation ? allocationFailed() : store->calls.size() >= std::size_t(k);
        failAllocation(0);
        EXPECT_EQ(thrown, struck);
        if (!struck) break;
        EXPECT_EQ(store.use_count() + set.use_count(), 2) << "a share of the store or the set was kept";
        store.reset();
        EXPECT_EQ(liveAllocations(), before) << "allocations leaked";
      }
    }
  }
}
