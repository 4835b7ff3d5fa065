// Windows module files built byte by byte, for the tests of what reads or
// loads them: the headers, and one section holding an import table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Where peImage's files hold what the tests change.
namespace pe {
constexpr std::size_t header = 0x40;  // "PE\0\0"
constexpr std::size_t coff = header + 4;
constexpr std::size_t optional = coff + 20;
// The data directories and the section table of a PE32+ file.
constexpr std::size_t directories = optional + 112;
constexpr std::size_t sections = optional + 0xF0;
// The section's data: the import descriptors, 20 bytes each, then the names.
constexpr std::size_t data = 0x200;
constexpr std::uint32_t dataRva = 0x1000;
}  // namespace pe

// bytes with a little-endian field of size bytes at at.
inline std::string withField(std::string bytes, std::size_t at, std::uint32_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

// A DLL for x86-64, or as pe32 for x86, that imports libraries. Never to be
// run: its entry point and code size only make it code, which a loader
// checks against its machine (an image without code may load on any).
inline std::string peImage(const std::vector<std::string>& libraries, bool pe32 = false) {
  std::string data((libraries.size() + 1) * 20, '\0');  // the last descriptor, all zero, ends the table
  for (std::size_t i = 0; i < libraries.size(); ++i) {
    const auto name = static_cast<std::uint32_t>(pe::dataRva + data.size());
    data = withField(std::move(data), i * 20 + 12, name, 4) + libraries[i] + '\0';
  }
  const auto size = static_cast<std::uint32_t>(data.size());
  const std::uint32_t onDisk = (size + 0x1FF) & ~0x1FFu;
  std::string image(pe::data + onDisk, '\0');
  const std::size_t optionalSize = pe32 ? 0xE0 : 0xF0;
  const std::size_t directories = pe::optional + (pe32 ? 96 : 112);
  const std::size_t section = pe::optional + optionalSize;
  // {offset, value, bytes}: the signatures, an executable DLL of one
  // section, code size and entry point, the image base, section and file
  // alignment, system and subsystem versions, image and header size, the GUI
  // subsystem, 16 data directories with the import directory, and ".idata":
  // readable, writable data.
  // clang-format off
  const std::size_t fields[][3] = {
      {0, 0x5A4D, 2}, {0x3C, pe::header, 4}, {pe::header, 0x4550, 4}, {pe::coff, pe32 ? 0x14Cu : 0x8664u, 2},
      {pe::coff + 2, 1, 2}, {pe::coff + 16, optionalSize, 2}, {pe::coff + 18, pe32 ? 0x2102u : 0x2022u, 2},
      {pe::optional, pe32 ? 0x10Bu : 0x20Bu, 2}, {pe::optional + 4, onDisk, 4}, {pe::optional + 16, pe::dataRva, 4},
      {pe::optional + (pe32 ? 28 : 24), 0x10000000, 4}, {pe::optional + 32, 0x1000, 4}, {pe::optional + 36, 0x200, 4},
      {pe::optional + 40, 6, 2}, {pe::optional + 48, 6, 2},
      {pe::optional + 56, pe::dataRva + ((size + 0xFFF) & ~0xFFFu), 4}, {pe::optional + 60, pe::data, 4},
      {pe::optional + 68, 2, 2}, {directories - 4, 16, 4},
      {directories + 8, libraries.empty() ? 0 : pe::dataRva, 4}, {directories + 12, size, 4},
      {section + 8, size, 4}, {section + 12, pe::dataRva, 4}, {section + 16, onDisk, 4}, {section + 20, pe::data, 4},
      {section + 36, 0xC0000040, 4}};
  // clang-format on
  for (const auto& [at, value, bytes] : fields)
    image = withField(std::move(image), at, static_cast<std::uint32_t>(value), bytes);
  image.replace(section, 6, ".idata");
  image.replace(pe::data, data.size(), data);
  return image;
}

}  // namespace testing_support
