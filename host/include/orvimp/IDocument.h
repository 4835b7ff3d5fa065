#pragma once

#include <HPS/IOTypes.h>
#include <orv/Export.h>
#include <orv/IDocument.h>

#include <memory>

namespace orv {
class IStatusManager;
class Preferences;
}  // namespace orv

namespace orvimp {

// A document an importer makes and the host then loads, handing it the
// import options of the plug-in.
class ORV_FRAMEWORK_API IDocument : public orv::IDocument {
 public:
  ~IDocument() override;

  // Loads the part of an assembly that path names, placed by transform.
  virtual void load(orv::IStatusManager* status, const HPS::ComponentPath& path, const int& flags,
                    const HPS::MatrixKit& transform, std::shared_ptr<orv::Preferences> options) = 0;
  // Loads the whole file.
  virtual void load(orv::IStatusManager* status, const int& flags, const unsigned int& level,
                    std::shared_ptr<orv::Preferences> options) = 0;
  virtual bool isCompletelyLoaded() = 0;
  virtual HPS::IOResult getErrorStatus() = 0;
  virtual HPS::IONotifier getNotifier() = 0;
  virtual void setErrorStatus(HPS::IOResult& status) = 0;
  virtual bool setParams(HPS::IONotifier notifier) = 0;
};

}  // namespace orvimp
