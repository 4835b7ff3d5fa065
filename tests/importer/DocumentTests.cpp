#include "ImporterModule.h"

#include <MemorySettingsStore.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>

#include <gtest/gtest.h>

#include <memory>

using testing_support::makeImporter;

namespace {

std::shared_ptr<orvimp::IDocument> create(orvimp::IDelayImporter& importer, const wchar_t* path,
                                          std::shared_ptr<orvimp::IDocument> parent = nullptr) {
  return importer.createDocument(std::move(parent), path);
}

}  // namespace

TEST(Documents, AGenericCadDocumentForThePathUnchanged) {
  auto importer = makeImporter();
  for (const wchar_t* path : {L"C:\\models\\bracket.sldprt", L"/no/such/file.sldasm", L"notes.txt", L"", L"x"}) {
    SCOPED_TRACE(::testing::Message() << "path of length " << std::wstring(path).size());
    auto document = create(*importer, path);
    ASSERT_TRUE(document);
    // One owner: the caller.
    EXPECT_EQ(document.use_count(), 1);
    auto cad = std::dynamic_pointer_cast<orvimp::CADImporterDoc>(document);
    ASSERT_TRUE(cad);
    EXPECT_EQ(cad->path(), path);
    // Nothing is loaded or attached at creation.
    EXPECT_FALSE(cad->isCompletelyLoaded());
    EXPECT_FALSE(cad->loadedOptions());
  }
}

TEST(Documents, EachCallMakesANewDocument) {
  auto importer = makeImporter();
  auto first = create(*importer, L"same.sldprt");
  auto second = create(*importer, L"same.sldprt");
  EXPECT_NE(first.get(), second.get());
}

TEST(Documents, DroppingTheResultDestroysTheDocumentAtOnce) {
  auto importer = makeImporter();
  std::weak_ptr<orvimp::IDocument> watcher;
  {
    auto document = create(*importer, L"part.sldprt");
    watcher = document;
    EXPECT_FALSE(watcher.expired());
  }
  EXPECT_TRUE(watcher.expired());
}

// A share handed over by value is gone when the call returns, before the
// caller's statement ends (where the ABI would otherwise release it).
TEST(Documents, EverySharePassedByValueIsReleasedInsideTheCall) {
  auto importer = makeImporter();
  auto parent = create(*importer, L"assembly.sldasm");
  const std::weak_ptr<orvimp::IDocument> parentSeen = parent;
  EXPECT_TRUE((importer->createDocument(std::move(parent), L"part.sldprt"), parentSeen.expired()));
  EXPECT_TRUE(create(*importer, L"part.sldprt", nullptr));  // a null parent is accepted

  auto store = std::make_shared<MemorySettingsStore>();
  const std::weak_ptr<ISettingsStore> storeSeen = store;
  EXPECT_TRUE((importer->loadPreferences(std::move(store)), storeSeen.expired()));

  store = std::make_shared<MemorySettingsStore>();
  auto set = importer->defaultPreferences();
  const std::weak_ptr<ISettingsStore> savedStoreSeen = store;
  const std::weak_ptr<orv::Preferences> setSeen = set;
  EXPECT_TRUE((importer->savePreferences(std::move(store), std::move(set)), savedStoreSeen.expired() &&
                                                                              setSeen.expired()));
}

TEST(Documents, TheDocumentOutlivesTheImporterThatMadeIt) {
  std::shared_ptr<orvimp::IDocument> document;
  {
    auto importer = makeImporter();
    document = create(*importer, L"part.sldprt");
  }
  ASSERT_TRUE(document);
  auto cad = std::dynamic_pointer_cast<orvimp::CADImporterDoc>(document);
  EXPECT_EQ(cad->path(), L"part.sldprt");
}
