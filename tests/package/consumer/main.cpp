// An outside program on the installed SDK alone: it reads a host string and
// calls a geometry operation of the module through the module's import
// library (what orvhost and the sample plug-in, which load modules at run
// time, never do). Exit status 0 when both are as they should be.
#include <HPS/Vector_3D.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <cstdio>

int main() {
  const std::wstring section = orvsgutils::ResourceLoader::loadString(246, orvui::GUIResLoader::instance());
  HPS::Vector_3D<float> direction(3, 4, 0);
  direction.Normalize(false, 0);
  const bool geometry = direction.x == 0.6f && direction.y == 0.8f && direction.z == 0.0f;
  std::printf("section \"%ls\", geometry %s\n", section.c_str(), geometry ? "as expected" : "wrong");
  return section == L"SolidWorks Import" && geometry ? 0 : 1;
}
