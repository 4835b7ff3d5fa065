// What the geometry types promise about their objects: the components and
// nothing else, so that clients may pass them by address and by value.
#pragma once

#include <cstddef>
#include <type_traits>

namespace HPS::detail {

// True when T is exactly count components of type F, without padding, and is
// copy-constructed and destroyed trivially, so that it is passed and returned
// by value as a C struct of those components would be.
// Assignment is deliberately not trivial: it is one of the module's exported
// operations, which clients call rather than inline.
template <typename T, typename F>
constexpr bool isPlainValue(std::size_t count) {
  return sizeof(T) == count * sizeof(F) && alignof(T) == alignof(F) && std::is_standard_layout_v<T> &&
         std::is_trivially_copy_constructible_v<T> && std::is_trivially_destructible_v<T>;
}

}  // namespace HPS::detail
