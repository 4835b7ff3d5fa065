// The import reader that names a plug-in's missing library on Windows: it
// reads any file dropped into the plug-in folder, so an image the loader
// would refuse gives the reason and what was read before it.
#include <gtest/gtest.h>

#include "PeImage.h"
#include "PeImports.h"

using namespace testing_support;

TEST(PeImports, NamesTheLibrariesOrWhyTheLoaderWouldRefuseTheImage) {
  const std::string longest(255, 'n');
  const std::string two = peImage({"KERNEL32.dll", "orvloaddep.dll"});
  // two with one field changed. The descriptors take 60 bytes, the names start at 0x103C and 0x1049.
  const auto with = [&](std::size_t at, std::uint32_t value, int size) { return withField(two, at, value, size); };
  const struct {
    std::string bytes;
    std::string error;
    std::vector<std::string> libraries = {};  // read before the error
  } rows[] = {
      {two, "", {"KERNEL32.dll", "orvloaddep.dll"}},
      {peImage({"a.dll", longest}, true), "", {"a.dll", longest}},
      {peImage({}), ""},
      {with(pe::directories - 4, 1, 4), ""},
      {"\x7F\x45LF", "no MZ signature: not a Windows module"},
      {two.substr(0, pe::header + 10), "its PE header at offset 0x40 lies beyond the file's 74 bytes"},
      {with(pe::header, 0x4551, 4), "no PE signature at offset 0x40"},
      {with(pe::coff + 2, 97, 2), "97 sections, more than the loader's 96"},
      {with(pe::coff + 2, 96, 2), "its section table of 96 entries at offset 0x148 extends past the file's end"},
      {with(pe::coff + 16, 0xFFFF, 2), "its optional header of 65535 bytes extends past the file's end"},
      {with(pe::optional, 0x107, 2), "no PE32 or PE32+ optional header magic, but 0x107"},
      {with(pe::coff + 16, 100, 2), "its optional header of 100 bytes is shorter than the 112 its magic asks for"},
      {with(pe::directories - 4, 17, 4), "its optional header of 240 bytes cannot hold its 17 data directories"},
      {with(pe::sections + 20, 0x10000, 4),
       "the data of section 1 (.idata), at file offset 0x10000 to 0x10058, lies beyond the file's 1024 bytes"},
      {with(pe::sections + 12, 0x100, 4),
       "section 1 (.idata) begins at RVA 0x100, before the one ahead of it ends, at RVA 0x200"},
      {with(pe::directories + 8, 0x1050, 4), "import 1 at RVA 0x1050 is not wholly in a section's data on disk"},
      {with(pe::data + 32, 0x9000, 4), "import 2 names its library at RVA 0x9000, in no section's data on disk",
       {"KERNEL32.dll"}},
      {with(pe::data + 12, 0x1028, 4), "import 1 names its library at RVA 0x1028, which is empty"},
      {with(pe::sections + 8, 80, 4), "import 2 names its library at RVA 0x1049, which runs past its section's data",
       {"KERNEL32.dll"}},
      {peImage({"a.dll", longest + "n"}),
       "import 2 names its library at RVA 0x1042, longer than the 255 bytes a file name takes",
       {"a.dll"}},
      {peImage(std::vector<std::string>(4097, "x.dll")), "its import table has no end within 4096 libraries",
       std::vector<std::string>(4096, "x.dll")}};
  for (const auto& row : rows) {
    const auto table =
        orv::detail::importedLibraries(reinterpret_cast<const unsigned char*>(row.bytes.data()), row.bytes.size());
    EXPECT_EQ(table.error, row.error);
    EXPECT_EQ(table.libraries, row.libraries) << row.error;
  }
}
