#pragma once

#include <orv/Export.h>
#include <orvsg/IValue.h>

#include <cstdint>
#include <memory>
#include <string>

namespace orvsg {

// A value of type T whose type code is code. Only the instantiations below
// exist; they live in the data library, so that a dynamic cast from IValue
// finds the same class in every module.
template <typename T, std::int32_t code>
class Value : public IValue {
 public:
  // Copies the name; a null name is taken as an empty one.
  Value(const wchar_t* name, T value);
  ~Value() override;

  std::int32_t getType() override;
  const wchar_t* getName() override;

  const T& get() const;
  void set(T value);

 private:
  std::wstring name_;
  T value_;
};

extern template class ORV_DATA_API Value<bool, 0>;
extern template class ORV_DATA_API Value<int, 3>;
extern template class ORV_DATA_API Value<std::shared_ptr<wchar_t>, 5>;
extern template class ORV_DATA_API Value<unsigned long, 8>;

using BoolValue = Value<bool, 0>;
using IntValue = Value<int, 3>;
using StringValue = Value<std::shared_ptr<wchar_t>, 5>;
using ColorValue = Value<unsigned long, 8>;

}  // namespace orvsg
