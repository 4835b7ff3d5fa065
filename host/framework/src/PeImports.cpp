#include "PeImports.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

namespace orv::detail {

namespace {

// Ends the read; the text names what in the image is wrong.
struct Malformed {
  std::string reason;
};

[[noreturn]] void fail(std::string reason) { throw Malformed{std::move(reason)}; }

std::string hex(std::uint64_t value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return "0x" + digits;
}

std::string decimal(std::uint64_t value) { return std::to_string(value); }

// Little-endian fields of the file. Callers check the ranges of whole
// structures first, to say which one is cut short; a field outside the file
// still never reads.
class Image {
 public:
  Image(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  std::uint64_t size() const { return size_; }
  bool has(std::uint64_t offset, std::uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
  const unsigned char* at(std::uint64_t offset) const { return data_ + offset; }

  std::uint32_t read(std::uint64_t offset, int bytes) const {
    if (!has(offset, static_cast<std::uint64_t>(bytes)))
      fail("the file ends at byte " + decimal(size_) + ", inside its headers");
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data_[offset + static_cast<std::uint64_t>(i)];
    return value;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

// Addresses the loader maps from the file: the headers, then each section,
// in ascending order without overlap, as the loader requires them.
struct Region {
  std::uint64_t address;  // relative virtual address
  std::uint64_t span;     // of address space
  std::uint64_t mapped;   // of the span, the bytes that come from the file
  std::uint64_t offset;   // in the file
};

class Layout {
 public:
  explicit Layout(const Image& image) : image_(image) {}

  void add(const std::string& what, Region region) {
    if (!regions_.empty() && region.address < regions_.back().address + regions_.back().span)
      fail(what + " begins at RVA " + hex(region.address) + ", before the one ahead of it ends, at RVA " +
           hex(regions_.back().address + regions_.back().span));
    if (region.mapped > 0 && !image_.has(region.offset, region.mapped))
      fail("the data of " + what + ", at file offset " + hex(region.offset) + " to " +
           hex(region.offset + region.mapped) + ", lies beyond the file's " + decimal(image_.size()) + " bytes");
    regions_.push_back(region);
  }

  // The region whose data on disk holds the byte at rva; null when none does.
  // A binary search: the regions are in order.
  const Region* regionOf(std::uint64_t rva) const {
    const auto after =
        std::upper_bound(regions_.begin(), regions_.end(), rva,
                         [](std::uint64_t value, const Region& region) { return value < region.address; });
    if (after == regions_.begin()) return nullptr;
    const Region& region = *std::prev(after);
    return rva - region.address < region.mapped ? &region : nullptr;
  }

 private:
  const Image& image_;
  std::vector<Region> regions_;
};

std::string sectionName(const Image& image, std::uint64_t header) {
  std::string name;
  for (int i = 0; i < 8 && image.at(header)[i] != 0; ++i) {
    const unsigned char c = image.at(header)[i];
    name.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  }
  return name;
}

// The import directory's address, with the file's regions in layout; 0 when
// the image has no import directory.
std::uint64_t readHeaders(const Image& image, Layout& layout) {
  if (!image.has(0, 64) || image.read(0, 2) != 0x5A4D) fail("no MZ signature: not a Windows module");
  const std::uint64_t pe = image.read(0x3C, 4);
  if (!image.has(pe, 24))
    fail("its PE header at offset " + hex(pe) + " lies beyond the file's " + decimal(image.size()) + " bytes");
  if (image.read(pe, 4) != 0x00004550) fail("no PE signature at offset " + hex(pe));
  const std::uint64_t coff = pe + 4;
  const std::uint32_t sectionCount = image.read(coff + 2, 2);
  if (sectionCount > maxSections)
    fail(decimal(sectionCount) + " sections, more than the loader's " + decimal(maxSections));
  const std::uint32_t optionalSize = image.read(coff + 16, 2);
  const std::uint64_t optional = coff + 20;
  if (!image.has(optional, optionalSize))
    fail("its optional header of " + decimal(optionalSize) + " bytes extends past the file's end");
  const std::uint32_t magic = optionalSize >= 2 ? image.read(optional, 2) : 0;
  if (magic != 0x10B && magic != 0x20B) fail("no PE32 or PE32+ optional header magic, but " + hex(magic));
  // The fixed part, up to the data directories, differs between PE32 and PE32+.
  const std::uint32_t fixed = magic == 0x20B ? 112 : 96;
  if (optionalSize < fixed)
    fail("its optional header of " + decimal(optionalSize) + " bytes is shorter than the " + decimal(fixed) +
         " its magic asks for");
  const std::uint32_t directoryCount = image.read(optional + fixed - 4, 4);
  if (directoryCount > (optionalSize - fixed) / 8)
    fail("its optional header of " + decimal(optionalSize) + " bytes cannot hold its " + decimal(directoryCount) +
         " data directories");

  const std::uint64_t headersSize = image.read(optional + 60, 4);
  layout.add("the headers", {0, headersSize, headersSize, 0});
  const std::uint64_t table = optional + optionalSize;
  if (!image.has(table, 40ull * sectionCount))
    fail("its section table of " + decimal(sectionCount) + " entries at offset " + hex(table) +
         " extends past the file's end");
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t header = table + 40ull * i;
    const std::uint64_t virtualSize = image.read(header + 8, 4);
    const std::uint64_t rawSize = image.read(header + 16, 4);
    // A section without a virtual size spans its data on disk; the loader
    // maps no more of the data than the section spans.
    const std::uint64_t span = virtualSize != 0 ? virtualSize : rawSize;
    layout.add("section " + decimal(i + 1) + " (" + sectionName(image, header) + ")",
               {image.read(header + 12, 4), span, std::min(rawSize, span), image.read(header + 20, 4)});
  }
  return directoryCount < 2 ? 0 : image.read(optional + fixed + 8, 4);
}

// The library name at rva: NUL-terminated, within its region's data and the
// loader's length for a file name.
std::string libraryName(const Image& image, const Layout& layout, std::uint64_t rva, std::size_t index) {
  const std::string which = "import " + decimal(index + 1) + " names its library at RVA " + hex(rva);
  const Region* region = layout.regionOf(rva);
  if (region == nullptr) fail(which + ", in no section's data on disk");
  const std::uint64_t available = region->mapped - (rva - region->address);
  const std::uint64_t at = region->offset + (rva - region->address);
  const std::size_t scanned = static_cast<std::size_t>(std::min<std::uint64_t>(available, maxLibraryNameLength + 1));
  const void* end = std::memchr(image.at(at), 0, scanned);
  if (end == nullptr)
    fail(which + (scanned == available
                      ? ", which runs past its section's data"
                      : ", longer than the " + decimal(maxLibraryNameLength) + " bytes a file name takes"));
  const auto* first = reinterpret_cast<const char*>(image.at(at));
  if (end == first) fail(which + ", which is empty");
  return std::string(first, static_cast<const char*>(end));
}

}  // namespace

ImportTable importedLibraries(const unsigned char* data, std::size_t size) {
  ImportTable table;
  try {
    const Image image(data, size);
    Layout layout(image);
    const std::uint64_t imports = readHeaders(image, layout);
    if (imports == 0) return table;
    // Descriptors of 20 bytes, the name's address at 12; one with no name
    // ends the table.
    for (std::size_t index = 0;; ++index) {
      if (index == maxImportedLibraries)
        fail("its import table has no end within " + decimal(maxImportedLibraries) + " libraries");
      const std::uint64_t entry = imports + 20ull * index;
      const Region* region = layout.regionOf(entry);
      if (region == nullptr || region->mapped - (entry - region->address) < 20)
        fail("import " + decimal(index + 1) + " at RVA " + hex(entry) + " is not wholly in a section's data on disk");
      const std::uint64_t nameRva = image.read(region->offset + (entry - region->address) + 12, 4);
      if (nameRva == 0) return table;
      table.libraries.push_back(libraryName(image, layout, nameRva, index));
    }
  } catch (const Malformed& malformed) {
    table.error = malformed.reason;
  }
  return table;
}

}  // namespace orv::detail
