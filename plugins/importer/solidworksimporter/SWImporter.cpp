#include "SWImporter.h"

#include "ReleaseInfo.h"

#include <orvsgutils/StringUtils.h>

#include <string>

SWImporter::SWImporter() : orvimp::IImporter(SWIMPORTER_ID) {
  addReleaseDate(SWIMPORTER_RELEASE_DATE);
  // The base keeps its own copy: the converted text goes at once.
  addVersion(orvsgutils::StringUtils::convert(SWIMPORTER_VERSION).c_str());
}

SWImporter::~SWImporter() = default;

const wchar_t* SWImporter::getName() const { return SWIMPORTER_NAME; }

bool SWImporter::reservedQuery() const { return false; }

bool SWImporter::reservedDelayQuery() { return false; }
