#include "ImporterModule.h"

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

TEST(Documents, TheFirstArgumentsShareIsReleased) {
  auto importer = makeImporter();
  auto parent = create(*importer, L"assembly.sldasm");
  ASSERT_EQ(parent.use_count(), 1);
  auto child = create(*importer, L"part.sldprt", parent);
  EXPECT_EQ(parent.use_count(), 1);
  EXPECT_TRUE(child);
  // A null first argument is accepted.
  EXPECT_TRUE(create(*importer, L"part.sldprt", nullptr));
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
