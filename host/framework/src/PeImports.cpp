#include "PeImports.h"

#include <cstdint>

namespace orv::detail {

namespace {

// Little-endian fields of the image, bounds-checked: a field that does not lie
// wholly inside it reads as absent.
class Image {
 public:
  Image(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  bool has(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }

  std::uint32_t read(std::uint64_t offset, int bytes, bool& ok) const {
    if (!has(offset, static_cast<std::uint64_t>(bytes))) {
      ok = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data_[offset + static_cast<std::uint64_t>(i)];
    return value;
  }

  // A NUL-terminated name of at most 260 characters, or empty.
  std::string name(std::uint64_t offset) const {
    std::string text;
    for (std::uint64_t at = offset; has(at, 1) && text.size() <= 260; ++at) {
      if (data_[at] == 0) return text;
      text.push_back(static_cast<char>(data_[at]));
    }
    return {};
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

}  // namespace

std::vector<std::string> importedLibraries(const unsigned char* data, std::size_t size) {
  const Image image(data, size);
  std::vector<std::string> names;
  bool ok = true;
  if (image.read(0, 2, ok) != 0x5A4D) return names;  // "MZ"
  const std::uint64_t pe = image.read(0x3C, 4, ok);
  if (!ok || image.read(pe, 4, ok) != 0x00004550) return names;  // "PE\0\0"
  const std::uint64_t coff = pe + 4;
  const std::uint32_t sectionCount = image.read(coff + 2, 2, ok);
  const std::uint32_t optionalSize = image.read(coff + 16, 2, ok);
  const std::uint64_t optional = coff + 20;
  const std::uint32_t magic = image.read(optional, 2, ok);
  if (!ok || (magic != 0x10B && magic != 0x20B)) return names;
  // Where the data directories start differs between PE32 and PE32+.
  const std::uint64_t countAt = optional + (magic == 0x20B ? 108 : 92);
  const std::uint64_t importDirectory = countAt + 4 + 8;  // the second directory
  if (image.read(countAt, 4, ok) < 2 || importDirectory + 8 > optional + optionalSize) return names;
  const std::uint32_t importRva = image.read(importDirectory, 4, ok);
  if (!ok || importRva == 0) return names;

  const std::uint64_t sections = optional + optionalSize;
  // The file offset of a relative virtual address, or 0 when no section's
  // data on disk holds it.
  const auto fileOffset = [&](std::uint64_t rva) -> std::uint64_t {
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
      bool read = true;
      const std::uint64_t header = sections + 40ull * i;
      const std::uint64_t address = image.read(header + 12, 4, read);
      const std::uint64_t rawSize = image.read(header + 16, 4, read);
      const std::uint64_t rawOffset = image.read(header + 20, 4, read);
      if (!read) return 0;
      if (rva >= address && rva - address < rawSize) return rawOffset + (rva - address);
    }
    return 0;
  };
  // Each descriptor is 20 bytes, its name's address at 12; a zero one ends
  // the table. The bound only stops a table that never ends.
  for (std::uint64_t entry = importRva; names.size() < 4096; entry += 20) {
    const std::uint64_t at = fileOffset(entry);
    if (at == 0 || !image.has(at, 20)) break;
    bool read = true;
    const std::uint32_t nameRva = image.read(at + 12, 4, read);
    if (nameRva == 0) break;
    const std::uint64_t nameAt = fileOffset(nameRva);
    const std::string name = nameAt == 0 ? std::string() : image.name(nameAt);
    if (name.empty()) break;
    names.push_back(name);
  }
  return names;
}

}  // namespace orv::detail
