#include "OptionCatalogue.h"

#include <cwchar>
#include <iterator>

namespace options {
namespace {

constexpr int tessellationLevelEntries[] = {414, 415, 416, 417, 418};
constexpr int readingModeEntries[] = {419, 420, 421};

// clang-format off
constexpr Row rows[] = {
  // name                                      kind          key  label widget                    flag   dflt unread entries
  {L"Import construction and references",     Kind::Bool,   559, 558, Widget::CheckBox,          true,  0, 0, nullptr, 0},
  {L"Import Hidden Components and Surfaces",  Kind::Bool,   247, 245, Widget::CheckBox,          true,  0, 0, nullptr, 0},
  {L"Set PMI Color",                          Kind::Bool,   322, 321, Widget::CheckBox,          true,  0, 0, nullptr, 0},
  {L"Pmi Color",                              Kind::Colour, 323, 0,   Widget::ColourButtonGroup, true,  0, 0, nullptr, 0},
  {L"Read Solids",                            Kind::Bool,   395, 403, Widget::CheckBox,          false, 1, 0, nullptr, 0},
  {L"Import Surfaces",                        Kind::Bool,   396, 404, Widget::CheckBox,          false, 1, 0, nullptr, 0},
  {L"Read Wireframes",                        Kind::Bool,   397, 405, Widget::CheckBox,          false, 1, 0, nullptr, 0},
  {L"Read Attributes",                        Kind::Bool,   398, 406, Widget::CheckBox,          false, 1, 0, nullptr, 0},
  {L"Set Tessellation Level",                 Kind::Int,    399, 407, Widget::ComboBox,          true,  2, 0,
   tessellationLevelEntries, std::size(tessellationLevelEntries)},
  {L"Set Reading Mode",                       Kind::Int,    400, 408, Widget::ComboBox,          false, 2, 2,
   readingModeEntries, std::size(readingModeEntries)},
  {L"Read PMI",                               Kind::Bool,   401, 409, Widget::CheckBox,          false, 1, 0, nullptr, 0},
  {L"Import Curves",                          Kind::Bool,   597, 596, Widget::CheckBox,          true,  0, 0, nullptr, 0},
};
// clang-format on
static_assert(std::size(rows) == optionCount);

// Saving tries the names of one kind in this order.
constexpr Option recognitionOrder[] = {
    Option::ReadSolids,          Option::ImportSurfaces,
    Option::ReadWireframes,      Option::ReadAttributes,
    Option::ImportHiddenComponentsAndSurfaces, Option::ReadPmi,
    Option::SetPmiColor,         Option::ImportConstructionAndReferences,
    Option::ImportCurves,        Option::SetTessellationLevel,
    Option::SetReadingMode,      Option::PmiColor,
};
static_assert(std::size(recognitionOrder) == optionCount);

}  // namespace

const Row& row(Option option) { return rows[static_cast<std::size_t>(option)]; }

const Row* recognise(Kind kind, const wchar_t* name) {
  for (Option option : recognitionOrder) {
    const Row& candidate = row(option);
    if (candidate.kind == kind && std::wcscmp(candidate.name, name) == 0) return &candidate;
  }
  return nullptr;
}

}  // namespace options
