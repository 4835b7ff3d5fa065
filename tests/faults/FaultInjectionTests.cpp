// Every allocation the importer's operations reach, and every host call they
// make, failed in turn: each failure must reach the caller as thrown, with
// nothing leaked, no half-made result handed back and the caller's shares
// as they were.
#include "AllocationCounter.h"
#include "HostCallFaults.h"
#include "ImporterModule.h"
#include "ScriptedStore.h"

#include <orv/Preferences.h>
#include <orvimp/IDocument.h>
#include <orvimp/IImporter.h>

#include <cstdio>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>

using testing_support::HostCall;
using testing_support::ScriptedStore;

namespace {

// One operation, as the host calls it. The store holds a few numbers; the
// set to save was loaded before.
struct Operation {
  const char* name;
  std::function<void(orvimp::IImporter& importer, const std::shared_ptr<ScriptedStore>& store,
                     const std::shared_ptr<orv::Preferences>& toSave, std::shared_ptr<void>& result)>
      run;
};

const Operation operations[] = {
    {"createPlugin",
     [](orvimp::IImporter&, const std::shared_ptr<ScriptedStore>&, const std::shared_ptr<orv::Preferences>&,
        std::shared_ptr<void>&) {
       orv::IPlugin* plugin = nullptr;
       testing_support::importerModule().createFunction()(&plugin);
       EXPECT_NE(plugin, nullptr);
       testing_support::importerModule().destroyFunction()(&plugin);
     }},
    {"createDocument",
     [](orvimp::IImporter& importer, const std::shared_ptr<ScriptedStore>&, const std::shared_ptr<orv::Preferences>&,
        std::shared_ptr<void>& result) { result = importer.createDocument(nullptr, L"C:\\parts\\bracket.sldprt"); }},
    {"defaultPreferences",
     [](orvimp::IImporter& importer, const std::shared_ptr<ScriptedStore>&, const std::shared_ptr<orv::Preferences>&,
        std::shared_ptr<void>& result) { result = importer.defaultPreferences(); }},
    {"loadPreferences",
     [](orvimp::IImporter& importer, const std::shared_ptr<ScriptedStore>& store,
        const std::shared_ptr<orv::Preferences>&, std::shared_ptr<void>& result) {
       result = importer.loadPreferences(store);
     }},
    {"savePreferences",
     [](orvimp::IImporter& importer, const std::shared_ptr<ScriptedStore>& store,
        const std::shared_ptr<orv::Preferences>& toSave,
        std::shared_ptr<void>&) { importer.savePreferences(store, toSave); }},
};

std::shared_ptr<ScriptedStore> storeWithNumbers() {
  auto store = std::make_shared<ScriptedStore>();
  store->numbers = {{L"Read Solids", 0}, {L"Pmi Color", 0xFF}, {L"Set Reading Mode", 1}};
  return store;
}

// Runs the operation with a fault armed at k and checks what it left; false
// once k is past the last point the fault can strike.
template <typename Arm, typename Struck>
bool failsCleanly(const Operation& operation, orvimp::IImporter& importer, long k, Arm arm, Struck struck) {
  const std::shared_ptr<orv::Preferences> toSave = importer.loadPreferences(storeWithNumbers());
  const long before = testing_support::liveAllocations();
  auto store = storeWithNumbers();
  std::shared_ptr<void> result;
  bool thrown = false;
  arm(k);
  try {
    operation.run(importer, store, toSave, result);
  } catch (const std::bad_alloc&) {
    thrown = true;
  } catch (const testing_support::HostCallFault&) {
    thrown = true;
  }
  const bool struckNow = struck();
  arm(0);
  if (!struckNow) {
    EXPECT_FALSE(thrown);
    return false;
  }
  EXPECT_TRUE(thrown) << "the fault did not reach the caller";
  EXPECT_FALSE(result) << "a half-made result was handed back";
  EXPECT_EQ(store.use_count(), 1) << "the store's share was kept";
  EXPECT_EQ(toSave.use_count(), 1) << "the saved set's share was kept";
  store.reset();  // with what it recorded
  EXPECT_EQ(testing_support::liveAllocations(), before) << "allocations leaked";
  return true;
}

}  // namespace

TEST(FaultInjection, EachAllocationFailedInTurn) {
  if (!testing_support::allocationsCounted()) GTEST_SKIP() << "allocations cannot be failed here";
  auto importer = testing_support::makeImporter();
  for (const Operation& operation : operations) {
    SCOPED_TRACE(operation.name);
    long failures = 0;
    for (long k = 1; failsCleanly(operation, *importer, k, testing_support::failAllocation,
                                  testing_support::allocationFailed);
         ++k) {
      SCOPED_TRACE(k);
      ++failures;
    }
    EXPECT_GT(failures, 0);
    std::printf("%s: %ld allocations, each failed in turn\n", operation.name, failures);
  }
}

TEST(FaultInjection, EachHostCallThrowsInTurn) {
  auto importer = testing_support::makeImporter();
  for (const HostCall call : {HostCall::StringFetch, HostCall::PreferencesAdd}) {
    for (const Operation& operation : operations) {
      SCOPED_TRACE(operation.name);
      long k = 1;
      const auto arm = [call](long at) { testing_support::armHostCallFault(call, at); };
      const auto struck = [call, &k] { return testing_support::hostCallsSinceArming(call) >= k; };
      while (failsCleanly(operation, *importer, k, arm, struck)) ++k;
      std::printf("%s: %ld %s calls, each thrown in turn\n", operation.name, k - 1,
                  call == HostCall::StringFetch ? "string fetch" : "Preferences::add");
    }
  }
}
