#pragma once

#include <orv/Export.h>
#include <orvimp/IDocument.h>

#include <map>
#include <string>

namespace orvimp {

// The host's generic CAD document. This SDK's version does not read CAD
// data: a load records the options it is given and checks that the path
// names a readable file, reporting the outcome through the error status.
class ORV_FRAMEWORK_API CADImporterDoc : public IDocument {
 public:
  // A null path is taken as an empty one.
  explicit CADImporterDoc(const wchar_t* path);
  ~CADImporterDoc() override;

  std::shared_ptr<orvsg::Schema> getSchema(const short& key) override;
  void setSchema(const short& key, std::shared_ptr<orvsg::Schema> schema) override;
  void load(orv::IStatusManager* status, const HPS::ComponentPath& path, const int& flags,
            const HPS::MatrixKit& transform, std::shared_ptr<orv::Preferences> options) override;
  void load(orv::IStatusManager* status, const int& flags, const unsigned int& level,
            std::shared_ptr<orv::Preferences> options) override;
  // True once a load has found its file readable.
  bool isCompletelyLoaded() override;
  // Success until a load fails; then FileNotFound or UnableToOpenFile.
  HPS::IOResult getErrorStatus() override;
  HPS::IONotifier getNotifier() override;
  void setErrorStatus(HPS::IOResult& status) override;
  bool setParams(HPS::IONotifier notifier) override;

  const std::wstring& path() const { return path_; }
  // The option set of the last load; empty before the first.
  const std::shared_ptr<orv::Preferences>& loadedOptions() const { return options_; }

  CADImporterDoc(const CADImporterDoc&) = delete;
  CADImporterDoc& operator=(const CADImporterDoc&) = delete;

 private:
  void loadFile(std::shared_ptr<orv::Preferences> options);

  std::wstring path_;
  std::shared_ptr<orv::Preferences> options_;
  std::map<short, std::shared_ptr<orvsg::Schema>> schemas_;
  HPS::IOResult status_ = HPS::IOResult::Success;
  HPS::IONotifier notifier_;
  bool loaded_ = false;
};

}  // namespace orvimp
