#pragma once
// std::bit_cast, which not every C++20 library has yet (the browser build's
// does not): the same bits read as another type of the same size.

namespace diaspring {

template <class To, class From>
constexpr To bitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From));
  return __builtin_bit_cast(To, from);
}

}  // namespace diaspring
