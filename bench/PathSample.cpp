#include "PathSample.h"

#include <random>

namespace bench {
namespace {

constexpr const wchar_t* roots[] = {
    L"C:\\Users\\jmartin\\Documents\\",
    L"C:\\Users\\a.kowalski\\Desktop\\",
    L"D:\\Projects\\",
    L"E:\\Vault\\Released\\",
    L"\\\\fileserver01\\engineering\\cad\\",
    L"C:\\Program Files\\Vendor Parts\\Library\\",
    L"/home/lee/cad/",
    L"/mnt/share/projects/",
};

// Dots in folder names and stems, as people name things: an extension is
// only what follows the file name's last dot.
constexpr const wchar_t* folders[] = {
    L"Engineering", L"Assemblies", L"Motor Housing", L"Customer_ACME", L"2019", L"Rev.B",
    L"Pumps", L"Archive", L"Frame-v2.1", L"Bracket Kit", L"WIP", L"export",
};

constexpr const wchar_t* stems[] = {
    L"Bracket_0123", L"Housing-rev4", L"Shaft 25mm", L"motor.mount", L"Top Assembly",
    L"gear_z32_m1.5", L"Base Plate", L"P-100482", L"Cover", L"spring_clip_DIN471",
};

struct Extension {
  const wchar_t* text;
  int weight;
};

constexpr Extension extensions[] = {
    {L".SLDPRT", 30}, {L".sldprt", 10}, {L".SLDASM", 15}, {L".SldAsm", 5},
    {L".SLDDRW", 8},  {L".step", 8},    {L".STP", 5},     {L".igs", 3},
    {L".x_t", 3},     {L".pdf", 4},     {L".dwg", 3},     {L".txt", 1},
    {L"", 5},
};

template <typename T, std::size_t n>
const T& pick(std::mt19937_64& engine, const T (&items)[n]) {
  return items[std::uniform_int_distribution<std::size_t>(0, n - 1)(engine)];
}

}  // namespace

std::vector<std::wstring> pathSample(std::size_t count) {
  std::mt19937_64 engine(20251209);
  std::vector<double> weights;
  for (const Extension& extension : extensions) weights.push_back(extension.weight);
  std::discrete_distribution<std::size_t> extensionChoice(weights.begin(), weights.end());
  std::uniform_int_distribution<int> depth(0, 5);

  std::vector<std::wstring> paths;
  paths.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring root = pick(engine, roots);
    const wchar_t separator = root[0] == L'/' ? L'/' : L'\\';
    const wchar_t* extension = extensions[extensionChoice(engine)].text;
    std::wstring path = root;
    for (int level = depth(engine); level > 0; --level) {
      path += pick(engine, folders);
      path += separator;
    }
    path += pick(engine, stems);
    path += extension;
    paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace bench
