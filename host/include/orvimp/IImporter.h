#pragma once

#include <orv/Export.h>
#include <orv/IPlugin.h>
#include <orvimp/IDelayImporter.h>

#include <cstdint>

namespace orvimp {

// The base of every importer plug-in. The IPlugin part lies at the object's
// own address, the IDelayImporter part at that of the second base.
class ORV_FRAMEWORK_API IImporter : public orv::IPlugin, public IDelayImporter {
 public:
  ~IImporter() override;

  // Fills filter with the file-dialog filter and groups with the filter
  // groups. capacity counts wide characters, terminator included, and bounds
  // both buffers.
  virtual void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const = 0;
  // Whether this importer reads the file that path names.
  virtual bool canImport(const wchar_t* path) const = 0;

 protected:
  // id: the importer's identity, a GUID in registry form with braces.
  explicit IImporter(const wchar_t* id);
};

}  // namespace orvimp
