#pragma once

#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <string>

// One of the host's numbered GUI strings. Fetched afresh at every use: the
// module keeps no copy of any host text.
inline std::wstring hostString(int id) {
  return orvsgutils::ResourceLoader::loadString(id, orvui::GUIResLoader::instance());
}
