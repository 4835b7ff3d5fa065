#include <orvimp/CADImporterDoc.h>

#include <orv/Preferences.h>
#include <orvsg/Schema.h>
#include <orvsgutils/PathUtils.h>

#include <filesystem>
#include <fstream>
#include <system_error>

namespace orvimp {

CADImporterDoc::CADImporterDoc(const wchar_t* path) : path_(path ? path : L"") {}

CADImporterDoc::~CADImporterDoc() = default;

std::shared_ptr<orvsg::Schema> CADImporterDoc::getSchema(const short& key) {
  const auto found = schemas_.find(key);
  return found == schemas_.end() ? nullptr : found->second;
}

void CADImporterDoc::setSchema(const short& key, std::shared_ptr<orvsg::Schema> schema) {
  schemas_[key] = std::move(schema);
}

void CADImporterDoc::load(orv::IStatusManager*, const HPS::ComponentPath&, const int&, const HPS::MatrixKit&,
                          std::shared_ptr<orv::Preferences> options) {
  loadFile(std::move(options));
}

void CADImporterDoc::load(orv::IStatusManager*, const int&, const unsigned int&,
                          std::shared_ptr<orv::Preferences> options) {
  loadFile(std::move(options));
}

void CADImporterDoc::loadFile(std::shared_ptr<orv::Preferences> options) {
  options_ = std::move(options);
  loaded_ = false;
  const std::filesystem::path file = orvsgutils::PathUtils::toPath(path_);
  // Only a file surely not there is not found: one in a folder the user
  // may not search is there for all we know, and cannot be opened.
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(file, error).type();
  if (path_.empty() || type == std::filesystem::file_type::not_found) {
    status_ = HPS::IOResult::FileNotFound;
  } else if (type != std::filesystem::file_type::regular || !std::ifstream(file, std::ios::binary).is_open()) {
    status_ = HPS::IOResult::UnableToOpenFile;
  } else {
    status_ = HPS::IOResult::Success;
    loaded_ = true;
  }
  notifier_ = HPS::IONotifier(status_);
}

bool CADImporterDoc::isCompletelyLoaded() { return loaded_; }

HPS::IOResult CADImporterDoc::getErrorStatus() { return status_; }

HPS::IONotifier CADImporterDoc::getNotifier() { return notifier_; }

void CADImporterDoc::setErrorStatus(HPS::IOResult& status) { status_ = status; }

bool CADImporterDoc::setParams(HPS::IONotifier notifier) {
  notifier_ = notifier;
  return true;
}

}  // namespace orvimp
