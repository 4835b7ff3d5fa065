// Loads the installed plug-in, reads a host string and calls a geometry
// operation of the module, through the installed headers and libraries only.
// Exit status 0 when all is as it should be.
#include <HPS/Vector_3D.h>
#include <MemorySettingsStore.h>
#include <orv/PluginLibrary.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvsgutils/StringUtils.h>
#include <orvui/GUIResLoader.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  try {
    const orv::PluginLibrary library(orvsgutils::StringUtils::convert(argv[1]));
    orv::PluginPtr plugin = orv::instantiatePlugin(library);
    std::printf("%s\n", orvsgutils::StringUtils::toUtf8(plugin->getName()).c_str());
    const std::wstring section = orvsgutils::ResourceLoader::loadString(246, orvui::GUIResLoader::instance());
    std::printf("section: %s\n", orvsgutils::StringUtils::toUtf8(section).c_str());
    MemorySettingsStore store;
    const std::int32_t one = 1;
    HPS::Vector_3D<float> direction(3, 4, 0);
    direction.Normalize(false, 0);
    const bool geometry = direction.x == 0.6f && direction.y == 0.8f && direction.z == 0.0f;
    return geometry && !section.empty() && store.writeValue(section.c_str(), L"key", &one) ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "consumer: %s\n", error.what());
    return 1;
  }
}
