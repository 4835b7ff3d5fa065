#include <orvimp/IImporter.h>

namespace orvimp {

IDelayImporter::~IDelayImporter() = default;

IImporter::IImporter(const wchar_t* id) : orv::IPlugin(id) {}

IImporter::~IImporter() = default;

}  // namespace orvimp
