// The twelve SolidWorks import options as data: everything the option adder,
// the two build orders and saving need to know about an option stands once,
// in its row.
#pragma once

#include <cstddef>
#include <cstdint>

namespace options {

// The host GUI string under which every option is stored.
constexpr int settingsSectionId = 246;

// Each kind's number is the type code of its host value class, so saving can
// match a value's getType against it directly.
enum class Kind : std::int32_t {
  Bool = 0,    // orvsg::Value<bool,0>; stored as 1 or 0, read as nonzero
  Int = 3,     // orvsg::Value<int,3>; stored unchanged
  Colour = 8,  // orvsg::Value<unsigned long,8>; its 32 bits stored unchanged
};

enum class Widget { CheckBox, ComboBox, ColourButtonGroup };

struct Row {
  const wchar_t* name;  // also the text of the key string
  Kind kind;
  int keyId;
  int labelId;  // 0: the widget is labelled with the key text
  Widget widget;
  bool flag;  // the widget constructor's second argument
  std::int32_t defaultValue;
  // What the read variable holds before the store is asked: a store that
  // answers true without writing it leaves exactly this.
  std::int32_t unreadValue;
  const int* entryIds;  // combo-box entries, in the order they are added
  std::size_t entryCount;
};

// The rows, named in the order of the default option set.
enum class Option {
  ImportConstructionAndReferences,
  ImportHiddenComponentsAndSurfaces,
  SetPmiColor,
  PmiColor,
  ReadSolids,
  ImportSurfaces,
  ReadWireframes,
  ReadAttributes,
  SetTessellationLevel,
  SetReadingMode,
  ReadPmi,
  ImportCurves,
};
constexpr std::size_t optionCount = 12;

const Row& row(Option option);

// The row whose kind is kind and whose name equals name in full, character by
// character; names are tried in the order in which saving recognises them.
// Null when there is none.
const Row* recognise(Kind kind, const wchar_t* name);

}  // namespace options
