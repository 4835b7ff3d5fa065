#include <orvsg/Value.h>

#include <orvsg/Schema.h>

namespace orvsg {

IValue::~IValue() = default;
Schema::~Schema() = default;

template <typename T, std::int32_t code>
Value<T, code>::Value(const wchar_t* name, T value) : name_(name ? name : L""), value_(std::move(value)) {}

template <typename T, std::int32_t code>
Value<T, code>::~Value() = default;

template <typename T, std::int32_t code>
std::int32_t Value<T, code>::getType() {
  return code;
}

template <typename T, std::int32_t code>
const wchar_t* Value<T, code>::getName() {
  return name_.c_str();
}

template <typename T, std::int32_t code>
const T& Value<T, code>::get() const {
  return value_;
}

template <typename T, std::int32_t code>
void Value<T, code>::set(T value) {
  value_ = std::move(value);
}

template class Value<bool, 0>;
template class Value<int, 3>;
template class Value<std::shared_ptr<wchar_t>, 5>;
template class Value<unsigned long, 8>;

}  // namespace orvsg
