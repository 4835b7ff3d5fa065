#pragma once

#include <orv/Export.h>

#include <cstdint>

namespace orvsg {

// A named value of one of the host's value types; the type code tells which
// Value<T, code> it is.
class ORV_DATA_API IValue {
 public:
  virtual ~IValue();
  virtual std::int32_t getType() = 0;
  virtual const wchar_t* getName() = 0;

 protected:
  IValue() = default;
  IValue(const IValue&) = default;
  IValue& operator=(const IValue&) = default;
};

}  // namespace orvsg
